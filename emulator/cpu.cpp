// The run loop, the cache of decoded pages, the traps and the stops.
#include "emulator/cpu.h"
#include "emulator/execute.h"
#include <stdio.h>

uint32_t Cpu::Cpsr() const
{
    return (uint32_t)n << 31 | (uint32_t)z << 30 | (uint32_t)c << 29 | (uint32_t)v << 28 |
           (uint32_t)q << 27 | (thumb ? (uint32_t)kPsrT : 0u) | kPsrUserMode;
}

void Cpu::SetFlags(uint32_t psr)
{
    n = (psr >> 31) & 1;
    z = (psr >> 30) & 1;
    c = (psr >> 29) & 1;
    v = (psr >> 28) & 1;
    q = (psr >> 27) & 1;
}

// Where a handler that stops the run sends it: never mapped (kGuestLimit).
static const uint32_t kStopAddress = 0xFFFFFFFFu;

// Fills the report for the instruction at PC; the run ends after it.
static void Report(Cpu &cpu, StopKind kind, uint32_t pc, uint32_t address, const std::string &detail)
{
    cpu.stop.kind = kind;
    cpu.stop.pc = pc;
    cpu.stop.thumb = cpu.thumb;
    cpu.stop.address = address;
    cpu.stop.detail = detail;
    cpu.stop.instruction = 0;
    if (const uint8_t *p = cpu.memory.Read(pc, cpu.thumb ? 2 : 4)) {
        cpu.stop.instruction = p[0] | (uint32_t)p[1] << 8;
        if (!cpu.thumb)
            cpu.stop.instruction |= (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24;
    }
    cpu.next = kStopAddress;   // the run loop finds no page there, and sees the stop
}

void Cpu::Fault(StopKind kind, uint32_t address, const char *detail)
{
    Report(*this, kind, CurrentPc(), address, detail ? detail : "");
}

void Cpu::AccessFault(uint32_t address, const char *what)
{
    bool below_stack = stack_low != 0 && address < stack_low && stack_low - address <= 0x10000;
    std::string detail = what;
    if (!below_stack && memory.Read(address, 1))
        detail += " of read-only memory";
    Report(*this, below_stack ? kStopStackOverflow : kStopBadAddress, CurrentPc(), address, detail);
}

void DecodeAndExecute(Cpu &cpu, const Insn &slot)
{
    uint32_t address = cpu.CurrentPc();
    Insn &insn = const_cast<Insn &>(slot);   // the entry lives in a page the cpu owns
    if (cpu.thumb) {
        const uint8_t *p = cpu.memory.Code(address, 2);
        if (!p) { Report(cpu, kStopBadAddress, address, address, "instruction fetch"); return; }
        DecodeThumb((uint16_t)(p[0] | p[1] << 8), address, insn);
    } else {
        const uint8_t *p = cpu.memory.Code(address, 4);
        if (!p) { Report(cpu, kStopBadAddress, address, address, "instruction fetch"); return; }
        DecodeArm((uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24, address, insn);
    }
    if (insn.cond < 14 && !ConditionPasses(cpu, insn.cond))
        return;
    insn.handler(cpu, insn);
}

DecodedPage *Cpu::PageFor(uint32_t address)
{
    uint32_t key = (address & ~(uint32_t)(kArmPageSize - 1)) | (thumb ? 1 : 0);
    std::unique_ptr<DecodedPage> &page = pages_[key];
    if (!page) {
        page.reset(new DecodedPage);
        for (Insn &insn : page->insns)
            insn = Insn{DecodeAndExecute, 14, 0, 0, 0, 0, 0, 0, 0, 0};
    }
    cached_key_ = key;
    cached_page_ = page.get();
    return cached_page_;
}

// Kept out of the run loop, which it would otherwise weigh on uncounted.
__attribute__((noinline)) static void TallyTrapCall(Cpu &cpu, uint32_t pc)
{
    ++(*cpu.trap_calls)[pc];
}

// A jump to an address without code: a trap (a bound host function, an
// unbound import, the return to the run's caller) or a bad address.
// Returns false when the run stops; otherwise PC is where it goes on.
static bool EnterUnmapped(Cpu &cpu, uint32_t &pc)
{
    auto trap = cpu.traps.find(pc);
    if (trap == cpu.traps.end()) {
        cpu.r[15] = pc + (cpu.thumb ? 4 : 8);
        Report(cpu, kStopBadAddress, pc, pc, "jump outside known memory");
        return false;
    }
    if (trap->second.stop != kStopNone) {
        cpu.r[15] = pc + 8;
        std::string detail = trap->second.name;
        if (trap->second.stop != kStopReturned) {
            char caller[40];
            snprintf(caller, sizeof caller, ", called with lr 0x%08X", cpu.r[14]);
            detail += caller;
        }
        Report(cpu, trap->second.stop, pc, pc, detail);
        return false;
    }
    cpu.count++;
    if (cpu.trap_calls)
        TallyTrapCall(cpu, pc);
    uint32_t back = cpu.r[14];
    trap->second.function(cpu);
    if (cpu.stop.kind != kStopNone)
        return false;
    cpu.SetThumb(back & 1);
    pc = back & ~1u;
    return true;
}

// The run loop of one state: executes while the instructions are in the
// decoded page the cpu holds for that state; returns at a new page, a
// change of state, a stop or the end of the budget.
template <bool THUMB>
static void RunInState(Cpu &cpu, uint32_t &at)
{
    constexpr uint32_t step = THUMB ? 2 : 4, page_mask = kArmPageSize - 1;
    uint64_t count = cpu.count;
    const uint64_t limit = cpu.limit;
    while (count < limit && ((at & ~page_mask) | THUMB) == cpu.cached_key_) {
        const Insn &insn = cpu.cached_page_->insns[(at & page_mask) >> (THUMB ? 1 : 2)];
        count++;
        cpu.next = at + step;
        cpu.r[15] = at + 2 * step;
        if (insn.cond >= 14 || ConditionPasses(cpu, insn.cond))
            insn.handler(cpu, insn);
        at = cpu.next;
    }
    cpu.count = count;
}

StopKind Cpu::Run()
{
    runs++;
    stop = StopReport();
    uint32_t at = pc;
    for (;;) {
        if (thumb)
            RunInState<true>(*this, at);
        else
            RunInState<false>(*this, at);
        if (stop.kind != kStopNone || count >= limit)
            break;
        if (memory.Code(at, thumb ? 2 : 4)) {
            PageFor(at);
            continue;
        }
        cached_key_ = kNoPage;
        if (!EnterUnmapped(*this, at))
            break;
    }
    if (stop.kind == kStopNone) {
        stop.kind = kStopStepLimit;
        stop.pc = at;
        stop.thumb = thumb;
    }
    pc = StopIsFault(stop.kind) && stop.kind != kStopStepLimit ? stop.pc : at;
    r[15] = pc;
    runs--;
    return stop.kind;
}
