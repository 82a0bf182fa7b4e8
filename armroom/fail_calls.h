// Failing calls on request, to see what the device's files do when the
// system refuses them. INKLEAF_FAIL_CALL=N makes the Nth call of the run to
// an import of failable_calls.h return that import's failure, with its last
// error, in place of the call; INKLEAF_FAIL_CALL=NAME:N counts NAME's calls
// alone. N = 0 counts and fails none. The count is one for every process
// of the run (a named section), so that the item's calls and the editor's
// follow each other; a run is what one wineserver serves.
//
// Each process says (RoomLog: on stderr and in INKLEAF_ROOM_LOG) the call
// it failed,
//   armroom: failed call N of the run: COREDLL.dll!NAME (result R, last error E)
// and, when it ends, the run's count so far:
//   armroom: N failable calls in the run
#pragma once
#include <stdint.h>
#include <string>
#include <windows.h>

struct FailableCall {
    const char *name;
    uint32_t result;
    DWORD error;
};

// What INKLEAF_FAIL_CALL asks: on, with the call to fail (0: none) among
// NAME's calls or, with no name, among all. Off for NULL, "" or a value
// that is not [NAME:]N.
struct FailPlan {
    bool on;
    std::string name;
    long fail;
};
FailPlan ParseFailPlan(const char *value);

// The failable import NAME, or NULL.
const FailableCall *FindFailableCall(const std::string &name);
// Counts a call of CALL (LABEL names it in the log); true when it is the
// call to fail. False, counting nothing, where INKLEAF_FAIL_CALL is unset.
bool FailThisCall(const FailableCall &call, const std::string &label);
// Prints the run's count, once, where INKLEAF_FAIL_CALL is set (at exit,
// and from the device's TerminateProcess of itself, which runs no exit
// handlers).
void ReportFailableCalls();
