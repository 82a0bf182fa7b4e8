// ARM state: one 32-bit instruction word into a handler and its operands.
// Addresses known when decoding (branch targets, PC-relative loads) are
// resolved here, once.
#include "emulator/execute.h"

#define DP_FORMS(OP, S) {DataProcessing<OP, S, 0>, DataProcessing<OP, S, 1>, DataProcessing<OP, S, 2>, DataProcessing<OP, S, 3>}
#define DP_OP(OP) {DP_FORMS(OP, false), DP_FORMS(OP, true)}
// [operation][S][OperandForm]
const InsnHandler kDataProcessing[16][2][4] = {
    DP_OP(0), DP_OP(1), DP_OP(2), DP_OP(3), DP_OP(4), DP_OP(5), DP_OP(6), DP_OP(7),
    DP_OP(8), DP_OP(9), DP_OP(10), DP_OP(11), DP_OP(12), DP_OP(13), DP_OP(14), DP_OP(15)};

#define LS_FORMS(A) {LoadStore<A, kOffsetImmediate>, LoadStore<A, kOffsetRegister>, LoadStore<A, kOffsetAbsolute>}
// [Access][OffsetForm]
const InsnHandler kLoadStore[10][3] = {
    LS_FORMS(kLdr), LS_FORMS(kStr), LS_FORMS(kLdrb), LS_FORMS(kStrb), LS_FORMS(kLdrh),
    LS_FORMS(kStrh), LS_FORMS(kLdrsb), LS_FORMS(kLdrsh), LS_FORMS(kLdrd), LS_FORMS(kStrd)};

static inline uint32_t Field(uint32_t word, int low, int width) { return (word >> low) & ((1u << width) - 1); }

static void Set(Insn &insn, InsnHandler handler) { insn.handler = handler; }

// A data-processing instruction (register operand or immediate).
static void DecodeDataProcessing(uint32_t w, Insn &insn)
{
    unsigned op = Field(w, 21, 4);
    bool s = w & (1u << 20);
    insn.rd = (uint8_t)Field(w, 12, 4);
    insn.rn = (uint8_t)Field(w, 16, 4);
    insn.rm = (uint8_t)Field(w, 0, 4);
    insn.rs = (uint8_t)Field(w, 8, 4);
    int form;
    if (w & (1u << 25)) {
        unsigned rotate = 2 * Field(w, 8, 4);
        insn.imm = Ror(Field(w, 0, 8), rotate);
        insn.amount = rotate == 0 ? (uint8_t)kCarryUnchanged : (uint8_t)(insn.imm >> 31);
        form = kOperandImmediate;
    } else if (w & (1u << 4)) {
        insn.shift = (uint8_t)Field(w, 5, 2);
        form = kOperandShiftRegister;
        if (insn.rd == 15 || insn.rn == 15 || insn.rm == 15 || insn.rs == 15) {
            Set(insn, Undefined);   // unpredictable with a register shift
            return;
        }
    } else {
        insn.shift = (uint8_t)Field(w, 5, 2);
        insn.amount = (uint8_t)Field(w, 7, 5);
        form = insn.shift == 0 && insn.amount == 0 ? kOperandRegister : kOperandShiftImmediate;
    }
    // MOVS pc, lr and the like return from an exception: not in user mode.
    if (s && insn.rd == 15 && (op < 8 || op > 11)) {
        Set(insn, Undefined);
        return;
    }
    Set(insn, kDataProcessing[op][s][form]);
}

// Loads and stores of words and bytes (LDR, STR, LDRB, STRB, with T forms).
static void DecodeWordByte(uint32_t w, uint32_t address, Insn &insn)
{
    bool load = w & (1u << 20), byte = w & (1u << 22), reg = w & (1u << 25);
    insn.rd = (uint8_t)Field(w, 12, 4);
    insn.rn = (uint8_t)Field(w, 16, 4);
    insn.rm = (uint8_t)Field(w, 0, 4);
    insn.bits = (uint8_t)((w & (1u << 24) ? kPre : 0) | (w & (1u << 23) ? kUp : 0) | (w & (1u << 21) ? kWriteback : 0));
    int access = load ? (byte ? kLdrb : kLdr) : (byte ? kStrb : kStr);
    bool writeback = !(insn.bits & kPre) || (insn.bits & kWriteback);
    if (reg) {
        insn.shift = (uint8_t)Field(w, 5, 2);
        insn.amount = (uint8_t)Field(w, 7, 5);
        if (insn.rm == 15 || (writeback && (insn.rn == 15 || insn.rn == insn.rd))) {
            Set(insn, Undefined);
            return;
        }
        Set(insn, kLoadStore[access][kOffsetRegister]);
        return;
    }
    insn.imm = Field(w, 0, 12);
    if (insn.rn == 15 && !writeback) {
        // PC-relative: the address is known now.
        insn.imm = (insn.bits & kUp) ? address + 8 + insn.imm : address + 8 - insn.imm;
        Set(insn, kLoadStore[access][kOffsetAbsolute]);
        return;
    }
    if (writeback && (insn.rn == 15 || insn.rn == insn.rd)) {
        Set(insn, Undefined);
        return;
    }
    if (byte && insn.rd == 15) {
        Set(insn, Undefined);
        return;
    }
    Set(insn, kLoadStore[access][kOffsetImmediate]);
}

// Halfword, signed and doubleword transfers (LDRH, STRH, LDRSB, LDRSH, LDRD, STRD).
static void DecodeExtraLoadStore(uint32_t w, uint32_t address, Insn &insn)
{
    bool load = w & (1u << 20), immediate = w & (1u << 22);
    unsigned sh = Field(w, 5, 2);
    insn.rd = (uint8_t)Field(w, 12, 4);
    insn.rn = (uint8_t)Field(w, 16, 4);
    insn.rm = (uint8_t)Field(w, 0, 4);
    insn.bits = (uint8_t)((w & (1u << 24) ? kPre : 0) | (w & (1u << 23) ? kUp : 0) | (w & (1u << 21) ? kWriteback : 0));
    int access;
    if (sh == 1)
        access = load ? kLdrh : kStrh;
    else if (sh == 2)
        access = load ? kLdrsb : kLdrd;
    else
        access = load ? kLdrsh : kStrd;
    bool writeback = !(insn.bits & kPre) || (insn.bits & kWriteback);
    bool pair = access == kLdrd || access == kStrd;
    // P = 0 with W = 1 is not a halfword instruction; a pair needs an even
    // register below r14; the PC is no target for these.
    if ((!(insn.bits & kPre) && (insn.bits & kWriteback)) || (pair && ((insn.rd & 1) || insn.rd == 14)) ||
        insn.rd == 15 || (writeback && (insn.rn == 15 || insn.rn == insn.rd || (pair && insn.rn == insn.rd + 1)))) {
        Set(insn, Undefined);
        return;
    }
    if (!immediate) {
        if (insn.rm == 15 || (access == kLdrd && (insn.rm == insn.rd || insn.rm == insn.rd + 1))) {
            Set(insn, Undefined);
            return;
        }
        insn.shift = 0;
        insn.amount = 0;
        Set(insn, kLoadStore[access][kOffsetRegister]);
        return;
    }
    insn.imm = Field(w, 8, 4) << 4 | Field(w, 0, 4);
    if (insn.rn == 15) {
        insn.imm = (insn.bits & kUp) ? address + 8 + insn.imm : address + 8 - insn.imm;
        Set(insn, kLoadStore[access][kOffsetAbsolute]);
        return;
    }
    Set(insn, kLoadStore[access][kOffsetImmediate]);
}

// MUL/MLA, the long multiplies, SWP/SWPB (bits 7 and 4 set, bits 6:5 clear).
static void DecodeMultiplyOrSwap(uint32_t w, Insn &insn)
{
    insn.rd = (uint8_t)Field(w, 16, 4);
    insn.rn = (uint8_t)Field(w, 12, 4);
    insn.rs = (uint8_t)Field(w, 8, 4);
    insn.rm = (uint8_t)Field(w, 0, 4);
    bool s = w & (1u << 20), a = w & (1u << 21);
    unsigned op = Field(w, 23, 2);
    bool any_pc = insn.rd == 15 || insn.rs == 15 || insn.rm == 15;
    if (op == 0) {
        if (any_pc || (a && insn.rn == 15) || (w & (1u << 22))) { Set(insn, Undefined); return; }
        static const InsnHandler multiply[2][2] = {{Multiply<false, false>, Multiply<false, true>},
                                                   {Multiply<true, false>, Multiply<true, true>}};
        Set(insn, multiply[a][s]);
    } else if (op == 1) {
        if (any_pc || insn.rn == 15 || insn.rn == insn.rd) { Set(insn, Undefined); return; }
        static const InsnHandler handlers[2][2][2] = {
            {{MultiplyLong<false, false, false>, MultiplyLong<false, false, true>},
             {MultiplyLong<false, true, false>, MultiplyLong<false, true, true>}},
            {{MultiplyLong<true, false, false>, MultiplyLong<true, false, true>},
             {MultiplyLong<true, true, false>, MultiplyLong<true, true, true>}}};
        Set(insn, handlers[(w >> 22) & 1][a][s]);
    } else if (op == 2 && Field(w, 20, 2) == 0 && Field(w, 8, 4) == 0) {
        // SWP{B} rd, rm, [rn]: rd in bits 15:12, rn in 19:16.
        insn.rn = (uint8_t)Field(w, 16, 4);
        insn.rd = (uint8_t)Field(w, 12, 4);
        insn.amount = (w >> 22) & 1;
        if (insn.rn == 15 || insn.rd == 15 || insn.rm == 15 || insn.rn == insn.rd || insn.rn == insn.rm) {
            Set(insn, Undefined);
            return;
        }
        Set(insn, Swap);
    } else {
        Set(insn, Undefined);
    }
}

// The miscellaneous space of data processing's test operations without S:
// MRS, MSR, BX, BLX, CLZ, the saturating adds, BKPT, the DSP multiplies.
static void DecodeMiscellaneous(uint32_t w, Insn &insn)
{
    unsigned op = Field(w, 21, 2), low = Field(w, 4, 4);
    insn.rm = (uint8_t)Field(w, 0, 4);
    insn.rd = (uint8_t)Field(w, 12, 4);
    if (low == 0) {
        if (op & 1) {               // MSR CPSR or SPSR from a register
            insn.bits = (uint8_t)Field(w, 16, 4);
            Set(insn, (op & 2) || insn.rm == 15 ? Undefined : WriteStatus<false>);   // SPSR: no SPSR in user mode
        } else {                    // MRS
            Set(insn, (op & 2) || insn.rd == 15 ? Undefined : ReadStatus);
        }
        return;
    }
    if (low == 1 && op == 1) { Set(insn, BranchExchange); return; }
    if (low == 1 && op == 3) { Set(insn, insn.rd == 15 || insn.rm == 15 ? Undefined : CountLeadingZeros); return; }
    if (low == 3 && op == 1) { Set(insn, insn.rm == 15 ? Undefined : BranchLinkExchange); return; }
    if (low == 5) {                 // QADD, QSUB, QDADD, QDSUB rd, rm, rn
        insn.rn = (uint8_t)Field(w, 16, 4);
        insn.amount = (uint8_t)op;
        Set(insn, insn.rd == 15 || insn.rn == 15 || insn.rm == 15 ? Undefined : SaturatingArithmetic);
        return;
    }
    if (low == 7 && op == 1) { Set(insn, Breakpoint); return; }
    if ((low & 9) == 8) {           // signed multiplies of halfwords
        insn.rd = (uint8_t)Field(w, 16, 4);
        insn.rn = (uint8_t)Field(w, 12, 4);
        insn.rs = (uint8_t)Field(w, 8, 4);
        bool x = w & (1u << 5), y = w & (1u << 6);
        insn.bits = (uint8_t)((x ? 1 : 0) | (y ? 2 : 0));
        if (insn.rd == 15 || insn.rs == 15 || insn.rm == 15) { Set(insn, Undefined); return; }
        switch (op) {
        case 0:                     // SMLAxy
            insn.bits |= 4;
            Set(insn, insn.rn == 15 ? Undefined : SignedMultiplyHalves);
            return;
        case 1:                     // SMLAWy (x clear) or SMULWy (x set)
            if (!x)
                insn.bits |= 4;
            insn.bits &= 6;
            Set(insn, !x && insn.rn == 15 ? Undefined : SignedMultiplyWordHalf);
            return;
        case 2:                     // SMLALxy: rd high, rn low
            Set(insn, insn.rn == 15 || insn.rn == insn.rd ? Undefined : SignedMultiplyHalvesLong);
            return;
        default:                    // SMULxy
            Set(insn, SignedMultiplyHalves);
            return;
        }
    }
    Set(insn, Undefined);
}

static void DecodeBlockTransfer(uint32_t w, Insn &insn)
{
    insn.rn = (uint8_t)Field(w, 16, 4);
    insn.imm = Field(w, 0, 16);
    insn.bits = (uint8_t)((w & (1u << 24) ? kPre : 0) | (w & (1u << 23) ? kUp : 0) | (w & (1u << 21) ? kWriteback : 0));
    bool load = w & (1u << 20);
    // The S forms reach user registers or the SPSR: not from user mode.
    if ((w & (1u << 22)) || insn.imm == 0 || insn.rn == 15) {
        Set(insn, Undefined);
        return;
    }
    Set(insn, load ? LoadMultiple : StoreMultiple);
}

void DecodeArm(uint32_t w, uint32_t address, Insn &insn)
{
    insn = Insn{Undefined, (uint8_t)(w >> 28), 0, 0, 0, 0, 0, 0, 0, 0};
    if (insn.cond == 15) {
        insn.cond = 14;
        if (Field(w, 25, 3) == 5) {         // BLX immediate: into Thumb state
            int32_t offset = (int32_t)(w << 8) >> 6;
            insn.imm = address + 8 + (uint32_t)offset + ((w >> 23) & 2);
            Set(insn, BranchLinkExchangeImmediate);
        } else if ((w & 0x0D70F000u) == 0x0550F000u) {
            Set(insn, Nothing);             // PLD
        }
        return;
    }
    switch (Field(w, 25, 3)) {
    case 0:
        if ((w & 0x90) == 0x90) {
            if (Field(w, 5, 2) == 0)
                DecodeMultiplyOrSwap(w, insn);
            else
                DecodeExtraLoadStore(w, address, insn);
        } else if (Field(w, 23, 2) == 2 && !(w & (1u << 20))) {
            DecodeMiscellaneous(w, insn);
        } else {
            DecodeDataProcessing(w, insn);
        }
        return;
    case 1:
        if (Field(w, 23, 2) == 2 && !(w & (1u << 20))) {
            if (w & (1u << 21)) {           // MSR immediate
                insn.imm = Ror(Field(w, 0, 8), 2 * Field(w, 8, 4));
                insn.bits = (uint8_t)Field(w, 16, 4);
                Set(insn, (w & (1u << 22)) ? Undefined : WriteStatus<true>);
            }
            return;
        }
        DecodeDataProcessing(w, insn);
        return;
    case 2:
        DecodeWordByte(w, address, insn);
        return;
    case 3:
        if (!(w & 0x10))
            DecodeWordByte(w, address, insn);
        return;
    case 4:
        DecodeBlockTransfer(w, insn);
        return;
    case 5: {
        int32_t offset = (int32_t)(w << 8) >> 6;
        insn.imm = address + 8 + (uint32_t)offset;
        Set(insn, (w & (1u << 24)) ? BranchLink : Branch);
        return;
    }
    case 6:
        Set(insn, Coprocessor);
        return;
    default:
        Set(insn, (w & (1u << 24)) ? SoftwareInterrupt : Coprocessor);
        return;
    }
}
