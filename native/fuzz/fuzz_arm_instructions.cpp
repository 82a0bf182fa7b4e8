// Any instruction words, in ARM or Thumb state, from any registers and
// flags: the interpreter runs them (a bounded number of steps) and either
// returns, stops with a report, or runs out of steps; it never crashes.
#include "emulator/call.h"
#include <stdint.h>
#include <string.h>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // The first 68 bytes: r0-r15 and a word of flags (bit 0: Thumb);
    // the rest: the code, at 0x8000.
    uint32_t head[17] = {};
    memcpy(head, data, size < sizeof head ? size : sizeof head);
    size_t code_size = size > sizeof head ? size - sizeof head : 0;
    Cpu cpu;
    std::vector<uint8_t> code(data + (size - code_size), data + size);
    code.resize(((code.size() + 4) & ~3u), 0);
    cpu.memory.Map(0x8000, (uint32_t)code.size(), code.data(), true);
    std::vector<uint8_t> scratch(0x1000, 0);
    cpu.memory.Map(0x20000, (uint32_t)scratch.size(), scratch.data(), true);
    uint32_t top = SetUpStack(cpu, 0x1000);
    cpu.traps[kReturnTrap] = Trap{kStopReturned, "return", nullptr};
    uint32_t host_trap = NewTrapAddress(cpu);
    cpu.traps[host_trap] = Trap{kStopNone, "host", [](Cpu &c) { c.r[0] ^= c.r[1]; }};
    // Registers point at the code, the scratch page, the stack and the traps.
    static const uint32_t places[4] = {0x8000, 0x20000, 0, kReturnTrap};
    for (int k = 0; k < 15; k++)
        cpu.r[k] = (head[k] & 0x80000000u) ? head[k] : (k % 4 == 2 ? top - (head[k] & 0xFFC) : places[k % 4] + (head[k] & 0xFFF));
    cpu.r[13] = top - 64;
    cpu.r[14] = (head[14] & 1) ? host_trap : kReturnTrap;
    cpu.SetFlags(head[16]);
    cpu.thumb = head[16] & 1;
    cpu.pc = 0x8000;
    cpu.limit = 20000;
    StopKind kind = cpu.Run();
    if (kind == kStopNone || cpu.count > 20000)
        __builtin_trap();
    if (StopIsFault(kind) && FormatStopReport(cpu.stop).empty())
        __builtin_trap();
    return 0;
}
