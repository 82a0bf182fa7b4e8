// cab_setup_file: lays out the files of Inkleaf's Windows CE installation
// cabinet in a folder, for a cabinet packer to take as they are. What the
// package installs, and for which device, is inkleaf_package.h; this file
// writes it in the installer's format.
//
// Usage: cab_setup_file FOLDER ITEM_DLL EDITOR_EXE
//
// It writes into FOLDER
//   - the installer's instruction file, 0Inkleaf.000: the application name
//     and provider, the processor and OS versions it is for, the install
//     folder %CE1%\inkleaf_item, the two files to copy there and the Today
//     item key with the values the Today screen reads to list and load the
//     item (nothing of the item's own settings: the item writes those at its
//     first start);
//   - ITEM_DLL and EDITOR_EXE under their cabinet names, INKLEA~1.001 and
//     INKPAD~1.002 (the number is the file's id in the instruction file),
//     with the modification times of the originals;
// and prints the three names, one a line, in the order the device's
// installer wants them in the cabinet: the .000 file first, then the others
// by descending number.
//
// Instruction file layout (all integers little-endian): a 100-byte header
// that gives every section's offset and entry count, then the application
// name, the provider, the strings (id, length, NUL-terminated text), the
// folders (id, length, string ids ending in 0), the files (id, folder id,
// id again, flags, length, NUL-terminated name), the registry hives (id,
// root, 0, length, string ids ending in 0) and the registry values (id,
// hive id, substitution flag, type, length, NUL-terminated value name and
// the data). Texts are ASCII; the installer stores them as Unicode.
//
// Errors (unreadable input, unwritable output) go to stderr with exit code
// 1; bad usage exits with 2.

#include "inkleaf_package.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Copy flags of an installed file: always replace what is there, whatever
// its date, and do not let the user skip the file.
const uint32_t kCopyIgnoreDate = 0x40000000, kCopyNoSkip = 0x00000002;

const size_t kHeaderSize = 100;

class Bytes {
public:
    void u16(uint32_t v)
    {
        if (v > 0xFFFF) throw std::runtime_error("a 16-bit field does not hold " + std::to_string(v));
        data_.push_back((uint8_t)v);
        data_.push_back((uint8_t)(v >> 8));
    }
    void u32(uint32_t v)
    {
        for (int i = 0; i < 4; i++) data_.push_back((uint8_t)(v >> (8 * i)));
    }
    void text(const std::string &s)  // with its NUL
    {
        data_.insert(data_.end(), s.begin(), s.end());
        data_.push_back(0);
    }
    void append(const Bytes &b) { data_.insert(data_.end(), b.data_.begin(), b.data_.end()); }
    void put32(size_t at, uint32_t v)
    {
        for (int i = 0; i < 4; i++) data_[at + i] = (uint8_t)(v >> (8 * i));
    }
    void put16(size_t at, uint32_t v)
    {
        if (v > 0xFFFF) throw std::runtime_error("a 16-bit field does not hold " + std::to_string(v));
        data_[at] = (uint8_t)v;
        data_[at + 1] = (uint8_t)(v >> 8);
    }
    size_t size() const { return data_.size(); }
    const std::vector<uint8_t> &data() const { return data_; }

private:
    std::vector<uint8_t> data_;
};

// One section of the instruction file: its bytes and how many entries.
struct Section {
    Bytes bytes;
    uint32_t count = 0;
};

std::vector<std::string> SplitPath(const std::string &path)
{
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        size_t end = path.find('\\', start);
        parts.push_back(path.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) return parts;
        start = end + 1;
    }
}

// The STRINGS section, each text once; paths refer to their parts by id.
class StringTable {
public:
    uint32_t Id(const std::string &s)
    {
        for (size_t i = 0; i < texts_.size(); i++)
            if (texts_[i] == s) return (uint32_t)(i + 1);
        texts_.push_back(s);
        return (uint32_t)texts_.size();
    }
    // A path as its parts' string ids, ending with 0.
    Bytes PathSpec(const std::string &path)
    {
        Bytes ids;
        std::vector<std::string> parts = SplitPath(path);
        for (size_t i = 0; i < parts.size(); i++) ids.u16(Id(parts[i]));
        ids.u16(0);
        return ids;
    }
    Section Write() const
    {
        Section s;
        for (size_t i = 0; i < texts_.size(); i++) {
            s.bytes.u16((uint32_t)(i + 1));
            s.bytes.u16((uint32_t)(texts_[i].size() + 1));
            s.bytes.text(texts_[i]);
        }
        s.count = (uint32_t)texts_.size();
        return s;
    }

private:
    std::vector<std::string> texts_;
};

// The cabinet's name of a file: the first eight letters of its name, or six
// and "~1" when it has more, then its three-digit number.
std::string CabinetName(const std::string &name, int number)
{
    std::string base;
    for (size_t i = 0; i < name.size() && name[i] != '.'; i++) base += name[i];
    if (base.size() > 8) {
        base = base.substr(0, 6);
        for (size_t i = 0; i < base.size(); i++) base[i] = (char)toupper((unsigned char)base[i]);
        base += "~1";
    } else {
        base = std::string(8 - base.size(), '0') + base;
    }
    char number3[8];
    snprintf(number3, sizeof number3, ".%03d", number);
    return base + number3;
}

std::vector<uint8_t> InstructionFile()
{
    const uint32_t kDirId = 1, kHiveId = 1;
    StringTable strings;

    Section dirs;
    Bytes dirSpec = strings.PathSpec(kInstallDir);
    dirs.bytes.u16(kDirId);
    dirs.bytes.u16((uint32_t)dirSpec.size());
    dirs.bytes.append(dirSpec);
    dirs.count = 1;

    Section files;
    for (size_t i = 0; i < sizeof kFiles / sizeof kFiles[0]; i++) {
        uint32_t id = (uint32_t)(i + 1);
        files.bytes.u16(id);
        files.bytes.u16(kDirId);
        files.bytes.u16(id);
        files.bytes.u32(kCopyIgnoreDate | kCopyNoSkip);
        files.bytes.u16((uint32_t)(strlen(kFiles[i].installName) + 1));
        files.bytes.text(kFiles[i].installName);
        files.count++;
    }

    Section hives;
    Bytes keySpec = strings.PathSpec(kItemKey);
    hives.bytes.u16(kHiveId);
    hives.bytes.u16(kRootLocalMachine);
    hives.bytes.u16(0);
    hives.bytes.u16((uint32_t)keySpec.size());
    hives.bytes.append(keySpec);
    hives.count = 1;

    Section keys;
    for (size_t i = 0; i < sizeof kItemValues / sizeof kItemValues[0]; i++) {
        const RegValue &v = kItemValues[i];
        Bytes data;
        data.text(v.name);
        bool substitute = false;
        if (v.type == kTypeDword) {
            data.u32(v.number);
        } else {
            // %CE1% is expanded by the installer to the device's folder.
            data.text(std::string(kInstallDir) + "\\" + v.installedFile);
            substitute = true;
        }
        keys.bytes.u16((uint32_t)(i + 1));
        keys.bytes.u16(kHiveId);
        keys.bytes.u16(substitute ? 1 : 0);
        keys.bytes.u32(v.type);
        keys.bytes.u16((uint32_t)data.size());
        keys.bytes.append(data);
        keys.count++;
    }

    Section links;  // none: the editor is started by the item only
    Section stringSection = strings.Write();

    Bytes out;
    out.u32(0x4543534D);  // "MSCE"
    out.u32(0);
    out.u32(0);           // the file's length, set below
    out.u32(0);
    out.u32(1);
    out.u32(kProcessorStrongArm);
    out.u32(kOsMinMajor);
    out.u32(kOsMinMinor);
    out.u32(kOsMaxMajor);
    out.u32(kOsMaxMinor);
    out.u32(kBuildMin);
    out.u32(kBuildMax);
    const Section *sections[] = {&stringSection, &dirs, &files, &hives, &keys, &links};
    const size_t kCount = sizeof sections / sizeof sections[0];
    for (size_t i = 0; i < kCount; i++) out.u16(sections[i]->count);
    const size_t sectionOffsets = out.size();
    for (size_t i = 0; i < kCount; i++) out.u32(0);
    const size_t stringOffsets = out.size();  // application name, provider, unsupported platforms
    for (int i = 0; i < 8; i++) out.u16(0);
    if (out.size() != kHeaderSize) throw std::logic_error("header size");

    out.put16(stringOffsets, (uint32_t)out.size());
    out.put16(stringOffsets + 2, sizeof kAppName);
    out.text(kAppName);
    out.put16(stringOffsets + 4, (uint32_t)out.size());
    out.put16(stringOffsets + 6, sizeof kProvider);
    out.text(kProvider);
    // No unsupported platforms: an empty list at the end of the strings.
    out.put16(stringOffsets + 8, (uint32_t)out.size());
    for (size_t i = 0; i < kCount; i++) {
        out.put32(sectionOffsets + 4 * i, (uint32_t)out.size());
        out.append(sections[i]->bytes);
    }
    out.put32(8, (uint32_t)out.size());
    return out.data();
}

bool WriteFile(const fs::path &path, const std::vector<uint8_t> &bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write((const char *)bytes.data(), (std::streamsize)bytes.size());
    out.close();
    if (!out) {
        std::cerr << "cab_setup_file: cannot write " << path.string() << "\n";
        return false;
    }
    return true;
}

bool ReadFile(const fs::path &path, std::vector<uint8_t> *bytes)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::cerr << "cab_setup_file: cannot read " << path.string() << "\n";
        return false;
    }
    bytes->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (in.bad()) {
        std::cerr << "cab_setup_file: cannot read " << path.string() << "\n";
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char **argv)
{
    if (argc != 4) {
        std::cerr << "usage: cab_setup_file FOLDER ITEM_DLL EDITOR_EXE\n";
        return 2;
    }
    fs::path folder = argv[1];
    std::vector<std::string> names;
    try {
        names.push_back(CabinetName(kAppName, 0));
        if (!WriteFile(folder / names[0], InstructionFile())) return 1;
        // The installer takes the files after the .000 by descending number.
        for (size_t i = sizeof kFiles / sizeof kFiles[0]; i-- > 0;) {
            const PackageFile &f = kFiles[i];
            fs::path source = argv[f.argument];
            std::string name = CabinetName(f.installName, (int)(i + 1));
            std::vector<uint8_t> bytes;
            if (!ReadFile(source, &bytes) || !WriteFile(folder / name, bytes)) return 1;
            fs::last_write_time(folder / name, fs::last_write_time(source));
            names.push_back(name);
        }
    } catch (const std::exception &e) {
        std::cerr << "cab_setup_file: " << e.what() << "\n";
        return 1;
    }
    for (size_t i = 0; i < names.size(); i++) std::cout << names[i] << "\n";
    return 0;
}
