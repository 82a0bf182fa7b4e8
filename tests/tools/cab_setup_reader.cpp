// cab_setup_reader: reads a Windows CE installer's instruction file (the
// .000 file of an installation cabinet) and prints what it asks of the
// device, one fact a line:
//
//   processor N
//   os MIN_MAJOR.MIN_MINOR MAX_MAJOR.MAX_MINOR
//   builds MIN MAX
//   app NAME
//   provider NAME
//   unsupported NAME            (one line per platform)
//   dir PATH
//   file ID PATH\NAME FLAGS     (FLAGS in hex)
//   reg ROOT\KEY<TAB>NAME<TAB>TYPE<TAB>subst|plain<TAB>DATA
//   link BASE\PATH -> file ID | dir PATH
//
// It walks every section from the offset the header gives, with the entry
// count the header gives, and refuses the file (exit 1, the reason on
// stderr) when anything disagrees with the file: a length field that runs
// past its section or the file, a text without its NUL, an id that is not
// defined, a length field of the header other than the file's size, or
// bytes of the file that no section accounts for, or that two claim.
//
// Usage: cab_setup_reader FILE.000
#include <cstdint>
#include <fstream>
#include <iostream>
#include <iterator>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct Refusal : std::runtime_error {
    using std::runtime_error::runtime_error;
};

std::string Hex(uint32_t v)
{
    std::ostringstream s;
    s << "0x" << std::hex << v;
    return s.str();
}

// The file's bytes, read only through bounds checks; every range read is
// recorded with the part of the file it belongs to.
class InstructionFile {
public:
    explicit InstructionFile(std::vector<uint8_t> bytes) : bytes_(std::move(bytes)) {}

    size_t Size() const { return bytes_.size(); }

    uint32_t Le(size_t at, int width, const std::string &what) const
    {
        Need(at, width, what);
        uint32_t v = 0;
        for (int i = width - 1; i >= 0; i--) v = (v << 8) | bytes_[at + i];
        return v;
    }

    // A NUL-terminated ASCII text filling exactly [at, at + length).
    std::string Text(size_t at, size_t length, const std::string &what) const
    {
        Need(at, length, what);
        if (length == 0 || bytes_[at + length - 1] != 0) throw Refusal(what + ": no NUL at its end");
        std::string s(bytes_.begin() + at, bytes_.begin() + at + length - 1);
        if (s.find('\0') != std::string::npos) throw Refusal(what + ": a NUL inside the text");
        return s;
    }

    // NUL-terminated texts filling exactly [at, at + length), the list
    // ending with an empty text.
    std::vector<std::string> Texts(size_t at, size_t length, const std::string &what) const
    {
        std::vector<std::string> texts;
        size_t end = at + length, p = at;
        for (;;) {
            size_t nul = p;
            while (nul < end && Le(nul, 1, what) != 0) nul++;
            if (nul == end) throw Refusal(what + ": a text without its NUL");
            std::string s(bytes_.begin() + p, bytes_.begin() + nul);
            p = nul + 1;
            if (s.empty()) break;
            texts.push_back(s);
        }
        if (p != end) throw Refusal(what + ": bytes after the empty text that ends the list");
        return texts;
    }

    // Marks [at, at + length) as belonging to one part of the file.
    void Claim(size_t at, size_t length, const std::string &what)
    {
        Need(at, length, what);
        for (size_t i = 0; i < claims_.size(); i++) {
            const Claimed &c = claims_[i];
            if (at < c.at + c.length && c.at < at + length)
                throw Refusal(what + " overlaps " + c.what);
        }
        claims_.push_back({at, length, what});
    }

    // Every byte of the file belongs to exactly one part.
    void CheckAllClaimed() const
    {
        std::map<size_t, const Claimed *> byStart;
        for (size_t i = 0; i < claims_.size(); i++)
            if (claims_[i].length > 0) byStart[claims_[i].at] = &claims_[i];
        size_t p = 0;
        for (auto it = byStart.begin(); it != byStart.end(); ++it) {
            if (it->first != p)
                throw Refusal("bytes " + std::to_string(p) + ".." + std::to_string(it->first) +
                              " belong to no part of the file");
            p = it->first + it->second->length;
        }
        if (p != bytes_.size())
            throw Refusal("bytes from " + std::to_string(p) + " to the end belong to no part of the file");
    }

private:
    struct Claimed {
        size_t at, length;
        std::string what;
    };

    void Need(size_t at, size_t length, const std::string &what) const
    {
        if (at > bytes_.size() || length > bytes_.size() - at)
            throw Refusal(what + ": bytes " + std::to_string(at) + "+" + std::to_string(length) +
                          " lie beyond the end of the file (" + std::to_string(bytes_.size()) + " bytes)");
    }

    std::vector<uint8_t> bytes_;
    std::vector<Claimed> claims_;
};

// The header's section table: where each section's count and offset are.
enum SectionKind { kStrings, kDirs, kFiles, kHives, kKeys, kLinks, kSectionKinds };
const char *const kSectionNames[kSectionKinds] = {"STRINGS", "DIRS", "FILES", "REGHIVES", "REGKEYS", "LINKS"};
const size_t kCountField[kSectionKinds] = {48, 50, 52, 54, 56, 58};
const size_t kOffsetField[kSectionKinds] = {60, 64, 68, 72, 76, 80};

const char *RootName(uint32_t root)
{
    switch (root) {
    case 1: return "HKCR";
    case 2: return "HKCU";
    case 3: return "HKLM";
    case 4: return "HKU";
    }
    throw Refusal("registry hive root " + std::to_string(root) + " is none of 1..4");
}

class Reader {
public:
    explicit Reader(InstructionFile &file) : f_(file) {}

    void Read(std::ostream &out)
    {
        f_.Claim(0, 100, "the header");
        if (f_.Le(0, 4, "signature") != 0x4543534D) throw Refusal("no MSCE signature");
        uint32_t declared = f_.Le(8, 4, "the header's file length");
        if (declared != f_.Size())
            throw Refusal("the header gives the file length " + std::to_string(declared) +
                          ", the file has " + std::to_string(f_.Size()) + " bytes");
        out << "processor " << f_.Le(20, 4, "processor") << "\n";
        out << "os " << f_.Le(24, 4, "") << "." << f_.Le(28, 4, "") << " " << f_.Le(32, 4, "") << "."
            << f_.Le(36, 4, "") << "\n";
        out << "builds " << f_.Le(40, 4, "") << " " << f_.Le(44, 4, "") << "\n";

        out << "app " << HeaderText(84, "APPNAME") << "\n";
        out << "provider " << HeaderText(88, "PROVIDER") << "\n";
        uint32_t at = f_.Le(92, 2, ""), length = f_.Le(94, 2, "");
        f_.Claim(at, length, "UNSUPPORTED");
        if (length > 0) {
            std::vector<std::string> platforms = f_.Texts(at, length, "UNSUPPORTED");
            for (size_t i = 0; i < platforms.size(); i++) out << "unsupported " << platforms[i] << "\n";
        }

        // Sections in an order that defines every id before its use.
        Walk(kStrings, &Reader::StringEntry, out);
        Walk(kDirs, &Reader::DirEntry, out);
        Walk(kFiles, &Reader::FileEntry, out);
        Walk(kHives, &Reader::HiveEntry, out);
        Walk(kKeys, &Reader::KeyEntry, out);
        Walk(kLinks, &Reader::LinkEntry, out);
        f_.CheckAllClaimed();
    }

private:
    typedef size_t (Reader::*EntryReader)(size_t at, std::ostream &out);

    std::string HeaderText(size_t field, const std::string &what)
    {
        uint32_t at = f_.Le(field, 2, what), length = f_.Le(field + 2, 2, what);
        f_.Claim(at, length, what);
        return f_.Text(at, length, what);
    }

    // Reads the section's entries one after the other from its offset;
    // the section is the bytes they took.
    void Walk(SectionKind kind, EntryReader entry, std::ostream &out)
    {
        std::string name = kSectionNames[kind];
        size_t start = f_.Le(kOffsetField[kind], 4, name + " offset");
        size_t count = f_.Le(kCountField[kind], 2, name + " count");
        size_t p = start;
        for (size_t i = 0; i < count; i++) {
            what_ = name + " entry " + std::to_string(i + 1);
            p = (this->*entry)(p, out);
        }
        f_.Claim(start, p - start, name);
    }

    // A list of string ids ending with 0, filling exactly `length` bytes,
    // joined with backslashes.
    std::string Path(size_t at, size_t length)
    {
        if (length < 2 || length % 2) throw Refusal(what_ + ": a path of " + std::to_string(length) + " bytes");
        std::string path;
        for (size_t i = 0; i + 2 < length; i += 2) {
            uint32_t id = f_.Le(at + i, 2, what_);
            auto s = strings_.find(id);
            if (id == 0 || s == strings_.end())
                throw Refusal(what_ + ": string id " + std::to_string(id) + " is not defined");
            path += (i ? "\\" : "") + s->second;
        }
        if (f_.Le(at + length - 2, 2, what_) != 0) throw Refusal(what_ + ": a path not ending with 0");
        return path;
    }

    template <typename Map>
    void Define(Map &map, uint32_t id, const typename Map::mapped_type &value)
    {
        if (!map.emplace(id, value).second) throw Refusal(what_ + ": id " + std::to_string(id) + " twice");
    }

    size_t StringEntry(size_t at, std::ostream &)
    {
        uint32_t id = f_.Le(at, 2, what_), length = f_.Le(at + 2, 2, what_);
        Define(strings_, id, f_.Text(at + 4, length, what_));
        return at + 4 + length;
    }

    size_t DirEntry(size_t at, std::ostream &out)
    {
        uint32_t id = f_.Le(at, 2, what_), length = f_.Le(at + 2, 2, what_);
        std::string path = Path(at + 4, length);
        Define(dirs_, id, path);
        out << "dir " << path << "\n";
        return at + 4 + length;
    }

    size_t FileEntry(size_t at, std::ostream &out)
    {
        uint32_t id = f_.Le(at, 2, what_), dir = f_.Le(at + 2, 2, what_);
        uint32_t flags = f_.Le(at + 6, 4, what_), length = f_.Le(at + 10, 2, what_);
        std::string name = f_.Text(at + 12, length, what_);
        if (!dirs_.count(dir)) throw Refusal(what_ + ": directory id " + std::to_string(dir) + " is not defined");
        Define(files_, id, dirs_[dir] + "\\" + name);
        out << "file " << id << " " << files_[id] << " " << Hex(flags) << "\n";
        return at + 12 + length;
    }

    size_t HiveEntry(size_t at, std::ostream &)
    {
        uint32_t id = f_.Le(at, 2, what_), root = f_.Le(at + 2, 2, what_), length = f_.Le(at + 6, 2, what_);
        Define(hives_, id, std::string(RootName(root)) + "\\" + Path(at + 8, length));
        return at + 8 + length;
    }

    size_t KeyEntry(size_t at, std::ostream &out)
    {
        uint32_t hive = f_.Le(at + 2, 2, what_), substitute = f_.Le(at + 4, 2, what_);
        uint32_t type = f_.Le(at + 6, 4, what_), length = f_.Le(at + 10, 2, what_);
        size_t data = at + 12, end = data + length;
        if (!hives_.count(hive)) throw Refusal(what_ + ": hive id " + std::to_string(hive) + " is not defined");
        if (substitute > 1) throw Refusal(what_ + ": substitution flag " + std::to_string(substitute));
        // The value's name, then its data up to the entry's end.
        size_t nul = data;
        while (nul < end && f_.Le(nul, 1, what_) != 0) nul++;
        if (nul == end) throw Refusal(what_ + ": a value name without its NUL");
        std::string name = f_.Text(data, nul + 1 - data, what_);
        size_t value = nul + 1, valueLength = end - value;

        std::string typeName, shown;
        switch (type & ~0x2u) {  // bit 1: do not overwrite a value that exists
        case 0x00010001:
            typeName = "REG_DWORD";
            if (valueLength != 4) throw Refusal(what_ + ": a DWORD of " + std::to_string(valueLength) + " bytes");
            shown = std::to_string(f_.Le(value, 4, what_));
            break;
        case 0x00000000:
            typeName = "REG_SZ";
            shown = f_.Text(value, valueLength, what_);
            break;
        case 0x00010000: {
            typeName = "REG_MULTI_SZ";
            std::vector<std::string> texts = f_.Texts(value, valueLength, what_);
            for (size_t i = 0; i < texts.size(); i++) shown += (i ? "|" : "") + texts[i];
            break;
        }
        case 0x00000001:
            typeName = "REG_BINARY";
            for (size_t i = 0; i < valueLength; i++) shown += Hex(f_.Le(value + i, 1, what_)) + " ";
            break;
        default:
            throw Refusal(what_ + ": registry type " + Hex(type) + " is none of the four");
        }
        if (type & 0x2u) typeName += "+noclobber";
        out << "reg " << hives_[hive] << "\t" << name << "\t" << typeName << "\t"
            << (substitute ? "subst" : "plain") << "\t" << shown << "\n";
        return end;
    }

    size_t LinkEntry(size_t at, std::ostream &out)
    {
        uint32_t base = f_.Le(at + 4, 2, what_), target = f_.Le(at + 6, 2, what_);
        uint32_t kind = f_.Le(at + 8, 2, what_), length = f_.Le(at + 10, 2, what_);
        std::string baseName = base == 0 ? "%InstallDir%" : "%CE" + std::to_string(base) + "%";
        std::string linkPath = Path(at + 12, length);
        out << "link " << baseName << "\\" << linkPath << " -> ";
        if (kind == 1 && files_.count(target)) out << "file " << files_[target] << "\n";
        else if (kind == 0 && (target == 0 || dirs_.count(target))) out << "dir " << (target ? dirs_[target] : "%InstallDir%") << "\n";
        else throw Refusal(what_ + ": link target " + std::to_string(target) + " of type " + std::to_string(kind));
        return at + 12 + length;
    }

    InstructionFile &f_;
    std::string what_;
    std::map<uint32_t, std::string> strings_, dirs_, files_, hives_;
};

}  // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::cerr << "usage: cab_setup_reader FILE.000\n";
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    if (!in) {
        std::cerr << "cab_setup_reader: cannot read " << argv[1] << "\n";
        return 2;
    }
    std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    InstructionFile file(std::move(bytes));
    std::ostringstream out;
    try {
        Reader(file).Read(out);
    } catch (const Refusal &e) {
        std::cerr << "cab_setup_reader: " << argv[1] << ": " << e.what() << "\n";
        return 1;
    }
    std::cout << out.str();
    return 0;
}
