// The PE loader: headers, sections, base relocations, imports, exports.
// Every offset read from the file is checked against the file or the
// image before it is used; a file that fails a check is refused whole.
#include "emulator/pe_loader.h"
#include "emulator/call.h"
#include <stdio.h>
#include <string.h>

namespace {

using namespace pe;

enum : uint32_t {
    kMaxImageSize = 64u << 20,   // far beyond any device DLL; larger is absurd
    kMaxSections = 96,
    kMaxName = 512,
};

// Little-endian reads from a byte range that say whether they fit.
struct Bytes {
    const uint8_t *data;
    uint32_t size;
    bool Has(uint32_t offset, uint32_t length) const { return offset <= size && size - offset >= length; }
    uint16_t U16(uint32_t offset) const { return (uint16_t)(data[offset] | data[offset + 1] << 8); }
    uint32_t U32(uint32_t offset) const
    {
        return data[offset] | (uint32_t)data[offset + 1] << 8 | (uint32_t)data[offset + 2] << 16 | (uint32_t)data[offset + 3] << 24;
    }
    // A NUL-terminated string at OFFSET of at most kMaxName bytes.
    bool String(uint32_t offset, std::string &text) const
    {
        text.clear();
        for (uint32_t k = 0; k < kMaxName && Has(offset + k, 1) && offset + k >= offset; k++) {
            if (data[offset + k] == 0)
                return true;
            text += (char)data[offset + k];
        }
        return false;
    }
};

std::string Hex(uint32_t value)
{
    char text[16];
    snprintf(text, sizeof text, "0x%X", value);
    return text;
}

struct Directory { uint32_t rva = 0, size = 0; };

bool ApplyRelocations(Bytes image, uint8_t *host, Directory dir, uint32_t delta, LoadedImage &out, std::string &error)
{
    if (dir.rva == 0 || dir.size == 0)
        return true;
    if (!image.Has(dir.rva, dir.size)) { error = "base relocation table outside the image"; return false; }
    uint32_t at = dir.rva, end = dir.rva + dir.size;
    while (end - at >= kRelocationBlockHeader) {
        uint32_t page = image.U32(at), block = image.U32(at + 4);
        if (block < kRelocationBlockHeader || block > end - at || (block & 1)) {
            error = "base relocation block of " + Hex(block) + " bytes at " + Hex(at) + " is malformed";
            return false;
        }
        for (uint32_t k = at + kRelocationBlockHeader; k + 2 <= at + block; k += 2) {
            uint16_t entry = image.U16(k);
            unsigned type = entry >> 12;
            uint32_t target = page + (entry & 0xFFF);
            if (type == kRelAbsolute)
                continue;
            uint32_t width = type == kRelHighLow ? 4 : 2;
            if (target < page || !image.Has(target, width)) {
                error = "relocation at " + Hex(target) + " outside the image";
                return false;
            }
            uint8_t *p = host + target;
            if (type == kRelHighLow) {
                uint32_t value;
                memcpy(&value, p, 4);
                value += delta;
                memcpy(p, &value, 4);
            } else if (type == kRelHigh || type == kRelLow || type == kRelHighAdj) {
                uint16_t value;
                memcpy(&value, p, 2);
                if (type == kRelHigh) {
                    value = (uint16_t)(value + (delta >> 16));
                } else if (type == kRelLow) {
                    value = (uint16_t)(value + delta);
                } else {    // HIGHADJ: the next entry holds the low half
                    if (k + 4 > at + block) { error = "HIGHADJ relocation without its low half"; return false; }
                    k += 2;
                    uint32_t full = ((uint32_t)value << 16) + (uint32_t)(int32_t)(int16_t)image.U16(k) + delta + 0x8000u;
                    value = (uint16_t)(full >> 16);
                }
                memcpy(p, &value, 2);
            } else {
                error = "unsupported relocation type " + std::to_string(type) + " at " + Hex(target);
                return false;
            }
            if (delta)
                out.relocations++;
        }
        at += block;
    }
    return true;
}

bool BindImports(Cpu &cpu, Bytes image, uint8_t *host, Directory dir, const ImportBinder &binder,
                 LoadedImage &out, std::string &error)
{
    if (dir.rva == 0)
        return true;
    for (uint32_t desc = dir.rva;; desc += kImportDescriptorSize) {
        if (desc < dir.rva || !image.Has(desc, kImportDescriptorSize)) { error = "import descriptors run outside the image"; return false; }
        uint32_t lookup = image.U32(desc + kImportLookup), name_rva = image.U32(desc + kImportName),
                 iat = image.U32(desc + kImportAddresses);
        if (name_rva == 0 && iat == 0)
            return true;
        std::string dll;
        if (!image.String(name_rva, dll)) { error = "import DLL name at " + Hex(name_rva) + " has no terminator in the image"; return false; }
        if (lookup == 0)
            lookup = iat;
        for (uint32_t k = 0;; k++) {
            uint32_t slot = lookup + 4 * k, iat_slot = iat + 4 * k;
            if (slot < lookup || !image.Has(slot, 4) || iat_slot < iat || !image.Has(iat_slot, 4)) {
                error = "import table of " + dll + " runs outside the image";
                return false;
            }
            uint32_t entry = image.U32(slot);
            if (entry == 0)
                break;
            std::string name;
            uint32_t ordinal = 0;
            if (entry & kImportByOrdinal) {
                ordinal = entry & 0xFFFF;
            } else if (!image.Has(entry, 2) || !image.String(entry + 2, name)) {
                error = "import name at " + Hex(entry) + " of " + dll + " has no terminator in the image";
                return false;
            }
            uint32_t address = binder ? binder(dll, name, ordinal) : 0;
            if (address == 0) {
                address = NewTrapAddress(cpu);
                cpu.traps[address] = Trap{kStopUnboundImport, dll + (name.empty() ? "#" + std::to_string(ordinal) : "!" + name), nullptr};
                out.unbound_imports++;
            }
            memcpy(host + iat_slot, &address, 4);
            out.imports++;
        }
    }
}

bool ReadExports(Bytes image, Directory dir, LoadedImage &out, std::string &error)
{
    // An entry of size 0 is no export directory, whatever its rva: CeGCC's
    // linker leaves the import table's rva there in a program without exports.
    if (dir.rva == 0 || dir.size == 0)
        return true;
    if (!image.Has(dir.rva, kExportDirectorySize)) { error = "export directory outside the image"; return false; }
    uint32_t ordinal_base = image.U32(dir.rva + kExportOrdinalBase), functions = image.U32(dir.rva + kExportFunctionCount),
             names = image.U32(dir.rva + kExportNameCount);
    uint32_t function_table = image.U32(dir.rva + kExportFunctions), name_table = image.U32(dir.rva + kExportNames),
             ordinal_table = image.U32(dir.rva + kExportOrdinals);
    if (functions > 65536 || names > functions || !image.Has(function_table, 4 * functions) ||
        !image.Has(name_table, 4 * names) || !image.Has(ordinal_table, 2 * names)) {
        error = "export tables outside the image";
        return false;
    }
    std::vector<std::string> export_names(functions);
    for (uint32_t k = 0; k < names; k++) {
        uint16_t index = image.U16(ordinal_table + 2 * k);
        std::string name;
        if (index >= functions || !image.String(image.U32(name_table + 4 * k), name)) {
            error = "export name " + std::to_string(k) + " is malformed";
            return false;
        }
        export_names[index] = name;
    }
    for (uint32_t k = 0; k < functions; k++) {
        uint32_t rva = image.U32(function_table + 4 * k);
        if (rva == 0)
            continue;
        if (rva >= image.size) { error = "export " + std::to_string(ordinal_base + k) + " outside the image"; return false; }
        out.exports.push_back(PeExport{ordinal_base + k, export_names[k], out.base + rva});
    }
    return true;
}

}  // namespace

PeLoadResult LoadPeImage(Cpu &cpu, const std::vector<uint8_t> &file_bytes, const ImportBinder &binder,
                         LoadedImage &out, std::string &error, uint32_t requested_base)
{
    auto refuse = [&error](PeLoadResult why, const std::string &text) {
        error = text;
        return why;
    };
    out = LoadedImage();
    if (file_bytes.size() > kMaxImageSize * 2ull)
        return refuse(kPeMalformed, "file too large");
    Bytes file{file_bytes.data(), (uint32_t)file_bytes.size()};
    if (!file.Has(0, 64) || file.data[0] != 'M' || file.data[1] != 'Z')
        return refuse(kPeNotPe, "no MZ header");
    uint32_t pe = file.U32(kNewHeaderOffset);
    if (!file.Has(pe, kSignatureSize + kFileHeaderSize) || memcmp(file.data + pe, "PE\0\0", kSignatureSize) != 0)
        return refuse(kPeNotPe, "truncated headers: no PE signature");
    uint32_t coff = pe + kSignatureSize;
    out.machine = file.U16(coff + kMachine);
    uint32_t sections = file.U16(coff + kSectionCount), optional_size = file.U16(coff + kOptionalHeaderSize);
    if (out.machine != kMachineArm && out.machine != kMachineThumb)
        return refuse(kPeNotArm, "machine " + Hex(out.machine) + " is not Windows CE ARM (0x1C0 or 0x1C2)");
    uint32_t opt = coff + kFileHeaderSize;
    if (optional_size < kDirectories || !file.Has(opt, optional_size))
        return refuse(kPeMalformed, "truncated headers: optional header");
    if (file.U16(opt + kMagic) != kPe32Magic)
        return refuse(kPeNotPe, "optional header is not PE32");
    uint32_t entry = file.U32(opt + kEntryPoint), size = file.U32(opt + kImageSize), headers = file.U32(opt + kHeadersSize);
    out.preferred_base = file.U32(opt + kImageBase);
    if (size == 0 || size > kMaxImageSize)
        return refuse(kPeMalformed, "image size " + Hex(size) + " is absurd");
    if (headers > size || !file.Has(0, headers))
        return refuse(kPeMalformed, "header size " + Hex(headers) + " outside the file or image");
    if (entry >= size)
        return refuse(kPeMalformed, "entry point outside the image");
    if (sections > kMaxSections)
        return refuse(kPeMalformed, std::to_string(sections) + " sections is absurd");
    uint32_t table = opt + optional_size;
    if (!file.Has(table, kSectionHeaderSize * sections))
        return refuse(kPeMalformed, "truncated headers: section table");
    Directory dirs[kMaxDirectories];
    uint32_t count = file.U32(opt + kDirectoryCount);
    for (uint32_t k = 0; k < kMaxDirectories && k < count && kDirectories + kDirectorySize * (k + 1) <= optional_size; k++) {
        dirs[k].rva = file.U32(opt + kDirectories + kDirectorySize * k);
        dirs[k].size = file.U32(opt + kDirectories + kDirectorySize * k + 4);
    }
    for (uint32_t s = 0; s < sections; s++) {
        uint32_t h = table + kSectionHeaderSize * s, vsize = file.U32(h + kSectionVirtualSize), va = file.U32(h + kSectionAddress),
                 raw = file.U32(h + kSectionRawSize), at = file.U32(h + kSectionRawOffset);
        uint32_t copy = vsize && vsize < raw ? vsize : raw;
        std::string name((const char *)file.data + h, strnlen((const char *)file.data + h, 8));
        if (va < headers && (vsize || raw))
            return refuse(kPeMalformed, "section " + name + " overlaps the headers");
        if (va > size || size - va < (vsize > copy ? vsize : copy))
            return refuse(kPeMalformed, "section " + name + " outside the image");
        if (copy && !file.Has(at, copy))
            return refuse(kPeMalformed, "section " + name + " outside the file");
        out.sections.push_back(PeSection{va, vsize, file.U32(h + kSectionCharacteristics)});
    }

    uint32_t base = requested_base ? requested_base : out.preferred_base;
    if (base == 0 || (base & 0xFFFF) || (uint64_t)base + size > kGuestLimit || !cpu.memory.IsFree(base, size))
        base = cpu.memory.FindFree(0x10000000u, size, 0x10000u);
    uint8_t *host = base ? cpu.memory.MapOwned(base, size, true) : nullptr;
    if (!host)
        return refuse(kPeNoRoom, "no room for an image of " + Hex(size) + " bytes");
    out.base = base;
    out.size = size;
    memcpy(host, file.data, headers);
    for (uint32_t s = 0; s < sections; s++) {
        uint32_t h = table + kSectionHeaderSize * s, vsize = file.U32(h + kSectionVirtualSize), va = file.U32(h + kSectionAddress),
                 raw = file.U32(h + kSectionRawSize), at = file.U32(h + kSectionRawOffset);
        uint32_t copy = vsize && vsize < raw ? vsize : raw;
        if (copy)
            memcpy(host + va, file.data + at, copy);
    }
    Bytes image{host, size};
    if (!ApplyRelocations(image, host, dirs[kDirBaseReloc], base - out.preferred_base, out, error) ||
        !BindImports(cpu, image, host, dirs[kDirImport], binder, out, error) ||
        !ReadExports(image, dirs[kDirExport], out, error))
        return kPeMalformed;
    out.entry = entry ? base + entry : 0;
    cpu.ForgetCode();
    return kPeLoaded;
}

bool FindExport(const LoadedImage &image, const std::string &which, uint32_t &address)
{
    uint32_t ordinal = 0;
    bool by_ordinal = !which.empty() && which[0] == '#' && ParseWord(which.c_str() + 1, ordinal);
    for (const PeExport &e : image.exports) {
        if (by_ordinal ? e.ordinal == ordinal : (!e.name.empty() && e.name == which)) {
            address = e.address;
            return true;
        }
    }
    return false;
}
