// What a developer reads when ARM code stops: the chain of calls that led
// there, found by looking for return addresses (lr, then the stack), each
// named by the nearest symbol of the image it lies in.
#pragma once
#include "emulator/pe_loader.h"
#include <stdint.h>
#include <map>
#include <string>
#include <vector>

// Guest addresses [start, end) that hold code.
struct CodeRange {
    uint32_t start, end;
};

// The likely return addresses of the calls that led to the stop, innermost
// first (bit 0 set for a return into Thumb code): lr when it points just
// after a call, then each word between sp and STACK_TOP (the sp at which
// the host entered the guest) that does. A word "points just after a call"
// when it lies in one of CODE and the instruction before it is a call: bl,
// blx, or a jump (mov pc / bx / ldr pc) right after `mov lr, pc`; in Thumb
// code bl, blx. A guess, as any backtrace without unwind tables is: a stale
// word on the stack, or an lr left by a call the stopped function made and
// returned from, adds a frame that is not a caller; a tail call (b) leaves
// its caller out.
std::vector<uint32_t> CallChain(const Cpu &cpu, uint32_t stack_top, const std::vector<CodeRange> &code);

// The code sections of a loaded PE image, from the section table the loader
// read (the whole image when it names none).
std::vector<CodeRange> ImageCode(const LoadedImage &image);

// Names of guest addresses: the exports of loaded images and, where the
// build left one, the .text symbols of a GNU ld link map (-Wl,-Map).
class SymbolTable {
public:
    // IMAGE's exports and code, named FILE_NAME's base name in descriptions;
    // with MAP_PATH, the symbols of that link map too, moved by the image's
    // relocation. False when the map cannot be read (the exports still count).
    bool AddImage(const LoadedImage &image, const std::string &file_name,
                  const std::string &map_path = "");
    // Code in RANGE, named FILE_NAME's base name, without symbols (a flat
    // binary).
    void AddModule(const CodeRange &range, const std::string &file_name);
    // A function NAME at ADDRESS (bit 0, the Thumb bit, is ignored).
    void AddSymbol(uint32_t address, const std::string &name);

    // "InitializeCustomItem+0x1c (inkleaf_item.dll)"; "item.dll+0x1234"
    // before its first symbol; "" outside every module. A RETURN_ADDRESS is
    // named after the call before it (a call that ends a function returns
    // to the next one's first instruction).
    std::string Describe(uint32_t address, bool return_address = false) const;
    const std::vector<CodeRange> &Code() const { return code_; }
    // Where the function NAME (a map's symbol or an export) is; false when
    // no module names it.
    bool AddressOf(const std::string &name, uint32_t &address) const;

private:
    struct Module {
        CodeRange range;
        std::string name;
    };
    // A name's strength at one address: a map's symbol over an export's
    // name over an ordinal, each over the start of an object file's code.
    enum Rank { kObjectFile, kOrdinal, kExport, kMapSymbol };
    struct Symbol {
        std::string name;
        Rank rank;
    };
    void Put(uint32_t address, const std::string &name, Rank rank);
    bool ReadLinkMap(const std::string &path, uint32_t delta);

    std::vector<Module> modules_;
    std::vector<CodeRange> code_;
    std::map<uint32_t, Symbol> symbols_;
};

// The whole report of a stop: FormatStopReport's line, then where it
// stopped (#0) and, under "called from:", the chain (#1, ...), one line a
// frame: "  #1 0x10001234 InitializeCustomItem+0x1c (inkleaf_item.dll)".
// A stop at a trap is named by the trap ("COREDLL.dll!GetTickCount").
// Lines end in '\n'; the caller prefixes nothing.
std::string FaultReport(const Cpu &cpu, uint32_t stack_top, const SymbolTable &symbols);
