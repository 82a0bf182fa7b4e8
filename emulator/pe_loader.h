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

// The PE32 layout the loader reads: offsets inside each header, named once.
namespace pe {
enum : uint32_t {
    kMachineArm = 0x1C0, kMachineThumb = 0x1C2,   // Windows CE's ARM machines
    kPe32Magic = 0x10B,
    kNewHeaderOffset = 0x3C,    // in the MZ header: where "PE\0\0" is
    kSignatureSize = 4,
    // The file header, after the signature.
    kMachine = 0, kSectionCount = 2, kOptionalHeaderSize = 16, kFileHeaderSize = 20,
    // The optional header, after the file header.
    kMagic = 0, kEntryPoint = 16, kImageBase = 28, kImageSize = 56, kHeadersSize = 60,
    kDirectoryCount = 92, kDirectories = 96, kDirectorySize = 8,
    // A section header, in the table after the optional header.
    kSectionVirtualSize = 8, kSectionAddress = 12, kSectionRawSize = 16, kSectionRawOffset = 20,
    kSectionCharacteristics = 36, kSectionHeaderSize = 40,
    kSectionCode = 0x20, kSectionExecute = 0x20000000,    // IMAGE_SCN_CNT_CODE, IMAGE_SCN_MEM_EXECUTE
    // An import descriptor.
    kImportLookup = 0, kImportName = 12, kImportAddresses = 16, kImportDescriptorSize = 20,
    kImportByOrdinal = 0x80000000u,
    // The export directory.
    kExportOrdinalBase = 16, kExportFunctionCount = 20, kExportNameCount = 24, kExportFunctions = 28,
    kExportNames = 32, kExportOrdinals = 36, kExportDirectorySize = 40,
    // A base relocation block: its page and size, then 16-bit entries.
    kRelocationBlockHeader = 8,
};
// The data directories the loader uses, and the relocation types.
enum { kDirExport = 0, kDirImport = 1, kDirBaseReloc = 5, kMaxDirectories = 16 };
enum { kRelAbsolute = 0, kRelHigh = 1, kRelLow = 2, kRelHighLow = 3, kRelHighAdj = 4 };
}  // namespace pe

// A guest address for DLL's export NAME (or, when NAME is empty, ORDINAL);
// 0 when the caller binds nothing there.
typedef std::function<uint32_t(const std::string &dll, const std::string &name, uint32_t ordinal)> ImportBinder;

struct PeExport {
    uint32_t ordinal;
    std::string name;       // empty for an export by ordinal only
    uint32_t address;       // guest address (bit 0 set for a Thumb function)
};

// A section as the image's section table gives it.
struct PeSection {
    uint32_t address;           // relative to the image's base
    uint32_t size;              // its virtual size
    uint32_t characteristics;
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
    std::vector<PeSection> sections;
};

// Why a file was or was not loaded.
enum PeLoadResult {
    kPeLoaded,
    kPeNotPe,       // no MZ header, PE signature or PE32 optional header
    kPeNotArm,      // a PE file for another machine
    kPeMalformed,   // headers, sections, relocations, imports or exports that do not fit
    kPeNoRoom,      // no free range of guest addresses takes the image
};

// Loads the file's bytes at its image base, or at BASE when that is not 0
// (relocating it); when it cannot, returns why, and ERROR says it in words
// for a report.
PeLoadResult LoadPeImage(Cpu &cpu, const std::vector<uint8_t> &file, const ImportBinder &binder,
                         LoadedImage &image, std::string &error, uint32_t base = 0);
// The export by "#ORDINAL" or by name; false when there is none.
bool FindExport(const LoadedImage &image, const std::string &which, uint32_t &address);
