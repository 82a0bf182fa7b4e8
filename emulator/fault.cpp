// The ways a run stops: the stop itself, their names and the one-line
// report.
#include "emulator/fault.h"
#include "emulator/cpu.h"
#include <stdio.h>

// Where a stop sends the run loop: never mapped (above kGuestLimit), so the
// loop finds no page there and sees the stop.
static const uint32_t kStopAddress = 0xFFFFFFFFu;

void Cpu::Stop(StopKind kind, uint32_t at, uint32_t address, const std::string &detail)
{
    stop.kind = kind;
    stop.pc = at;
    stop.thumb = thumb;
    stop.address = address;
    stop.detail = detail;
    stop.instruction = 0;
    if (const uint8_t *p = memory.Read(at, thumb ? 2 : 4)) {
        stop.instruction = p[0] | (uint32_t)p[1] << 8;
        if (!thumb)
            stop.instruction |= (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
    }
    next = kStopAddress;
}

void Cpu::Fault(StopKind kind, uint32_t address, const char *detail)
{
    Stop(kind, CurrentPc(), address, detail ? detail : "");
}

void Cpu::AccessFault(uint32_t address, const char *what)
{
    bool below_stack = stack_low != 0 && address < stack_low && stack_low - address <= 0x10000;
    std::string detail = what;
    if (!below_stack && memory.Read(address, 1))
        detail += " of read-only memory";
    Stop(below_stack ? kStopStackOverflow : kStopBadAddress, CurrentPc(), address, detail);
}

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
