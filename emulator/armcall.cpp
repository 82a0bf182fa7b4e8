// armcall: runs one ARM function of a file in the interpreter.
//   armcall FILE.bin LOADADDRESS OFFSET [ARG...]   a flat binary at LOADADDRESS,
//       the function at LOADADDRESS + OFFSET (odd: in Thumb state)
//   armcall [--base ADDRESS] [--map FILE.map] FILE.dll #ORDINAL|NAME [ARG...]
//       an export of a PE file, mapped at its image base or at ADDRESS,
//       its functions named by the GNU ld link map FILE.map (by default
//       the one beside it: FILE.dll's name with .map for .dll), if any
// Prints r0 (unsigned decimal) and the number of instructions executed.
// Exit status: 0 when the function returned, 2 when it stopped with a
// fault (reported on stderr with the chain of calls), 1 for a bad command
// line or file.
#include "emulator/backtrace.h"
#include "emulator/call.h"
#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>

static int Usage()
{
    fprintf(stderr, "usage: armcall FILE.bin LOADADDRESS OFFSET [ARG...]\n"
                    "       armcall [--base ADDRESS] [--map FILE.map] FILE.dll #ORDINAL|NAME [ARG...]\n"
                    "ARGs and addresses in decimal or 0x hex\n");
    return 1;
}

static bool ReadFile(const char *path, std::vector<uint8_t> &bytes)
{
    FILE *f = fopen(path, "rb");
    if (!f)
        return false;
    uint8_t chunk[65536];
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, f)) > 0)
        bytes.insert(bytes.end(), chunk, chunk + got);
    bool ok = !ferror(f);
    fclose(f);
    return ok;
}

// FILE.dll's link map where a build leaves it, FILE.map beside it; "" when
// there is none.
static std::string MapBeside(const std::string &path)
{
    size_t dot = path.find_last_of('.');
    std::string map = (dot == std::string::npos || path.find_first_of("/\\", dot) != std::string::npos
                       ? path : path.substr(0, dot)) + ".map";
    FILE *f = fopen(map.c_str(), "r");
    if (!f)
        return "";
    fclose(f);
    return map;
}

static bool ParseArgs(int argc, char **argv, int first, std::vector<uint32_t> &args)
{
    for (int k = first; k < argc; k++) {
        uint32_t value;
        if (!ParseWord(argv[k], value)) {
            fprintf(stderr, "armcall: argument \"%s\" is not a number (decimal or 0x hex)\n", argv[k]);
            return false;
        }
        args.push_back(value);
    }
    return true;
}

int main(int argc, char **argv)
{
    uint32_t requested_base = 0;
    std::string map;
    for (; argc > 2 && strncmp(argv[1], "--", 2) == 0; argc -= 2, argv += 2) {
        if (strcmp(argv[1], "--base") == 0 && ParseWord(argv[2], requested_base))
            continue;
        if (strcmp(argv[1], "--map") != 0)
            return Usage();
        map = argv[2];
    }
    if (argc < 3)
        return Usage();
    std::vector<uint8_t> file;
    if (!ReadFile(argv[1], file)) {
        fprintf(stderr, "armcall: cannot read %s\n", argv[1]);
        return 1;
    }
    Cpu cpu;
    SymbolTable symbols;
    uint32_t function = 0;
    std::vector<uint32_t> args;
    bool pe = file.size() >= 2 && file[0] == 'M' && file[1] == 'Z';
    if (pe) {
        LoadedImage image;
        std::string error;
        if (LoadPeImage(cpu, file, ImportBinder(), image, error, requested_base) != kPeLoaded) {
            fprintf(stderr, "armcall: %s refused: %s\n", argv[1], error.c_str());
            return 1;
        }
        fprintf(stderr, "armcall: %s mapped at 0x%08X (image base 0x%08X, %u relocations applied), "
                        "%u imports, %u unbound\n",
                argv[1], image.base, image.preferred_base, image.relocations, image.imports, image.unbound_imports);
        if (map.empty())
            map = MapBeside(argv[1]);
        if (!symbols.AddImage(image, argv[1], map))
            fprintf(stderr, "armcall: cannot read the link map %s\n", map.c_str());
        if (!FindExport(image, argv[2], function)) {
            fprintf(stderr, "armcall: %s exports no %s\n", argv[1], argv[2]);
            return 1;
        }
        if (!ParseArgs(argc, argv, 3, args))
            return 1;
    } else {
        uint32_t load, offset;
        if (argc < 4 || !ParseWord(argv[2], load) || !ParseWord(argv[3], offset))
            return Usage();
        if (file.empty() || file.size() > kGuestLimit || !cpu.memory.Map(load, (uint32_t)file.size(), file.data(), true) ||
            (uint64_t)load + file.size() > kGuestLimit) {
            fprintf(stderr, "armcall: %s (%lu bytes) cannot be mapped at 0x%08X\n", argv[1], (unsigned long)file.size(), load);
            return 1;
        }
        function = load + offset;
        symbols.AddModule(CodeRange{load, load + (uint32_t)file.size()}, argv[1]);
        if (!ParseArgs(argc, argv, 4, args))
            return 1;
    }
    uint32_t stack_top = SetUpStack(cpu, kDefaultStackSize);
    if (!stack_top) {
        fprintf(stderr, "armcall: no room for the stack\n");
        return 1;
    }
    StopKind kind = CallFunction(cpu, function, args);
    if (kind != kStopReturned) {
        fprintf(stderr, "armcall: %s", FaultReport(cpu, stack_top, symbols).c_str());
        fprintf(stderr, "armcall: %llu instructions executed\n", (unsigned long long)cpu.count);
        return 2;
    }
    printf("%u\n%llu\n", cpu.r[0], (unsigned long long)cpu.count);
    return 0;
}
