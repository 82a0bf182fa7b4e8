// The handlers: the tables of the templates, and those that are not
// templates (CLZ, MRS, block transfers, branches and the stops).
#include "emulator/execute.h"

// The handler tables of the templates of execute.h, each expanded from a
// list of its arguments.
#define DP_FORMS(OP, S) {DataProcessing<OP, S, kOperandImmediate>, DataProcessing<OP, S, kOperandRotatedImmediate>, \
                         DataProcessing<OP, S, kOperandShiftImmediate>, DataProcessing<OP, S, kOperandShiftRegister>, \
                         DataProcessing<OP, S, kOperandRegister>}
#define DP_OP(OP) {DP_FORMS(OP, false), DP_FORMS(OP, true)}
const InsnHandler kDataProcessing[16][2][kOperandForms] = {
    DP_OP(kAnd), DP_OP(kEor), DP_OP(kSub), DP_OP(kRsb), DP_OP(kAdd), DP_OP(kAdc), DP_OP(kSbc), DP_OP(kRsc),
    DP_OP(kTst), DP_OP(kTeq), DP_OP(kCmp), DP_OP(kCmn), DP_OP(kOrr), DP_OP(kMov), DP_OP(kBic), DP_OP(kMvn)};
#undef DP_OP
#undef DP_FORMS

#define LS_FORMS(A) {LoadStore<A, kOffsetImmediate>, LoadStore<A, kOffsetRegister>, LoadStore<A, kOffsetAbsolute>}
const InsnHandler kLoadStore[kAccesses][kOffsetForms] = {
    LS_FORMS(kLdr), LS_FORMS(kStr), LS_FORMS(kLdrb), LS_FORMS(kStrb), LS_FORMS(kLdrh),
    LS_FORMS(kStrh), LS_FORMS(kLdrsb), LS_FORMS(kLdrsh), LS_FORMS(kLdrd), LS_FORMS(kStrd)};
#undef LS_FORMS

// Two flags' four handlers: [A][B].
#define BY_TWO(T, ...) {{T<__VA_ARGS__ false, false>, T<__VA_ARGS__ false, true>}, {T<__VA_ARGS__ true, false>, T<__VA_ARGS__ true, true>}}
const InsnHandler kMultiply[2][2] = BY_TWO(Multiply);
const InsnHandler kMultiplyLong[2][2][2] = {BY_TWO(MultiplyLong, false,), BY_TWO(MultiplyLong, true,)};
const InsnHandler kSignedMultiplyHalves[2][2][2] = {BY_TWO(SignedMultiplyHalves, false,), BY_TWO(SignedMultiplyHalves, true,)};
const InsnHandler kSignedMultiplyWordHalf[2][2] = BY_TWO(SignedMultiplyWordHalf);
const InsnHandler kSignedMultiplyHalvesLong[2][2] = BY_TWO(SignedMultiplyHalvesLong);
#undef BY_TWO
const InsnHandler kSaturatingArithmetic[4] = {SaturatingArithmetic<kQadd>, SaturatingArithmetic<kQsub>,
                                              SaturatingArithmetic<kQdadd>, SaturatingArithmetic<kQdsub>};
const InsnHandler kSwap[2] = {Swap<false>, Swap<true>};

void CountLeadingZeros(Cpu &c, const Insn &i)
{
    uint32_t value = c.r[i.rm];
    c.r[i.rd] = value ? (uint32_t)__builtin_clz(value) : 32;
}

void ReadStatus(Cpu &c, const Insn &i) { c.r[i.rd] = c.Cpsr(); }

// The addresses of a block transfer of COUNT words: the lowest, and the
// base register's value after it.
static void BlockAddresses(const Cpu &c, const Insn &i, uint32_t count, uint32_t &lowest, uint32_t &after)
{
    uint32_t base = c.r[i.rn];
    if (i.addressing & kUp) {
        lowest = (i.addressing & kPre) ? base + 4 : base;
        after = base + 4 * count;
    } else {
        lowest = base - 4 * count + ((i.addressing & kPre) ? 0 : 4);
        after = base - 4 * count;
    }
}

void LoadMultiple(Cpu &c, const Insn &i)
{
    uint32_t list = i.list, count = (uint32_t)__builtin_popcount(list), lowest, after;
    BlockAddresses(c, i, count, lowest, after);
    if (!Aligned(c, lowest, 4, "multiple-word read"))
        return;
    uint32_t values[16];
    const uint8_t *p = c.memory.Read(lowest, 4 * count);
    for (uint32_t k = 0; k < count; k++) {
        const uint8_t *word = p ? p + 4 * k : c.memory.Read(lowest + 4 * k, 4);
        if (!word) { c.AccessFault(lowest + 4 * k, "multiple-word read"); return; }
        memcpy(&values[k], word, 4);
    }
    if (i.addressing & kWriteback)
        c.r[i.rn] = after;
    uint32_t k = 0;
    for (unsigned reg = 0; reg < kPc; reg++)
        if (list & (1u << reg))
            c.r[reg] = values[k++];
    if (list & (1u << kPc))
        InterworkPc(c, values[k]);
}

void StoreMultiple(Cpu &c, const Insn &i)
{
    uint32_t list = i.list, count = (uint32_t)__builtin_popcount(list), lowest, after;
    BlockAddresses(c, i, count, lowest, after);
    if (!Aligned(c, lowest, 4, "multiple-word write"))
        return;
    uint8_t *p = c.memory.Write(lowest, 4 * count);
    if (!p) {
        for (uint32_t k = 0; k < count; k++)
            if (!c.memory.Write(lowest + 4 * k, 4)) { c.AccessFault(lowest + 4 * k, "multiple-word write"); return; }
    }
    uint32_t k = 0;
    for (unsigned reg = 0; reg < 16; reg++) {
        if (list & (1u << reg)) {
            uint8_t *word = p ? p + 4 * k : c.memory.Write(lowest + 4 * k, 4);
            memcpy(word, &c.r[reg], 4);
            k++;
        }
    }
    if (i.addressing & kWriteback)
        c.r[i.rn] = after;
}

void Branch(Cpu &c, const Insn &i) { c.next = i.target; }

void BranchLink(Cpu &c, const Insn &i)
{
    c.r[kLr] = c.next;
    c.next = i.target;
}

void BranchLinkExchangeImmediate(Cpu &c, const Insn &i)
{
    c.r[kLr] = c.next;
    c.SetThumb(true);
    c.next = i.target;
}

void BranchExchange(Cpu &c, const Insn &i) { InterworkPc(c, c.r[i.rm]); }

void BranchLinkExchange(Cpu &c, const Insn &i)
{
    uint32_t target = c.r[i.rm];
    c.r[kLr] = c.next | (c.thumb ? 1 : 0);
    InterworkPc(c, target);
}

void ThumbBranchLinkPrefix(Cpu &c, const Insn &i) { c.r[kLr] = c.r[kPc] + i.imm; }

void ThumbBranchLinkSuffix(Cpu &c, const Insn &i)
{
    uint32_t target = c.r[kLr] + i.imm;
    c.r[kLr] = c.next | 1;
    c.next = target & ~1u;
}

void ThumbBranchLinkExchangeSuffix(Cpu &c, const Insn &i)
{
    uint32_t target = (c.r[kLr] + i.imm) & ~3u;
    c.r[kLr] = c.next | 1;
    c.SetThumb(false);
    c.next = target;
}

void Nothing(Cpu &, const Insn &) {}
void Coprocessor(Cpu &c, const Insn &) { c.Fault(kStopCoprocessor, c.CurrentPc(), "no coprocessor"); }
void SoftwareInterrupt(Cpu &c, const Insn &) { c.Fault(kStopSoftwareInterrupt, c.CurrentPc(), "SWI"); }
void Breakpoint(Cpu &c, const Insn &) { c.Fault(kStopBreakpoint, c.CurrentPc(), "BKPT"); }
