// PE files for the loader: either any bytes (first byte even), or the
// tests' small DLL with patches (first byte odd: pairs of a 16-bit offset
// and a byte), so that most inputs get deep into the tables. A loaded file
// has its exports called; nothing may crash.
#include "emulator/call.h"
#include "emulator/pe_loader.h"
#include "tests/emulator/test_dll.h"
#include <stdint.h>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 1)
        return 0;
    std::vector<uint8_t> file;
    if (data[0] & 1) {
        file = TestDll();
        for (size_t k = 1; k + 3 <= size; k += 3)
            file[(data[k] | data[k + 1] << 8) % file.size()] = data[k + 2];
    } else {
        file.assign(data + 1, data + size);
    }
    Cpu cpu;
    LoadedImage image;
    std::string error;
    uint32_t base = (data[0] & 2) ? 0x30000000u : 0;
    if (LoadPeImage(cpu, file, ImportBinder(), image, error, base) != kPeLoaded) {
        if (error.empty())
            __builtin_trap();
        return 0;
    }
    if (image.base == 0 || image.size == 0)
        __builtin_trap();
    SetUpStack(cpu, 0x4000);
    for (const PeExport &e : image.exports) {
        cpu.limit = cpu.count + 5000;
        CallFunction(cpu, e.address, {1, 2, 3, 4, 5});
    }
    return 0;
}
