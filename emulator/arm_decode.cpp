// ARM state: one 32-bit instruction word into a handler and its operands,
// through the table of encodings at the end of this file. Addresses known
// when decoding (branch targets, PC-relative loads) are resolved here, once.
#include "emulator/decode_table.h"

namespace {

void Undefined(Cpu &c, const Insn &);

void Set(Insn &insn, InsnHandler handler) { insn.handler = handler; }

// A transfer's P, U and W bits (24, 23, 21).
uint8_t AddressingOf(uint32_t w)
{
    return (uint8_t)((Bit(w, 24) ? kPre : 0) | (Bit(w, 23) ? kUp : 0) | (Bit(w, 21) ? kWriteback : 0));
}
// A transfer writes its base back after the access, or before it with W.
bool WritesBack(uint8_t addressing) { return !(addressing & kPre) || (addressing & kWriteback); }

// The registers where most encodings have them: rn in bits 19:16, rd in
// 15:12, rs in 11:8, rm in 3:0 (a handler reads only its own).
void Registers(uint32_t w, Insn &insn)
{
    insn.rn = (uint8_t)Field(w, 16, 4);
    insn.rd = (uint8_t)Field(w, 12, 4);
    insn.rs = (uint8_t)Field(w, 8, 4);
    insn.rm = (uint8_t)Field(w, 0, 4);
}

// A register operand shifted by an immediate: the type in bits 6:5, the
// amount in 11:7.
void ShiftedOperand(uint32_t w, Insn &insn)
{
    insn.shift = (uint8_t)Field(w, 5, 2);
    insn.amount = (uint8_t)Field(w, 7, 5);
}

// The handler of data processing OP in FORM, once rd, rn and the operand
// are in INSN.
void SetDataProcessing(Insn &insn, unsigned op, bool s, int form)
{
    // The test operations without S are the miscellaneous instructions'
    // space (a word there that matched none of its rows is undefined);
    // MOVS pc, lr and the like return from an exception: not in user mode.
    if (IsTest((int)op) ? !s : s && insn.rd == kPc)
        Set(insn, Undefined);
    else
        Set(insn, kDataProcessing[op][s][form]);
}

void DecodeDataImmediate(uint32_t w, uint32_t, unsigned, Insn &insn)
{
    unsigned rotate = 2 * Field(w, 8, 4);
    Registers(w, insn);
    insn.imm = Ror(Field(w, 0, 8), rotate);
    SetDataProcessing(insn, Field(w, 21, 4), Bit(w, 20), rotate ? kOperandRotatedImmediate : kOperandImmediate);
}

void DecodeDataRegister(uint32_t w, uint32_t, unsigned, Insn &insn)
{
    Registers(w, insn);
    ShiftedOperand(w, insn);
    bool plain = insn.shift == kLsl && insn.amount == 0;
    SetDataProcessing(insn, Field(w, 21, 4), Bit(w, 20), plain ? kOperandRegister : kOperandShiftImmediate);
}

void DecodeDataShiftedByRegister(uint32_t w, uint32_t, unsigned, Insn &insn)
{
    Registers(w, insn);
    insn.shift = (uint8_t)Field(w, 5, 2);
    if (insn.rd == kPc || insn.rn == kPc || insn.rm == kPc || insn.rs == kPc)
        Set(insn, Undefined);   // unpredictable with a register shift
    else
        SetDataProcessing(insn, Field(w, 21, 4), Bit(w, 20), kOperandShiftRegister);
}

// LDR, STR, LDRB, STRB (with the T forms) of an immediate offset: ACCESS.
void DecodeWordByteImmediate(uint32_t w, uint32_t address, unsigned access, Insn &insn)
{
    Registers(w, insn);
    insn.addressing = AddressingOf(w);
    insn.imm = Field(w, 0, 12);
    bool writeback = WritesBack(insn.addressing);
    if (insn.rn == kPc && !writeback) {
        // PC-relative: the address is known now.
        insn.imm = (insn.addressing & kUp) ? address + 8 + insn.imm : address + 8 - insn.imm;
        Set(insn, kLoadStore[access][kOffsetAbsolute]);
    } else if ((writeback && (insn.rn == kPc || insn.rn == insn.rd)) ||
               ((access == kLdrb || access == kStrb) && insn.rd == kPc)) {
        Set(insn, Undefined);
    } else {
        Set(insn, kLoadStore[access][kOffsetImmediate]);
    }
}

// The same of a register offset shifted by an immediate.
void DecodeWordByteRegister(uint32_t w, uint32_t, unsigned access, Insn &insn)
{
    Registers(w, insn);
    insn.addressing = AddressingOf(w);
    ShiftedOperand(w, insn);
    if (insn.rm == kPc || (WritesBack(insn.addressing) && (insn.rn == kPc || insn.rn == insn.rd)))
        Set(insn, Undefined);
    else
        Set(insn, kLoadStore[access][kOffsetRegister]);
}

// Halfword, signed and doubleword transfers (LDRH, STRH, LDRSB, LDRSH,
// LDRD, STRD): ACCESS; bit 22 selects an immediate offset.
void DecodeExtraLoadStore(uint32_t w, uint32_t address, unsigned access, Insn &insn)
{
    Registers(w, insn);
    insn.addressing = AddressingOf(w);
    bool writeback = WritesBack(insn.addressing);
    bool pair = access == kLdrd || access == kStrd;
    // P = 0 with W = 1 is not a halfword instruction; a pair needs an even
    // register below r14; the PC is no target for these.
    if ((!(insn.addressing & kPre) && (insn.addressing & kWriteback)) || (pair && ((insn.rd & 1) || insn.rd == kLr)) ||
        insn.rd == kPc || (writeback && (insn.rn == kPc || insn.rn == insn.rd || (pair && insn.rn == insn.rd + 1)))) {
        Set(insn, Undefined);
        return;
    }
    if (!Bit(w, 22)) {
        if (insn.rm == kPc || (access == kLdrd && (insn.rm == insn.rd || insn.rm == insn.rd + 1)))
            Set(insn, Undefined);
        else
            Set(insn, kLoadStore[access][kOffsetRegister]);   // rm shifted by LSL #0
        return;
    }
    insn.imm = Field(w, 8, 4) << 4 | Field(w, 0, 4);
    if (insn.rn == kPc) {
        insn.imm = (insn.addressing & kUp) ? address + 8 + insn.imm : address + 8 - insn.imm;
        Set(insn, kLoadStore[access][kOffsetAbsolute]);
        return;
    }
    Set(insn, kLoadStore[access][kOffsetImmediate]);
}

// The multiplies' registers: rd (or the high word) in bits 19:16, rn (or
// the low word) in 15:12, rs in 11:8, rm in 3:0.
void MultiplyRegisters(uint32_t w, Insn &insn)
{
    insn.rd = (uint8_t)Field(w, 16, 4);
    insn.rn = (uint8_t)Field(w, 12, 4);
    insn.rs = (uint8_t)Field(w, 8, 4);
    insn.rm = (uint8_t)Field(w, 0, 4);
}
bool AnyPc(const Insn &insn) { return insn.rd == kPc || insn.rs == kPc || insn.rm == kPc; }

// MUL, MLA (bit 21).
void DecodeMultiply(uint32_t w, uint32_t, unsigned, Insn &insn)
{
    MultiplyRegisters(w, insn);
    bool accumulate = Bit(w, 21);
    Set(insn, AnyPc(insn) || (accumulate && insn.rn == kPc) ? Undefined : kMultiply[accumulate][Bit(w, 20)]);
}

// UMULL, UMLAL, SMULL, SMLAL: signed (bit 22), accumulate (bit 21).
void DecodeMultiplyLong(uint32_t w, uint32_t, unsigned, Insn &insn)
{
    MultiplyRegisters(w, insn);
    bool bad = AnyPc(insn) || insn.rn == kPc || insn.rn == insn.rd;
    Set(insn, bad ? Undefined : kMultiplyLong[Bit(w, 22)][Bit(w, 21)][Bit(w, 20)]);
}

// SMLAxy, SMULxy (ACCUMULATE: the row's data), SMLAWy, SMULWy, SMLALxy: x
// is bit 5, y bit 6.
void DecodeMultiplyHalves(uint32_t w, uint32_t, unsigned accumulate, Insn &insn)
{
    MultiplyRegisters(w, insn);
    bool bad = AnyPc(insn) || (accumulate && insn.rn == kPc);
    Set(insn, bad ? Undefined : kSignedMultiplyHalves[accumulate][Bit(w, 5)][Bit(w, 6)]);
}

void DecodeMultiplyWordHalf(uint32_t w, uint32_t, unsigned accumulate, Insn &insn)
{
    MultiplyRegisters(w, insn);
    bool bad = AnyPc(insn) || (accumulate && insn.rn == kPc);
    Set(insn, bad ? Undefined : kSignedMultiplyWordHalf[accumulate][Bit(w, 6)]);
}

void DecodeMultiplyHalvesLong(uint32_t w, uint32_t, unsigned, Insn &insn)
{
    MultiplyRegisters(w, insn);
    bool bad = AnyPc(insn) || insn.rn == kPc || insn.rn == insn.rd;
    Set(insn, bad ? Undefined : kSignedMultiplyHalvesLong[Bit(w, 5)][Bit(w, 6)]);
}

// SWP, SWPB (BYTE): rd = [rn], [rn] = rm.
void DecodeSwap(uint32_t w, uint32_t, unsigned byte, Insn &insn)
{
    Registers(w, insn);
    bool bad = insn.rn == kPc || insn.rd == kPc || insn.rm == kPc || insn.rn == insn.rd || insn.rn == insn.rm;
    Set(insn, bad ? Undefined : kSwap[byte]);
}

// MRS from the CPSR (bit 22, the SPSR, has none in user mode).
void DecodeReadStatus(uint32_t w, uint32_t, unsigned, Insn &insn)
{
    insn.rd = (uint8_t)Field(w, 12, 4);
    Set(insn, Bit(w, 22) || insn.rd == kPc ? Undefined : ReadStatus);
}

// MSR CPSR from a register or an immediate (IMMEDIATE): user mode writes
// the flags field (bit 19 of the field mask) and ignores the others.
void DecodeWriteStatus(uint32_t w, uint32_t, unsigned immediate, Insn &insn)
{
    insn.rm = (uint8_t)Field(w, 0, 4);
    insn.imm = immediate ? Ror(Field(w, 0, 8), 2 * Field(w, 8, 4)) : 0;
    if (Bit(w, 22) || (!immediate && insn.rm == kPc))
        Set(insn, Undefined);
    else if (!Bit(w, 19))
        Set(insn, Nothing);
    else
        Set(insn, immediate ? WriteStatus<true> : WriteStatus<false>);
}

void DecodeBranchExchange(uint32_t w, uint32_t, unsigned, Insn &insn)
{
    insn.rm = (uint8_t)Field(w, 0, 4);
    Set(insn, BranchExchange);
}

void DecodeBranchLinkExchange(uint32_t w, uint32_t, unsigned, Insn &insn)
{
    insn.rm = (uint8_t)Field(w, 0, 4);
    Set(insn, insn.rm == kPc ? Undefined : BranchLinkExchange);
}

void DecodeCountLeadingZeros(uint32_t w, uint32_t, unsigned, Insn &insn)
{
    Registers(w, insn);
    Set(insn, insn.rd == kPc || insn.rm == kPc ? Undefined : CountLeadingZeros);
}

// QADD, QSUB, QDADD, QDSUB (OP) rd, rm, rn.
void DecodeSaturating(uint32_t w, uint32_t, unsigned op, Insn &insn)
{
    Registers(w, insn);
    Set(insn, insn.rd == kPc || insn.rn == kPc || insn.rm == kPc ? Undefined : kSaturatingArithmetic[op]);
}

// LDM, STM (LOAD): the S forms reach user registers or the SPSR, not from
// user mode.
void DecodeBlockTransfer(uint32_t w, uint32_t, unsigned load, Insn &insn)
{
    insn.rn = (uint8_t)Field(w, 16, 4);
    insn.list = Field(w, 0, 16);
    insn.addressing = AddressingOf(w);
    if (Bit(w, 22) || insn.list == 0 || insn.rn == kPc)
        Set(insn, Undefined);
    else
        Set(insn, load ? LoadMultiple : StoreMultiple);
}

// B, BL (LINK): a signed word offset from PC.
void DecodeBranch(uint32_t w, uint32_t address, unsigned link, Insn &insn)
{
    insn.target = address + 8 + (uint32_t)((int32_t)(w << 8) >> 6);
    Set(insn, link ? BranchLink : Branch);
}

// BLX to a label, into Thumb state: bit 24 adds a halfword.
void DecodeBranchLinkExchangeImmediate(uint32_t w, uint32_t address, unsigned, Insn &insn)
{
    insn.target = address + 8 + (uint32_t)((int32_t)(w << 8) >> 6) + (Bit(w, 24) ? 2 : 0);
    Set(insn, BranchLinkExchangeImmediate);
}

// Rows whose handler takes no operand.
void DecodeNothing(uint32_t, uint32_t, unsigned, Insn &insn) { Set(insn, Nothing); }
void DecodeCoprocessor(uint32_t, uint32_t, unsigned, Insn &insn) { Set(insn, Coprocessor); }
void DecodeSoftwareInterrupt(uint32_t, uint32_t, unsigned, Insn &insn) { Set(insn, SoftwareInterrupt); }
void DecodeBreakpoint(uint32_t, uint32_t, unsigned, Insn &insn) { Set(insn, Breakpoint); }

// The encodings of a condition other than 1111: arm_conditional.inc.
constexpr Encoding kConditional[] = {
#define INST(name, pattern, decode, data) Encoding(name, pattern, decode, data),
#include "emulator/arm_conditional.inc"
#undef INST
};
// The encodings of condition 1111 (H: BLX adds a halfword): everything
// else there is undefined.
constexpr Encoding kUnconditional[] = {
    {"BLX (immediate)", "1111 101H iiii iiii iiii iiii iiii iiii", DecodeBranchLinkExchangeImmediate},
    {"PLD",     "1111 01x1 x101 nnnn 1111 xxxx xxxx xxxx", DecodeNothing},
};
static_assert(Unambiguous(kConditional, 32) && Unambiguous(kUnconditional, 32), "each word matches one row first");
constexpr auto kConditionalRows = BySpecificity(kConditional);
constexpr auto kUnconditionalRows = BySpecificity(kUnconditional);

const Encoding *FindArm(uint32_t w)
{
    return Field(w, 28, 4) == 0xF ? Match(kUnconditionalRows, w) : Match(kConditionalRows, w);
}

void Undefined(Cpu &c, const Insn &)
{
    uint32_t word = 0;
    if (const uint8_t *p = c.memory.Read(c.CurrentPc(), 4))
        memcpy(&word, p, 4);
    StopUndefined(c, FindArm(word));
}

}  // namespace

const char *ArmEncodingName(uint32_t word)
{
    const Encoding *row = FindArm(word);
    return row ? row->name : nullptr;
}

void DecodeArm(uint32_t w, uint32_t address, Insn &insn)
{
    unsigned cond = Field(w, 28, 4);
    insn = Blank(Undefined, (uint8_t)(cond == 0xF ? (unsigned)kCondAlways : cond));
    if (const Encoding *row = FindArm(w))
        row->decode(w, address, row->data, insn);
}
