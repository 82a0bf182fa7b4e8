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
    cpu.limit = 0;
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
        const uint8_t *p = cpu.memory.Read(address, 2);
        if (!p) { Report(cpu, kStopBadAddress, address, address, "instruction fetch"); return; }
        DecodeThumb((uint16_t)(p[0] | p[1] << 8), address, insn);
    } else {
        const uint8_t *p = cpu.memory.Read(address, 4);
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
    uint32_t back = cpu.r[14];
    trap->second.function(cpu);
    if (cpu.stop.kind != kStopNone)
        return false;
    cpu.thumb = back & 1;
    pc = back & ~1u;
    return true;
}

StopKind Cpu::Run()
{
    uint64_t budget = limit;
    stop = StopReport();
    uint32_t at = pc;
    for (;;) {
        while (count < limit) {
            uint32_t key = (at & ~(uint32_t)(kArmPageSize - 1)) | (thumb ? 1 : 0);
            if (key != cached_key_) {
                if (!memory.Read(at, thumb ? 2 : 4))
                    break;
                PageFor(at);
            }
            unsigned step = thumb ? 2 : 4;
            const Insn &insn = cached_page_->insns[(at & (kArmPageSize - 1)) >> (thumb ? 1 : 2)];
            count++;
            next = at + step;
            r[15] = at + 2 * step;
            if (insn.cond >= 14 || ConditionPasses(*this, insn.cond))
                insn.handler(*this, insn);
            at = next;
        }
        if (stop.kind != kStopNone || count >= limit)
            break;
        cached_key_ = kNoPage;
        if (!EnterUnmapped(*this, at))
            break;
    }
    if (stop.kind == kStopNone) {
        stop.kind = kStopStepLimit;
        stop.pc = at;
        stop.thumb = thumb;
    }
    limit = budget;
    pc = at;
    r[15] = at;
    return stop.kind;
}
