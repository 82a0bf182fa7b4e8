// Return addresses found on a stopped processor, and their names.
#include "emulator/backtrace.h"
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <fstream>
#include <sstream>

namespace {

enum : uint32_t {
    kMaxFrames = 32,
    kMaxStackScan = 256 * 1024,   // a device thread's stack is 64 KB; sp beyond this is garbage
    kMovLrPc = 0x01A0E00Fu,       // mov lr, pc (any condition)
};

// SIZE (2 or 4) little-endian bytes of guest memory at ADDRESS; false when
// they are not all mapped in one region. Reads nothing through the
// interpreter's fast path, so a const processor will do.
bool ReadGuest(const Cpu &cpu, uint32_t address, uint32_t size, uint32_t &value)
{
    for (const MemoryRegion &region : cpu.memory.Regions()) {
        uint32_t offset = address - region.guest;
        if (offset < region.size && region.size - offset >= size) {
            const uint8_t *p = region.host + offset;
            value = p[0] | (uint32_t)p[1] << 8;
            if (size == 4)
                value |= (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
            return true;
        }
    }
    return false;
}

bool InCode(const std::vector<CodeRange> &code, uint32_t start, uint32_t end)
{
    for (const CodeRange &range : code)
        if (start >= range.start && end <= range.end && start <= end)
            return true;
    return false;
}

// The ARM instruction WORD is a call (bl, blx) or, when BEFORE is
// `mov lr, pc`, a jump that makes one (mov pc, rN; bx rN; ldr pc, [...]).
bool IsArmCall(uint32_t word, uint32_t before)
{
    if ((word & 0xFE000000u) == 0xFA000000u)   // blx label
        return true;
    if (word >> 28 == 0xF)                     // the rest of that space: no calls
        return false;
    if ((word & 0x0F000000u) == 0x0B000000u || (word & 0x0FFFFFF0u) == 0x012FFF30u)   // bl, blx rN
        return true;
    bool jump = (word & 0x0FFFFFF0u) == 0x01A0F000u ||   // mov pc, rN
                (word & 0x0FFFFFF0u) == 0x012FFF10u ||   // bx rN
                (word & 0x0C50F000u) == 0x0410F000u;     // ldr pc, [...]
    return jump && (before & 0x0FFFFFFFu) == kMovLrPc;
}

// The Thumb halfwords FIRST, SECOND end in a call: the bl or blx pair, or
// SECOND alone is blx rN.
bool IsThumbCall(uint32_t first, uint32_t second)
{
    if ((second & 0xFF87u) == 0x4780u)
        return true;
    return (first & 0xF800u) == 0xF000u && (second & 0xE800u) == 0xE800u;
}

// ADDRESS is one a call returns to: in CODE, just after a call instruction.
bool FollowsCall(const Cpu &cpu, uint32_t address, const std::vector<CodeRange> &code)
{
    uint32_t at = address & ~1u, first, second;
    bool thumb = address & 1;
    if ((!thumb && (at & 3)) || at < 8 || !InCode(code, at - (thumb ? 4 : 8), at))
        return false;
    if (thumb)
        return ReadGuest(cpu, at - 4, 2, first) && ReadGuest(cpu, at - 2, 2, second) && IsThumbCall(first, second);
    return ReadGuest(cpu, at - 8, 4, first) && ReadGuest(cpu, at - 4, 4, second) && IsArmCall(second, first);
}

std::string BaseName(const std::string &path)
{
    size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// "0x..." of a link map as an address; false for anything else.
bool MapAddress(const std::string &text, uint32_t &value)
{
    if (text.size() < 3 || text.compare(0, 2, "0x") != 0)
        return false;
    char *end = nullptr;
    unsigned long long parsed = strtoull(text.c_str() + 2, &end, 16);
    if (*end || parsed > 0xFFFFFFFFull)
        return false;
    value = (uint32_t)parsed;
    return true;
}

}  // namespace

std::vector<uint32_t> CallChain(const Cpu &cpu, uint32_t stack_top, const std::vector<CodeRange> &code)
{
    std::vector<uint32_t> chain;
    uint32_t lr = cpu.r[kLr], sp = cpu.r[kSp] & ~3u;
    bool from_lr = FollowsCall(cpu, lr, code);
    if (from_lr)
        chain.push_back(lr);
    if (sp > stack_top || stack_top - sp > kMaxStackScan)
        return chain;
    bool first = true;
    uint32_t word;
    for (uint32_t at = sp; stack_top - at >= 4 && chain.size() < kMaxFrames; at += 4) {
        if (!ReadGuest(cpu, at, 4, word) || !FollowsCall(cpu, word, code))
            continue;
        // The stopped function's own copy of lr, saved by its prologue.
        bool saved_lr = first && from_lr && word == lr;
        first = false;
        if (!saved_lr)
            chain.push_back(word);
    }
    return chain;
}

std::vector<CodeRange> ImageCode(const LoadedImage &image)
{
    std::vector<CodeRange> code;
    for (const PeSection &section : image.sections) {
        uint32_t va = section.address, size = section.size;
        if ((section.characteristics & (pe::kSectionCode | pe::kSectionExecute)) && va < image.size && size &&
            size <= image.size - va)
            code.push_back(CodeRange{image.base + va, image.base + va + size});
    }
    if (code.empty())
        code.push_back(CodeRange{image.base, image.base + image.size});
    return code;
}

void SymbolTable::Put(uint32_t address, const std::string &name, Rank rank)
{
    auto found = symbols_.find(address & ~1u);
    if (found == symbols_.end())
        symbols_[address & ~1u] = Symbol{name, rank};
    else if (found->second.rank < rank)
        found->second = Symbol{name, rank};
}

void SymbolTable::AddModule(const CodeRange &range, const std::string &file_name)
{
    modules_.push_back(Module{range, BaseName(file_name)});
    code_.push_back(range);
}

void SymbolTable::AddSymbol(uint32_t address, const std::string &name)
{
    Put(address, name, kMapSymbol);
}

bool SymbolTable::AddImage(const LoadedImage &image, const std::string &file_name,
                           const std::string &map_path)
{
    modules_.push_back(Module{CodeRange{image.base, image.base + image.size}, BaseName(file_name)});
    std::vector<CodeRange> code = ImageCode(image);
    code_.insert(code_.end(), code.begin(), code.end());
    for (const PeExport &e : image.exports) {
        if (e.name.empty())
            Put(e.address, "#" + std::to_string(e.ordinal), kOrdinal);
        else
            Put(e.address, e.name, kExport);
    }
    return map_path.empty() || ReadLinkMap(map_path, image.base - image.preferred_base);
}

// The .text output section of a GNU ld map: input sections (" .text ADDRESS
// SIZE FILE") and, under each, its global symbols ("ADDRESS NAME").
// Addresses are the image base's; DELTA moves them where it was mapped.
bool SymbolTable::ReadLinkMap(const std::string &path, uint32_t delta)
{
    std::ifstream map(path);
    if (!map)
        return false;
    bool in_text = false;
    std::string line;
    while (std::getline(map, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::istringstream fields(line);
        std::vector<std::string> words;
        for (std::string word; fields >> word;)
            words.push_back(word);
        if (words.empty())
            continue;
        if (line[0] != ' ') {          // an output section or a heading
            in_text = words[0] == ".text";
            continue;
        }
        uint32_t address, size;
        if (!in_text)
            continue;
        if (words.size() == 2 && MapAddress(words[0], address)) {
            Put(address + delta, words[1], kMapSymbol);
        } else if (words.size() == 4 && words[0].compare(0, 5, ".text") == 0 && MapAddress(words[1], address) &&
                   MapAddress(words[2], size) && size) {
            // "objects.a(item_window.cpp.obj)": the member's name
            std::string file = words[3];
            size_t open = file.find('(');
            file = open != std::string::npos && file.back() == ')' ? file.substr(open + 1, file.size() - open - 2)
                                                                    : BaseName(file);
            Put(address + delta, file, kObjectFile);
        }
    }
    return true;
}

bool SymbolTable::AddressOf(const std::string &name, uint32_t &address) const
{
    for (const auto &symbol : symbols_)
        if (symbol.second.name == name && symbol.second.rank != kObjectFile) {
            address = symbol.first;
            return true;
        }
    return false;
}

std::string SymbolTable::Describe(uint32_t address, bool return_address) const
{
    uint32_t at = address & ~1u, key = return_address && at ? at - 1 : at;
    for (const Module &module : modules_) {
        if (key < module.range.start || key >= module.range.end)
            continue;
        char text[32];
        auto symbol = symbols_.upper_bound(key);
        if (symbol != symbols_.begin() && (--symbol)->first >= module.range.start) {
            snprintf(text, sizeof text, "+0x%x (", at - symbol->first);
            return symbol->second.name + text + module.name + ")";
        }
        snprintf(text, sizeof text, "+0x%x", at - module.range.start);
        return module.name + text;
    }
    return "";
}

std::string FaultReport(const Cpu &cpu, uint32_t stack_top, const SymbolTable &symbols)
{
    auto frame = [&](unsigned number, uint32_t address, bool return_address) {
        auto trap = cpu.traps.find(address);
        std::string name = trap != cpu.traps.end() ? trap->second.name : symbols.Describe(address, return_address);
        char head[32];
        snprintf(head, sizeof head, "  #%u 0x%08X", number, address & ~1u);
        return head + (name.empty() ? "" : " " + name) + "\n";
    };
    std::string text = FormatStopReport(cpu.stop) + "\n" + frame(0, cpu.stop.pc, false);
    std::vector<uint32_t> chain = CallChain(cpu, stack_top, symbols.Code());
    if (!chain.empty())
        text += "called from:\n";
    for (size_t k = 0; k < chain.size(); k++)
        text += frame((unsigned)k + 1, chain[k], true);
    return text;
}
