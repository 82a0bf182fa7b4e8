// The run loop: the condition check, the cache of decoded pages and the
// traps.
#include "emulator/cpu.h"
#include "emulator/decode.h"
#include <stdio.h>

// Which NZCV values (bit N*8+Z*4+C*2+V) each condition accepts.
struct ConditionTable {
    uint16_t accepts[16];
    constexpr ConditionTable() : accepts()
    {
        for (int cond = 0; cond < 16; cond++) {
            uint16_t mask = 0;
            for (int f = 0; f < 16; f++) {
                bool n = f & 8, z = f & 4, c = f & 2, v = f & 1, ok = false;
                switch (cond >> 1) {
                case 0: ok = z; break;              // EQ, NE
                case 1: ok = c; break;              // CS, CC
                case 2: ok = n; break;              // MI, PL
                case 3: ok = v; break;              // VS, VC
                case 4: ok = c && !z; break;        // HI, LS
                case 5: ok = n == v; break;         // GE, LT
                case 6: ok = !z && n == v; break;   // GT, LE
                case 7: ok = true; break;           // AL
                }
                if (cond < kCondAlways && (cond & 1))
                    ok = !ok;
                if (ok)
                    mask |= (uint16_t)(1u << f);
            }
            accepts[cond] = mask;
        }
    }
};
static constexpr ConditionTable kConditions;

static inline bool ConditionPasses(const Cpu &c, unsigned cond)
{
    unsigned nzcv = (unsigned)c.n << 3 | (unsigned)c.z << 2 | (unsigned)c.c << 1 | c.v;
    return (kConditions.accepts[cond] >> nzcv) & 1;
}

// The handler of not-yet-decoded entries: decodes, stores, executes.
static void DecodeAndExecute(Cpu &cpu, const Insn &slot)
{
    uint32_t address = cpu.CurrentPc();
    Insn &insn = const_cast<Insn &>(slot);   // the entry lives in a page the cpu owns
    if (cpu.thumb) {
        const uint8_t *p = cpu.memory.Code(address, 2);
        if (!p) { cpu.Stop(kStopBadAddress, address, address, "instruction fetch"); return; }
        DecodeThumb((uint16_t)(p[0] | p[1] << 8), address, insn);
    } else {
        const uint8_t *p = cpu.memory.Code(address, 4);
        if (!p) { cpu.Stop(kStopBadAddress, address, address, "instruction fetch"); return; }
        DecodeArm((uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16 | (uint32_t)p[3] << 24, address, insn);
    }
    if (insn.cond < kCondAlways && !ConditionPasses(cpu, insn.cond))
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
            insn = Insn{DecodeAndExecute, kCondAlways, 0, 0, 0, 0, 0, 0, 0, {0}};
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
        cpu.r[kPc] = pc + (cpu.thumb ? 4 : 8);
        cpu.Stop(kStopBadAddress, pc, pc, "jump outside known memory");
        return false;
    }
    if (trap->second.stop != kStopNone) {
        cpu.r[kPc] = pc + 8;
        std::string detail = trap->second.name;
        if (trap->second.stop != kStopReturned) {
            char caller[40];
            snprintf(caller, sizeof caller, ", called with lr 0x%08X", cpu.r[kLr]);
            detail += caller;
        }
        cpu.Stop(trap->second.stop, pc, pc, detail);
        return false;
    }
    cpu.count++;
    if (cpu.trap_calls)
        TallyTrapCall(cpu, pc);
    uint32_t back = cpu.r[kLr];
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
void Cpu::RunInState(uint32_t &at)
{
    constexpr uint32_t step = THUMB ? 2 : 4, page_mask = kArmPageSize - 1;
    uint64_t executed = count;
    const uint64_t budget = limit;
    while (executed < budget && ((at & ~page_mask) | THUMB) == cached_key_) {
        const Insn &insn = cached_page_->insns[(at & page_mask) >> (THUMB ? 1 : 2)];
        executed++;
        next = at + step;
        r[kPc] = at + 2 * step;
        if (insn.cond >= kCondAlways || ConditionPasses(*this, insn.cond))
            insn.handler(*this, insn);
        at = next;
    }
    count = executed;
}

StopKind Cpu::Run()
{
    runs++;
    stop = StopReport();
    uint32_t at = pc;
    for (;;) {
        if (thumb)
            RunInState<true>(at);
        else
            RunInState<false>(at);
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
    if (stop.kind == kStopNone)
        Stop(kStopStepLimit, at, 0, "");
    pc = StopIsFault(stop.kind) && stop.kind != kStopStepLimit ? stop.pc : at;
    r[kPc] = pc;
    runs--;
    return stop.kind;
}
