// Windows CE ARM PE files (pei-arm-wince-little, machine 0x1C0 or 0x1C2):
// mapped into guest memory at their image base where it is free, otherwise
// elsewhere and relocated; imports bound through the caller's lookup, an
// import nobody binds bound to a stop that names it.
#pragma once
#include "emulator/cpu.h"
#include <stdint.h>
#include <functional>
#include <string>
#include <vector>

// A guest address for DLL's export NAME (or, when NAME is empty, ORDINAL);
// 0 when the caller binds nothing there.
typedef std::function<uint32_t(const std::string &dll, const std::string &name, uint32_t ordinal)> ImportBinder;

struct PeExport {
    uint32_t ordinal;
    std::string name;       // empty for an export by ordinal only
    uint32_t address;       // guest address (bit 0 set for a Thumb function)
};

struct LoadedImage {
    uint32_t base = 0;          // where it was mapped
    uint32_t preferred_base = 0;
    uint32_t size = 0;
    uint32_t entry = 0;         // 0 when there is none
    uint16_t machine = 0;
    uint32_t relocations = 0;   // relocations applied (0 when at the preferred base)
    uint32_t imports = 0, unbound_imports = 0;
    std::vector<PeExport> exports;
};

// Loads the file's bytes at its image base, or at BASE when that is not 0
// (relocating it); on failure returns false with ERROR saying why.
bool LoadPeImage(Cpu &cpu, const std::vector<uint8_t> &file, const ImportBinder &binder,
                 LoadedImage &image, std::string &error, uint32_t base = 0);
// The export by "#ORDINAL" or by name; false when there is none.
bool FindExport(const LoadedImage &image, const std::string &which, uint32_t &address);
