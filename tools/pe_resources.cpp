// pe_resources: lists the string tables or the icon groups of a PE file
// (a Windows or Windows CE program or DLL, for x86, x64 or ARM), read from
// the file itself without Win32.
//
// Usage: pe_resources FILE strings
//        pe_resources FILE icons
//
// Output, one line each, in the order of the resource tree:
//   strings  every string of every RT_STRING block (empty slots left out):
//              ID LENGTH TERMINATED TEXT
//            ID is the string's id; LENGTH the length word of the entry, in
//            UTF-16 units; TERMINATED "yes" when the last of those units is
//            0, else "no"; TEXT the string up to its first NUL, in UTF-8,
//            with a backslash written as \\ and other control characters as
//            \xHH.
//   icons    every RT_GROUP_ICON:
//              GROUP WxH@BPP WxH@BPP ...
//            GROUP is the group's id (or its name); one WxH@BPP per image of
//            the group, from its directory entries (a width or height byte
//            of 0 means 256).
// A file with more than one language of a resource lists each.
//
// The file is checked as it is read: the headers, every section's raw data
// and the symbol table must lie inside the file, and every directory, entry,
// name and data block of the resource tree inside the resource section.
// A file that fails a check is refused with a message on stderr and exit
// code 1; so is a file that cannot be read. Bad usage exits with 2.

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::uint32_t kStringType = 6;      // RT_STRING
const std::uint32_t kGroupIconType = 14;  // RT_GROUP_ICON
// More entries than this in the whole tree means a tree that points back
// into itself; no real program comes near it.
const std::size_t kMostEntries = 100000;

struct Refused {
    std::string message;
};

class Bytes {
public:
    explicit Bytes(std::vector<std::uint8_t> data) : data_(std::move(data)) {}
    std::size_t size() const { return data_.size(); }
    bool Has(std::uint64_t offset, std::uint64_t count) const {
        return offset <= data_.size() && count <= data_.size() - offset;
    }
    std::uint32_t U8(std::uint64_t at, const char* what) const { return Get(at, 1, what); }
    std::uint32_t U16(std::uint64_t at, const char* what) const { return Get(at, 2, what); }
    std::uint32_t U32(std::uint64_t at, const char* what) const { return Get(at, 4, what); }

private:
    std::uint32_t Get(std::uint64_t at, unsigned count, const char* what) const {
        if (!Has(at, count)) throw Refused{std::string(what) + " lies outside the file"};
        std::uint32_t v = 0;
        for (unsigned i = count; i-- > 0;) v = v << 8 | data_[static_cast<std::size_t>(at + i)];
        return v;
    }
    std::vector<std::uint8_t> data_;
};

struct Section {
    std::string name;
    std::uint32_t virtualAddress;
    std::uint32_t virtualSize;
    std::uint32_t rawSize;
    std::uint32_t rawOffset;
};

// Where the resource tree is: its file offset and how many bytes of its
// section follow it there.
struct ResourceArea {
    std::uint64_t offset = 0;
    std::uint64_t size = 0;
    std::uint32_t rva = 0;
};

struct Image {
    std::vector<Section> sections;
    ResourceArea resources;  // size 0: no resources
};

Image ReadHeaders(const Bytes& file) {
    if (file.U16(0, "the DOS header") != 0x5A4D) throw Refused{"no MZ signature: not a PE file"};
    const std::uint32_t pe = file.U32(0x3C, "the PE header offset");
    if (file.U32(pe, "the PE signature") != 0x00004550) throw Refused{"no PE signature: not a PE file"};
    const std::uint64_t coff = pe + 4ull;
    const std::uint32_t sectionCount = file.U16(coff + 2, "the COFF header");
    const std::uint32_t symbolTable = file.U32(coff + 8, "the COFF header");
    const std::uint32_t symbolCount = file.U32(coff + 12, "the COFF header");
    const std::uint32_t optionalSize = file.U16(coff + 16, "the COFF header");
    const std::uint64_t optional = coff + 20;
    if (!file.Has(optional, optionalSize)) throw Refused{"the optional header lies outside the file"};

    std::uint64_t directories = 0;
    switch (file.U16(optional, "the optional header")) {
    case 0x10B: directories = 96; break;   // PE32
    case 0x20B: directories = 112; break;  // PE32+
    default: throw Refused{"unknown optional header magic"};
    }
    if (optionalSize < directories) throw Refused{"the optional header is too short for its data directories"};
    const std::uint32_t directoryCount = file.U32(optional + directories - 4, "the optional header");
    if (directoryCount > (optionalSize - directories) / 8) {
        throw Refused{"the data directories run past the optional header"};
    }
    const std::uint32_t sizeOfHeaders = file.U32(optional + 60, "the optional header");
    if (sizeOfHeaders > file.size()) throw Refused{"the headers run past the end of the file"};

    Image image;
    const std::uint64_t table = optional + optionalSize;
    if (!file.Has(table, 40ull * sectionCount)) throw Refused{"the section table lies outside the file"};
    for (std::uint32_t i = 0; i < sectionCount; ++i) {
        const std::uint64_t at = table + 40ull * i;
        Section s;
        for (int c = 0; c < 8; ++c) {
            const char ch = static_cast<char>(file.U8(at + c, "a section name"));
            if (ch == 0) break;
            s.name += (ch >= 0x20 && ch < 0x7F) ? ch : '?';
        }
        s.virtualSize = file.U32(at + 8, "a section header");
        s.virtualAddress = file.U32(at + 12, "a section header");
        s.rawSize = file.U32(at + 16, "a section header");
        s.rawOffset = file.U32(at + 20, "a section header");
        if (s.rawSize != 0 && !file.Has(s.rawOffset, s.rawSize)) {
            throw Refused{"section " + s.name + ": its raw data runs past the end of the file"};
        }
        image.sections.push_back(s);
    }
    if (symbolTable != 0) {
        const std::uint64_t strings = symbolTable + 18ull * symbolCount;
        if (!file.Has(symbolTable, 18ull * symbolCount + 4) ||
            !file.Has(strings, file.U32(strings, "the symbol string table"))) {
            throw Refused{"the symbol table runs past the end of the file"};
        }
    }

    if (directoryCount <= 2) return image;
    const std::uint32_t rva = file.U32(optional + directories + 2 * 8, "the resource directory entry");
    const std::uint32_t size = file.U32(optional + directories + 2 * 8 + 4, "the resource directory entry");
    if (rva == 0 && size == 0) return image;
    for (const Section& s : image.sections) {
        const std::uint32_t span = s.virtualSize != 0 ? s.virtualSize : s.rawSize;
        if (rva < s.virtualAddress || rva - s.virtualAddress >= span) continue;
        const std::uint32_t into = rva - s.virtualAddress;
        if (into >= s.rawSize) throw Refused{"the resource directory lies outside the raw data of " + s.name};
        image.resources.offset = static_cast<std::uint64_t>(s.rawOffset) + into;
        image.resources.size = s.rawSize - into;
        image.resources.rva = rva;
        return image;
    }
    throw Refused{"the resource directory is in no section"};
}

// A leaf of the resource tree: type, name and language, and the data.
struct Leaf {
    std::uint32_t type;
    bool named;
    std::uint32_t id;         // when not named
    std::string name;         // when named
    std::uint64_t offset;     // of the data in the file
    std::uint32_t size;
};

std::string Utf8(const std::vector<std::uint16_t>& units) {
    std::string out;
    for (std::size_t i = 0; i < units.size(); ++i) {
        std::uint32_t c = units[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 && units[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
        } else if (c >= 0xD800 && c < 0xE000) {
            c = 0xFFFD;
        }
        if (c == '\\') {
            out += "\\\\";
        } else if (c < 0x20 || c == 0x7F) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", static_cast<unsigned>(c));
            out += buf;
        } else if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | c >> 6);
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | c >> 12);
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | c >> 18);
            out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
            out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

class ResourceTree {
public:
    ResourceTree(const Bytes& file, const Image& image) : file_(file), image_(image) {}

    // Every leaf of the given type.
    std::vector<Leaf> Leaves(std::uint32_t wanted) {
        std::vector<Leaf> leaves;
        if (image_.resources.size == 0) return leaves;
        for (const Entry& type : Entries(0, "the type directory")) {
            if (type.named || type.id != wanted) continue;
            if (!type.isDirectory) throw Refused{"a resource type entry that is not a directory"};
            for (const Entry& name : Entries(type.target, "a name directory")) {
                if (!name.isDirectory) throw Refused{"a resource name entry that is not a directory"};
                for (const Entry& language : Entries(name.target, "a language directory")) {
                    if (language.isDirectory) throw Refused{"a resource language entry that is a directory"};
                    leaves.push_back(Data(wanted, name, language.target));
                }
            }
        }
        return leaves;
    }

private:
    struct Entry {
        bool named;
        std::uint32_t id;
        std::string name;
        bool isDirectory;
        std::uint32_t target;  // offset in the resource area
    };

    const std::uint64_t& Size() const { return image_.resources.size; }

    // Reads a value at an offset of the resource area, which must lie in it.
    std::uint32_t At(std::uint64_t offset, unsigned count, const char* what) const {
        if (offset > Size() || count > Size() - offset) {
            throw Refused{std::string(what) + " lies outside the resource section"};
        }
        const std::uint64_t at = image_.resources.offset + offset;
        return count == 2 ? file_.U16(at, what) : file_.U32(at, what);
    }

    std::vector<Entry> Entries(std::uint64_t directory, const char* what) {
        const std::uint32_t named = At(directory + 12, 2, what);
        const std::uint32_t numbered = At(directory + 14, 2, what);
        const std::uint64_t count = static_cast<std::uint64_t>(named) + numbered;
        entriesSeen_ += count;
        if (entriesSeen_ > kMostEntries) throw Refused{"the resource tree has too many entries"};
        std::vector<Entry> entries;
        for (std::uint64_t i = 0; i < count; ++i) {
            const std::uint64_t at = directory + 16 + 8 * i;
            const std::uint32_t nameField = At(at, 4, "a resource directory entry");
            const std::uint32_t dataField = At(at + 4, 4, "a resource directory entry");
            Entry e;
            e.named = (nameField & 0x80000000u) != 0;
            e.id = e.named ? 0 : nameField & 0xFFFF;
            if (e.named) e.name = Name(nameField & 0x7FFFFFFFu);
            e.isDirectory = (dataField & 0x80000000u) != 0;
            e.target = dataField & 0x7FFFFFFFu;
            entries.push_back(e);
        }
        return entries;
    }

    std::string Name(std::uint64_t offset) const {
        const std::uint32_t length = At(offset, 2, "a resource name");
        std::vector<std::uint16_t> units;
        for (std::uint32_t i = 0; i < length; ++i) {
            units.push_back(static_cast<std::uint16_t>(At(offset + 2 + 2ull * i, 2, "a resource name")));
        }
        return Utf8(units);
    }

    Leaf Data(std::uint32_t type, const Entry& name, std::uint64_t entry) const {
        const std::uint32_t rva = At(entry, 4, "a resource data entry");
        const std::uint32_t size = At(entry + 4, 4, "a resource data entry");
        // The data lies in the resource section, after the data entry's RVA.
        const ResourceArea& area = image_.resources;
        if (rva < area.rva || rva - area.rva > area.size || size > area.size - (rva - area.rva)) {
            throw Refused{"resource data lies outside the resource section"};
        }
        Leaf leaf;
        leaf.type = type;
        leaf.named = name.named;
        leaf.id = name.id;
        leaf.name = name.name;
        leaf.offset = area.offset + (rva - area.rva);
        leaf.size = size;
        return leaf;
    }

    const Bytes& file_;
    const Image& image_;
    std::uint64_t entriesSeen_ = 0;
};

std::string LeafName(const Leaf& leaf) { return leaf.named ? leaf.name : std::to_string(leaf.id); }

void ListStrings(const Bytes& file, const std::vector<Leaf>& blocks, std::ostream& out) {
    for (const Leaf& block : blocks) {
        if (block.named || block.id == 0 || block.id > 4096) {
            throw Refused{"string block " + LeafName(block) + ": a string block is numbered 1 to 4096"};
        }
        std::uint64_t at = 0;
        for (std::uint32_t slot = 0; slot < 16; ++slot) {
            if (at + 2 > block.size) throw Refused{"string block " + LeafName(block) + " is cut short"};
            const std::uint32_t length = file.U16(block.offset + at, "a string");
            at += 2;
            if (at + 2ull * length > block.size) {
                throw Refused{"string block " + LeafName(block) + ": a string runs past the block"};
            }
            std::vector<std::uint16_t> units;
            for (std::uint32_t i = 0; i < length; ++i) {
                units.push_back(static_cast<std::uint16_t>(file.U16(block.offset + at + 2ull * i, "a string")));
            }
            at += 2ull * length;
            if (length == 0) continue;
            const bool terminated = units.back() == 0;
            std::vector<std::uint16_t> text;
            for (std::uint16_t u : units) {
                if (u == 0) break;
                text.push_back(u);
            }
            out << (block.id - 1) * 16 + slot << ' ' << length << ' ' << (terminated ? "yes" : "no") << ' '
                      << Utf8(text) << '\n';
        }
    }
}

void ListIcons(const Bytes& file, const std::vector<Leaf>& groups, std::ostream& out) {
    for (const Leaf& group : groups) {
        const std::string name = LeafName(group);
        if (group.size < 6) throw Refused{"icon group " + name + " is cut short"};
        if (file.U16(group.offset + 2, "an icon group") != 1) throw Refused{"icon group " + name + " is not of icons"};
        const std::uint32_t count = file.U16(group.offset + 4, "an icon group");
        if (6ull + 14ull * count > group.size) throw Refused{"icon group " + name + " has fewer entries than it counts"};
        out << name;
        for (std::uint32_t i = 0; i < count; ++i) {
            const std::uint64_t entry = group.offset + 6 + 14ull * i;
            std::uint32_t width = file.U8(entry, "an icon group entry");
            std::uint32_t height = file.U8(entry + 1, "an icon group entry");
            const std::uint32_t bits = file.U16(entry + 6, "an icon group entry");
            out << ' ' << (width == 0 ? 256 : width) << 'x' << (height == 0 ? 256 : height) << '@' << bits;
        }
        out << '\n';
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::string what = argc == 3 ? argv[2] : "";
    if (what != "strings" && what != "icons") {
        std::cerr << "usage: " << (argc > 0 ? argv[0] : "pe_resources") << " FILE strings|icons\n";
        return 2;
    }
    const std::string path = argv[1];
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::cerr << path << ": cannot open for reading\n";
        return 1;
    }
    std::vector<std::uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        std::cerr << path << ": read error\n";
        return 1;
    }
    // Nothing is printed for a file that is refused.
    std::ostringstream listing;
    try {
        const Bytes file(std::move(data));
        const Image image = ReadHeaders(file);
        ResourceTree tree(file, image);
        if (what == "strings") {
            ListStrings(file, tree.Leaves(kStringType), listing);
        } else {
            ListIcons(file, tree.Leaves(kGroupIconType), listing);
        }
    } catch (const Refused& e) {
        std::cerr << path << ": " << e.message << "\n";
        return 1;
    }
    std::cout << listing.str();
    return 0;
}
