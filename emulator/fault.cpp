// Names and the one-line report of the ways a run stops.
#include "emulator/fault.h"
#include <stdio.h>

const char *StopKindName(StopKind kind)
{
    switch (kind) {
    case kStopNone: return "running";
    case kStopReturned: return "returned";
    case kStopStepLimit: return "instruction limit reached";
    case kStopUnaligned: return "alignment fault (unaligned access)";
    case kStopUndefined: return "undefined instruction";
    case kStopCoprocessor: return "undefined instruction (coprocessor)";
    case kStopSoftwareInterrupt: return "undefined instruction (SWI)";
    case kStopBreakpoint: return "undefined instruction (BKPT)";
    case kStopStackOverflow: return "stack overflow";
    case kStopBadAddress: return "bad address";
    case kStopUnboundImport: return "unbound import";
    case kStopHostCall: return "stopped by a bound function";
    }
    return "unknown stop";
}

bool StopIsFault(StopKind kind)
{
    return kind != kStopReturned && kind != kStopNone;
}

std::string FormatStopReport(const StopReport &report)
{
    char line[160];
    snprintf(line, sizeof line, "%s at pc 0x%08X (%s), instruction 0x%0*X, address 0x%08X",
             StopKindName(report.kind), report.pc, report.thumb ? "Thumb" : "ARM",
             report.thumb ? 4 : 8, report.instruction, report.address);
    std::string text = line;
    if (!report.detail.empty())
        text += ": " + report.detail;
    return text;
}
