// How a run of ARM code ends: a return to its caller, or a stop with what
// the device would have raised, at which instruction and address.
#pragma once
#include <stdint.h>
#include <string>

enum StopKind {
    kStopNone,          // still running
    kStopReturned,      // the called function returned to the run's caller
    kStopStepLimit,     // the run's instruction budget is spent
    kStopUnaligned,     // datatype misalignment: unaligned word/halfword/doubleword access
    kStopUndefined,     // undefined (or, in user mode, unpredictable) instruction
    kStopCoprocessor,   // a coprocessor instruction: no coprocessor here
    kStopSoftwareInterrupt,  // SWI
    kStopBreakpoint,    // BKPT
    kStopStackOverflow, // an access just below the run's stack
    kStopBadAddress,    // a jump or an access outside the memory the run knows
    kStopUnboundImport, // a call to an import nobody bound
    kStopHostCall,      // a bound host function asked to stop the run
};

struct StopReport {
    StopKind kind = kStopNone;
    uint32_t pc = 0;          // address of the instruction (or of the jump target for a bad jump)
    uint32_t instruction = 0; // its word (a halfword in Thumb state); 0 when unreadable
    uint32_t address = 0;     // the data address, or the target of a jump
    bool thumb = false;
    std::string detail;       // what was accessed, or which import
};

// The kind's name as reports and tests use it ("alignment fault", ...).
const char *StopKindName(StopKind kind);
// True for the kinds that end a run abnormally (all but returned).
bool StopIsFault(StopKind kind);
// One line: the kind, the PC, the instruction word, the address and detail.
std::string FormatStopReport(const StopReport &report);
