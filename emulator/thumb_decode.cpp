// Thumb state (Thumb-1 as ARMv5TE has it): one halfword into the handler of
// the ARM instruction that does the same, with its operands. Reads of the
// PC see the instruction's address + 4; PC-relative addresses are resolved
// here, word-aligned as the instructions define them.
#include "emulator/execute.h"

enum { kAnd = 0, kEor = 1, kSub = 2, kRsb = 3, kAdd = 4, kAdc = 5, kSbc = 6, kTst = 8,
       kCmp = 10, kCmn = 11, kOrr = 12, kMov = 13, kBic = 14, kMvn = 15 };

static inline uint32_t Field(uint32_t half, int low, int width) { return (half >> low) & ((1u << width) - 1); }

static void Dp(Insn &insn, int op, bool s, int form, unsigned rd, unsigned rn, unsigned rm)
{
    insn.handler = kDataProcessing[op][s][form];
    insn.rd = (uint8_t)rd;
    insn.rn = (uint8_t)rn;
    insn.rm = (uint8_t)rm;
}

static void DpImmediate(Insn &insn, int op, bool s, unsigned rd, unsigned rn, uint32_t imm)
{
    Dp(insn, op, s, kOperandImmediate, rd, rn, 0);
    insn.imm = imm;
    insn.amount = kCarryUnchanged;
}

static void Transfer(Insn &insn, int access, int form, unsigned rd, unsigned rn, unsigned rm, uint32_t imm)
{
    insn.handler = kLoadStore[access][form];
    insn.rd = (uint8_t)rd;
    insn.rn = (uint8_t)rn;
    insn.rm = (uint8_t)rm;
    insn.imm = imm;
    insn.bits = kPre | kUp;
}

static void Block(Insn &insn, bool load, unsigned rn, uint32_t list, uint8_t bits)
{
    insn.handler = list == 0 ? Undefined : load ? LoadMultiple : StoreMultiple;
    insn.rn = (uint8_t)rn;
    insn.imm = list;
    insn.bits = bits;
}

// The ALU operations 010000 op Rm Rd.
static void DecodeAlu(unsigned op, unsigned rd, unsigned rm, Insn &insn)
{
    static const int simple[16] = {kAnd, kEor, -1, -1, -1, kAdc, kSbc, -1, kTst, -1, kCmp, kCmn, kOrr, -1, kBic, kMvn};
    switch (op) {
    case 2: case 3: case 4: case 7:     // LSL, LSR, ASR, ROR by register: MOVS rd, rd, <shift> rm
        Dp(insn, kMov, true, kOperandShiftRegister, rd, 0, rd);
        insn.rs = (uint8_t)rm;
        insn.shift = (uint8_t)(op == 2 ? 0 : op == 3 ? 1 : op == 4 ? 2 : 3);
        return;
    case 9:                             // NEG: RSBS rd, rm, #0
        DpImmediate(insn, kRsb, true, rd, rm, 0);
        return;
    case 13:                            // MULS rd, rm, rd
        insn.handler = Multiply<false, true>;
        insn.rd = (uint8_t)rd;
        insn.rm = (uint8_t)rm;
        insn.rs = (uint8_t)rd;
        return;
    default:
        Dp(insn, simple[op], true, kOperandRegister, rd, rd, rm);
        return;
    }
}

void DecodeThumb(uint16_t h, uint32_t address, Insn &insn)
{
    insn = Insn{Undefined, 14, 0, 0, 0, 0, 0, 0, 0, 0};
    unsigned rd = Field(h, 0, 3), rn = Field(h, 3, 3), r3 = Field(h, 6, 3);
    uint32_t pc = address + 4, aligned_pc = pc & ~3u;
    switch (h >> 13) {
    case 0:
        if (Field(h, 11, 2) < 3) {      // LSL/LSR/ASR rd, rm, #imm5
            Dp(insn, kMov, true, kOperandShiftImmediate, rd, 0, rn);
            insn.shift = (uint8_t)Field(h, 11, 2);
            insn.amount = (uint8_t)Field(h, 6, 5);
            if (insn.shift == 0 && insn.amount == 0)
                insn.handler = kDataProcessing[kMov][1][kOperandRegister];
        } else if (h & (1u << 10)) {    // ADDS/SUBS rd, rn, #imm3
            DpImmediate(insn, (h & (1u << 9)) ? kSub : kAdd, true, rd, rn, r3);
        } else {                        // ADDS/SUBS rd, rn, rm
            Dp(insn, (h & (1u << 9)) ? kSub : kAdd, true, kOperandRegister, rd, rn, r3);
        }
        return;
    case 1: {                           // MOVS, CMP, ADDS, SUBS with imm8
        static const int ops[4] = {kMov, kCmp, kAdd, kSub};
        unsigned reg = Field(h, 8, 3);
        DpImmediate(insn, ops[Field(h, 11, 2)], true, reg, reg, Field(h, 0, 8));
        return;
    }
    case 2:
        if (Field(h, 10, 3) == 0) {
            DecodeAlu(Field(h, 6, 4), rd, rn, insn);
        } else if (Field(h, 10, 3) == 1) {   // hi-register ADD, CMP, MOV; BX, BLX
            unsigned d = rd | (Field(h, 7, 1) << 3), m = Field(h, 3, 4);
            switch (Field(h, 8, 2)) {
            case 0: Dp(insn, kAdd, false, kOperandRegister, d, d, m); break;
            case 1: Dp(insn, kCmp, true, kOperandRegister, 0, d, m); break;
            case 2: Dp(insn, kMov, false, kOperandRegister, d, 0, m); break;
            default:
                insn.rm = (uint8_t)m;
                if (h & (1u << 7))
                    insn.handler = m == 15 ? Undefined : BranchLinkExchange;
                else
                    insn.handler = BranchExchange;
                break;
            }
        } else if (Field(h, 11, 2) == 1) {   // LDR rd, [pc, #imm8 * 4]
            Transfer(insn, kLdr, kOffsetAbsolute, Field(h, 8, 3), 0, 0, aligned_pc + 4 * Field(h, 0, 8));
        } else {                             // 0101 op Rm Rn Rd: register offsets
            static const int access[8] = {kStr, kStrh, kStrb, kLdrsb, kLdr, kLdrh, kLdrb, kLdrsh};
            Transfer(insn, access[Field(h, 9, 3)], kOffsetRegister, rd, rn, r3, 0);
        }
        return;
    case 3: {                               // 011 B L imm5 Rn Rd
        bool byte = h & (1u << 12), load = h & (1u << 11);
        uint32_t offset = Field(h, 6, 5) * (byte ? 1 : 4);
        Transfer(insn, load ? (byte ? kLdrb : kLdr) : (byte ? kStrb : kStr), kOffsetImmediate, rd, rn, 0, offset);
        return;
    }
    case 4:
        if (!(h & (1u << 12)))              // LDRH/STRH rd, [rn, #imm5 * 2]
            Transfer(insn, (h & (1u << 11)) ? kLdrh : kStrh, kOffsetImmediate, rd, rn, 0, Field(h, 6, 5) * 2);
        else                                // LDR/STR rd, [sp, #imm8 * 4]
            Transfer(insn, (h & (1u << 11)) ? kLdr : kStr, kOffsetImmediate, Field(h, 8, 3), 13, 0, 4 * Field(h, 0, 8));
        return;
    case 5:
        if (!(h & (1u << 12))) {            // ADD rd, pc/sp, #imm8 * 4
            unsigned reg = Field(h, 8, 3);
            if (h & (1u << 11))
                DpImmediate(insn, kAdd, false, reg, 13, 4 * Field(h, 0, 8));
            else
                DpImmediate(insn, kMov, false, reg, 0, aligned_pc + 4 * Field(h, 0, 8));
        } else if (Field(h, 8, 4) == 0) {   // ADD/SUB sp, #imm7 * 4
            DpImmediate(insn, (h & (1u << 7)) ? kSub : kAdd, false, 13, 13, 4 * Field(h, 0, 7));
        } else if (Field(h, 9, 2) == 2) {   // PUSH {list, lr} / POP {list, pc}
            bool pop = h & (1u << 11), extra = h & (1u << 8);
            uint32_t list = Field(h, 0, 8) | (extra ? (pop ? 0x8000u : 0x4000u) : 0);
            Block(insn, pop, 13, list, pop ? (kUp | kWriteback) : (kPre | kWriteback));
        } else if (Field(h, 8, 4) == 0xE) {
            insn.handler = Breakpoint;
        }
        return;
    case 6:
        if (!(h & (1u << 12))) {            // STMIA/LDMIA rn!, {list}
            unsigned base = Field(h, 8, 3);
            bool load = h & (1u << 11);
            Block(insn, load, base, Field(h, 0, 8), kUp | kWriteback);
        } else if (Field(h, 8, 4) == 0xF) {
            insn.handler = SoftwareInterrupt;
        } else if (Field(h, 8, 4) != 0xE) { // B<cond>
            insn.cond = (uint8_t)Field(h, 8, 4);
            insn.imm = pc + (uint32_t)((int32_t)(int8_t)Field(h, 0, 8) * 2);
            insn.handler = Branch;
        }
        return;
    default: {
        uint32_t offset11 = Field(h, 0, 11);
        switch (Field(h, 11, 2)) {
        case 0:                             // B
            insn.imm = pc + (uint32_t)(((int32_t)(offset11 << 21) >> 21) * 2);
            insn.handler = Branch;
            return;
        case 1:                             // BLX suffix: into ARM state
            insn.imm = offset11 * 2;
            insn.handler = (offset11 & 1) ? Undefined : ThumbBranchLinkExchangeSuffix;
            return;
        case 2:                             // BL/BLX prefix
            insn.imm = (uint32_t)(((int32_t)(offset11 << 21) >> 21) * 4096);
            insn.handler = ThumbBranchLinkPrefix;
            return;
        default:                            // BL suffix
            insn.imm = offset11 * 2;
            insn.handler = ThumbBranchLinkSuffix;
            return;
        }
    }
    }
}
