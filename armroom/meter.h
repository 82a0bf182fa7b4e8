// The room's meter: what the guest does in each host call into it, by the
// operation the user is doing at the time. For each host call (a message to
// a guest procedure, an export, a module's entry) it counts the instructions
// run, the calls made to each import and the bytes the runtime moves
// (memcpy, memset and the string functions). Each count goes to the
// innermost host call open at the time, so a call nested in another (a
// window procedure that a DispatchMessage of the guest's runs) counts as its
// own and not again in its caller.
//
// The operation in progress is one name for every process of a run, set by
// MarkOperation (the Today stand-in's "mark" script line) in a named section
// that the rooms read when a host call begins or ends.
//
// The meter is on where INKLEAF_METER names a file: each process that ran a
// room appends its counts to it when it exits, one line per operation and
// host call, then its totals (tab-separated):
//   call   MARK  OPERATION  ENTRY  INSTRUCTIONS  BYTES  IMPORT=CALLS ...
//   total  PROGRAM  INSTRUCTIONS  BYTES  IMPORT CALLS
// where the total's instructions and bytes are the processor's and the
// runtime's own counts since the start, and its import calls the lines' sum.
// MARK numbers the operation's mark in the run (0 before the first;
// kIdleMark for the idle calls).
#pragma once
#include <stdint.h>
#include <map>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

struct Cpu;

enum : uint32_t { kIdleMark = 0xFFFFFFFFu };

// Names the operation in progress for every room of the run, from now on.
void MarkOperation(const std::string &name);
// The operation in progress and its mark's number (0 and "" before the
// first mark).
std::pair<uint32_t, std::string> CurrentOperation();
// The file INKLEAF_METER names, or "" when the meter is off.
std::wstring MeterFile();
// Appends TEXT to the meter's file; false when it cannot.
bool AppendToMeterFile(const std::string &text);
// Appends TEXT to the file at PATH, which the run's processes share.
bool AppendToFile(const std::wstring &path, const std::string &text);
// The file the environment's VARIABLE names, or "".
std::wstring RunFile(const wchar_t *variable);
// SIZE bytes of the section NAME that every process of the run maps (zeros
// when first made), or NULL.
void *RunSection(const wchar_t *name, uint32_t size);

class Meter {
public:
    // Counts what CPU does from now on, its lines naming PROGRAM.
    void Start(Cpu &cpu, const std::string &program);
    bool On() const { return cpu_ != nullptr; }

    // A host call into the guest, named ENTRY, begins; and ends. An IDLE
    // call is one whose number depends on how long the user takes (a popup
    // menu's WM_ENTERIDLE while it waits for the stylus): it is counted
    // under the operation "idle", apart from every other.
    void Enter(const std::string &entry, bool idle = false);
    void Leave();
    // The runtime moved BYTES for the guest (counted whether on or not).
    void Moved(uint64_t bytes) { moved_ += bytes; }

    // The counts so far, as the file's lines.
    std::string Lines() const;
    // Appends them to the meter's file, once: when the process ends.
    void Write();

private:
    struct Count {
        uint64_t instructions = 0, moved = 0;
        std::unordered_map<uint32_t, uint64_t> calls;   // by trap address
    };
    typedef std::pair<uint32_t, std::string> Key;      // mark, entry
    // Gives what the guest did since the last account to the innermost open
    // host call, under the operation in progress, and follows the marks.
    void Account();
    Count &Open();

    Cpu *cpu_ = nullptr;
    bool written_ = false;
    std::string program_;
    std::map<Key, Count> counts_;
    std::map<uint32_t, std::string> operations_;       // by mark
    std::vector<std::pair<std::string, bool> > open_;  // entry, idle; outermost first
    uint32_t mark_ = 0;
    uint64_t instructions_start_ = 0, instructions_seen_ = 0, moved_ = 0, moved_start_ = 0, moved_seen_ = 0;
};
