// Thumb state (Thumb-1 as ARMv5TE has it): one halfword into the handler of
// the ARM instruction that does the same, with its operands, through the
// table of encodings at the end of this file; each row gives the ARM
// operation, access or shift it stands for as its data. Reads of the PC see
// the instruction's address + 4; PC-relative addresses are resolved here,
// word-aligned as the instructions define them.
#include "emulator/decode_table.h"

namespace {

void Undefined(Cpu &c, const Insn &);

// The PC as the instruction at ADDRESS reads it, and that word-aligned.
uint32_t PcOf(uint32_t address) { return address + 4; }
uint32_t AlignedPcOf(uint32_t address) { return (address + 4) & ~3u; }

// A low register field: three bits at LOW.
uint8_t Low(uint32_t h, int low) { return (uint8_t)Field(h, low, 3); }

void Dp(Insn &insn, unsigned op, bool s, int form, unsigned rd, unsigned rn, unsigned rm)
{
    insn.handler = kDataProcessing[op][s][form];
    insn.rd = (uint8_t)rd;
    insn.rn = (uint8_t)rn;
    insn.rm = (uint8_t)rm;
}

void DpImmediate(Insn &insn, unsigned op, bool s, unsigned rd, unsigned rn, uint32_t imm)
{
    Dp(insn, op, s, kOperandImmediate, rd, rn, 0);
    insn.imm = imm;
}

// A load or store with a pre-indexed offset added, no writeback.
void Transfer(Insn &insn, unsigned access, int form, unsigned rd, unsigned rn, unsigned rm, uint32_t imm)
{
    insn.handler = kLoadStore[access][form];
    insn.rd = (uint8_t)rd;
    insn.rn = (uint8_t)rn;
    insn.rm = (uint8_t)rm;
    insn.imm = imm;
    insn.addressing = kPre | kUp;
}

void Block(Insn &insn, bool load, unsigned rn, uint32_t list, uint8_t addressing)
{
    insn.handler = list == 0 ? Undefined : load ? LoadMultiple : StoreMultiple;
    insn.rn = (uint8_t)rn;
    insn.list = list;
    insn.addressing = addressing;
}

// LSL, LSR, ASR (SHIFT) rd, rm, #imm5: MOVS rd, rm, SHIFT #imm5.
void DecodeShiftImmediate(uint32_t h, uint32_t, unsigned shift, Insn &insn)
{
    unsigned amount = Field(h, 6, 5);
    bool plain = shift == kLsl && amount == 0;
    Dp(insn, kMov, true, plain ? kOperandRegister : kOperandShiftImmediate, Low(h, 0), 0, Low(h, 3));
    insn.shift = (uint8_t)shift;
    insn.amount = (uint8_t)amount;
}

// ADDS, SUBS (OP) rd, rn, rm and rd, rn, #imm3.
void DecodeAddSubRegister(uint32_t h, uint32_t, unsigned op, Insn &insn)
{
    Dp(insn, op, true, kOperandRegister, Low(h, 0), Low(h, 3), Low(h, 6));
}

void DecodeAddSubImmediate(uint32_t h, uint32_t, unsigned op, Insn &insn)
{
    DpImmediate(insn, op, true, Low(h, 0), Low(h, 3), Low(h, 6));
}

// MOVS, CMP, ADDS, SUBS (OP) rd, #imm8.
void DecodeImmediate8(uint32_t h, uint32_t, unsigned op, Insn &insn)
{
    DpImmediate(insn, op, true, Low(h, 8), Low(h, 8), Field(h, 0, 8));
}

// The ALU operations (OP) rd, rm: OPS rd, rd, rm.
void DecodeAluRegister(uint32_t h, uint32_t, unsigned op, Insn &insn)
{
    Dp(insn, op, true, kOperandRegister, Low(h, 0), Low(h, 0), Low(h, 3));
}

// LSL, LSR, ASR, ROR (SHIFT) rd, rs: MOVS rd, rd, SHIFT rs.
void DecodeShiftRegister(uint32_t h, uint32_t, unsigned shift, Insn &insn)
{
    Dp(insn, kMov, true, kOperandShiftRegister, Low(h, 0), 0, Low(h, 0));
    insn.rs = Low(h, 3);
    insn.shift = (uint8_t)shift;
}

// NEG rd, rm: RSBS rd, rm, #0.
void DecodeNegate(uint32_t h, uint32_t, unsigned, Insn &insn) { DpImmediate(insn, kRsb, true, Low(h, 0), Low(h, 3), 0); }

// MUL rd, rm: MULS rd, rm, rd.
void DecodeMultiply(uint32_t h, uint32_t, unsigned, Insn &insn)
{
    insn.handler = kMultiply[false][true];
    insn.rd = Low(h, 0);
    insn.rm = Low(h, 3);
    insn.rs = Low(h, 0);
}

// ADD, CMP, MOV (OP) on any registers: rd is bit 7 with bits 2:0, rm bits 6:3.
void DecodeHighRegisters(uint32_t h, uint32_t, unsigned op, Insn &insn)
{
    unsigned d = Low(h, 0) | Field(h, 7, 1) << 3, m = Field(h, 3, 4);
    if (op == kCmp)
        Dp(insn, kCmp, true, kOperandRegister, 0, d, m);
    else
        Dp(insn, op, false, kOperandRegister, d, op == kAdd ? d : 0, m);
}

void DecodeBranchExchange(uint32_t h, uint32_t, unsigned link, Insn &insn)
{
    insn.rm = (uint8_t)Field(h, 3, 4);
    insn.handler = !link ? BranchExchange : insn.rm == kPc ? Undefined : BranchLinkExchange;
}

// LDR rd, [pc, #imm8 * 4].
void DecodeLiteralLoad(uint32_t h, uint32_t address, unsigned, Insn &insn)
{
    Transfer(insn, kLdr, kOffsetAbsolute, Low(h, 8), 0, 0, AlignedPcOf(address) + 4 * Field(h, 0, 8));
}

// ACCESS rd, [rn, rm].
void DecodeRegisterOffset(uint32_t h, uint32_t, unsigned access, Insn &insn)
{
    Transfer(insn, access, kOffsetRegister, Low(h, 0), Low(h, 3), Low(h, 6), 0);
}

// ACCESS rd, [rn, #imm5 * the access's size].
void DecodeImmediateOffset(uint32_t h, uint32_t, unsigned access, Insn &insn)
{
    unsigned size = access == kLdrb || access == kStrb ? 1 : access == kLdrh || access == kStrh ? 2 : 4;
    Transfer(insn, access, kOffsetImmediate, Low(h, 0), Low(h, 3), 0, Field(h, 6, 5) * size);
}

// ACCESS rd, [sp, #imm8 * 4].
void DecodeStackOffset(uint32_t h, uint32_t, unsigned access, Insn &insn)
{
    Transfer(insn, access, kOffsetImmediate, Low(h, 8), kSp, 0, 4 * Field(h, 0, 8));
}

// ADD rd, pc, #imm8 * 4 (ADR: MOV of the address) and ADD rd, sp, #imm8 * 4.
void DecodeAddress(uint32_t h, uint32_t address, unsigned, Insn &insn)
{
    DpImmediate(insn, kMov, false, Low(h, 8), 0, AlignedPcOf(address) + 4 * Field(h, 0, 8));
}

void DecodeStackAddress(uint32_t h, uint32_t, unsigned, Insn &insn)
{
    DpImmediate(insn, kAdd, false, Low(h, 8), kSp, 4 * Field(h, 0, 8));
}

// ADD, SUB (OP) sp, #imm7 * 4.
void DecodeAdjustStack(uint32_t h, uint32_t, unsigned op, Insn &insn)
{
    DpImmediate(insn, op, false, kSp, kSp, 4 * Field(h, 0, 7));
}

// PUSH {list, lr}, POP {list, pc} (LOAD): bit 8 adds lr or pc.
void DecodePushPop(uint32_t h, uint32_t, unsigned load, Insn &insn)
{
    uint32_t extra = Bit(h, 8) ? 1u << (load ? kPc : kLr) : 0;
    Block(insn, load, kSp, Field(h, 0, 8) | extra, load ? (kUp | kWriteback) : (kPre | kWriteback));
}

// STMIA, LDMIA (LOAD) rn!, {list}.
void DecodeBlockTransfer(uint32_t h, uint32_t, unsigned load, Insn &insn)
{
    Block(insn, load, Low(h, 8), Field(h, 0, 8), kUp | kWriteback);
}

// B<cond>: condition 1110 is undefined (1111 is SWI's row).
void DecodeConditionalBranch(uint32_t h, uint32_t address, unsigned, Insn &insn)
{
    unsigned cond = Field(h, 8, 4);
    if (cond == kCondAlways)
        return;
    insn.cond = (uint8_t)cond;
    insn.target = PcOf(address) + (uint32_t)((int32_t)(int8_t)Field(h, 0, 8) * 2);
    insn.handler = Branch;
}

// The signed 11-bit offset of B and of the BL prefix.
int32_t Offset11(uint32_t h) { return (int32_t)(Field(h, 0, 11) << 21) >> 21; }

void DecodeBranch(uint32_t h, uint32_t address, unsigned, Insn &insn)
{
    insn.target = PcOf(address) + (uint32_t)(Offset11(h) * 2);
    insn.handler = Branch;
}

// The first half of BL and BLX: lr = PC + the offset's high part.
void DecodeBranchLinkPrefix(uint32_t h, uint32_t, unsigned, Insn &insn)
{
    insn.imm = (uint32_t)(Offset11(h) * 4096);
    insn.handler = ThumbBranchLinkPrefix;
}

// The second half of BL, or of BLX (EXCHANGE, into ARM state: an odd
// offset is undefined): to lr + the offset's low part.
void DecodeBranchLinkSuffix(uint32_t h, uint32_t, unsigned exchange, Insn &insn)
{
    insn.imm = Field(h, 0, 11) * 2;
    if (!exchange)
        insn.handler = ThumbBranchLinkSuffix;
    else
        insn.handler = Bit(h, 0) ? Undefined : ThumbBranchLinkExchangeSuffix;
}

void DecodeBreakpoint(uint32_t, uint32_t, unsigned, Insn &insn) { insn.handler = Breakpoint; }
void DecodeSoftwareInterrupt(uint32_t, uint32_t, unsigned, Insn &insn) { insn.handler = SoftwareInterrupt; }

// The encodings: thumb.inc.
constexpr Encoding kThumb[] = {
#define INST(name, pattern, decode, data) Encoding(name, pattern, decode, data),
#include "emulator/thumb.inc"
#undef INST
};
static_assert(Unambiguous(kThumb, 16), "each halfword matches one row first");
constexpr auto kThumbRows = BySpecificity(kThumb);

void Undefined(Cpu &c, const Insn &)
{
    uint16_t half = 0;
    if (const uint8_t *p = c.memory.Read(c.CurrentPc(), 2))
        memcpy(&half, p, 2);
    StopUndefined(c, Match(kThumbRows, half));
}

}  // namespace

const char *ThumbEncodingName(uint16_t half)
{
    const Encoding *row = Match(kThumbRows, half);
    return row ? row->name : nullptr;
}

void DecodeThumb(uint16_t h, uint32_t address, Insn &insn)
{
    insn = Blank(Undefined, kCondAlways);
    if (const Encoding *row = Match(kThumbRows, h))
        row->decode(h, address, row->data, insn);
}
