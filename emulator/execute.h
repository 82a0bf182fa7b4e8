// The instruction handlers: what each decoded instruction does to the
// registers, the flags and memory. The decoders pick a handler (often a
// template instance specialised on the operation and the operand form) and
// fill its operands; the run loop calls it with r[15] = PC as read.
#pragma once
#include "emulator/cpu.h"
#include <string.h>

// Operand fields of Insn::bits for loads and stores.
enum { kPre = 1, kUp = 2, kWriteback = 4 };
// Insn::amount of an immediate data-processing operand: the shifter's
// carry out, or 2 when the carry flag is left as it is.
enum { kCarryUnchanged = 2 };

enum Access { kLdr, kStr, kLdrb, kStrb, kLdrh, kStrh, kLdrsb, kLdrsh, kLdrd, kStrd };
// How a load or store finds its offset: an immediate, a shifted register,
// or (PC-relative loads, resolved when decoding) an absolute address.
enum OffsetForm { kOffsetImmediate, kOffsetRegister, kOffsetAbsolute };
// The second operand of data processing: an immediate, a register shifted
// by an immediate, by a register, or a plain register.
enum OperandForm { kOperandImmediate, kOperandShiftImmediate, kOperandShiftRegister, kOperandRegister };

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
                case 0: ok = z; break;
                case 1: ok = c; break;
                case 2: ok = n; break;
                case 3: ok = v; break;
                case 4: ok = c && !z; break;
                case 5: ok = n == v; break;
                case 6: ok = !z && n == v; break;
                case 7: ok = true; break;
                }
                if (cond < 14 && (cond & 1))
                    ok = !ok;
                if (ok)
                    mask |= (uint16_t)(1u << f);
            }
            accepts[cond] = mask;
        }
    }
};
extern const ConditionTable kConditions;

// The handlers the decoders choose from (arm_decode.cpp):
// [operation][S][OperandForm] and [Access][OffsetForm].
extern const InsnHandler kDataProcessing[16][2][4];
extern const InsnHandler kLoadStore[10][3];

inline bool ConditionPasses(const Cpu &c, unsigned cond)
{
    unsigned nzcv = (unsigned)c.n << 3 | (unsigned)c.z << 2 | (unsigned)c.c << 1 | c.v;
    return (kConditions.accepts[cond] >> nzcv) & 1;
}

// A value written to the PC by an ALU operation or a load without
// interworking: the low bits that cannot address an instruction go.
inline void WritePc(Cpu &c, uint32_t value) { c.next = value & (c.thumb ? ~1u : ~3u); }
// A PC load that interworks (LDR, LDM, POP, BX): bit 0 selects Thumb state.
inline void InterworkPc(Cpu &c, uint32_t value)
{
    c.SetThumb(value & 1);
    c.next = value & (c.thumb ? ~1u : ~3u);
}
inline void WriteReg(Cpu &c, unsigned rd, uint32_t value)
{
    if (rd == 15)
        WritePc(c, value);
    else
        c.r[rd] = value;
}

inline uint32_t Ror(uint32_t value, unsigned amount) { amount &= 31; return amount ? (value >> amount) | (value << (32 - amount)) : value; }
inline uint32_t Asr(uint32_t value, unsigned amount) { return (uint32_t)((int32_t)value >> amount); }

// A register shifted by an encoded immediate (0 means 32 for LSR and ASR,
// RRX for ROR), with the shifter's carry out.
inline uint32_t ShiftByImmediate(const Cpu &c, uint32_t value, unsigned type, unsigned amount, uint8_t &carry)
{
    switch (type) {
    case 0:
        if (amount == 0) { carry = c.c; return value; }
        carry = (value >> (32 - amount)) & 1;
        return value << amount;
    case 1:
        if (amount == 0) { carry = value >> 31; return 0; }
        carry = (value >> (amount - 1)) & 1;
        return value >> amount;
    case 2:
        if (amount == 0) { carry = value >> 31; return Asr(value, 31); }
        carry = (value >> (amount - 1)) & 1;
        return Asr(value, amount);
    default:
        if (amount == 0) { carry = value & 1; return (uint32_t)c.c << 31 | value >> 1; }
        carry = (value >> (amount - 1)) & 1;
        return Ror(value, amount);
    }
}

// A register shifted by the bottom byte of another register.
inline uint32_t ShiftByRegister(const Cpu &c, uint32_t value, unsigned type, unsigned amount, uint8_t &carry)
{
    if (amount == 0) { carry = c.c; return value; }
    switch (type) {
    case 0:
        if (amount < 32) { carry = (value >> (32 - amount)) & 1; return value << amount; }
        carry = amount == 32 ? (value & 1) : 0;
        return 0;
    case 1:
        if (amount < 32) { carry = (value >> (amount - 1)) & 1; return value >> amount; }
        carry = amount == 32 ? value >> 31 : 0;
        return 0;
    case 2:
        if (amount < 32) { carry = (value >> (amount - 1)) & 1; return Asr(value, amount); }
        carry = value >> 31;
        return Asr(value, 31);
    default:
        amount &= 31;
        if (amount == 0) { carry = value >> 31; return value; }
        carry = (value >> (amount - 1)) & 1;
        return Ror(value, amount);
    }
}

inline uint32_t AddWithCarry(uint32_t a, uint32_t b, uint32_t carry_in, uint8_t &carry, uint8_t &overflow)
{
    uint64_t wide = (uint64_t)a + b + carry_in;
    uint32_t result = (uint32_t)wide;
    carry = (uint8_t)(wide >> 32);
    overflow = (uint8_t)((((a ^ result) & (b ^ result)) >> 31) & 1);
    return result;
}

inline void SetNZ(Cpu &c, uint32_t result) { c.n = result >> 31; c.z = result == 0; }

template <int OP, bool S, int FORM>
void DataProcessing(Cpu &c, const Insn &i)
{
    constexpr bool logical = OP == 0 || OP == 1 || OP == 8 || OP == 9 || (OP >= 12);
    uint8_t shifter_carry = c.c;
    uint32_t b;
    if (FORM == kOperandImmediate) {
        b = i.imm;
        if (S && logical && i.amount != kCarryUnchanged)
            shifter_carry = i.amount;
    } else if (FORM == kOperandShiftImmediate) {
        b = ShiftByImmediate(c, c.r[i.rm], i.shift, i.amount, shifter_carry);
    } else if (FORM == kOperandShiftRegister) {
        b = ShiftByRegister(c, c.r[i.rm], i.shift, c.r[i.rs] & 0xFF, shifter_carry);
    } else {
        b = c.r[i.rm];
    }
    uint32_t a = c.r[i.rn], result;
    uint8_t carry = c.c, overflow = c.v;
    switch (OP) {
    case 0: case 8: result = a & b; break;
    case 1: case 9: result = a ^ b; break;
    case 2: case 10: result = AddWithCarry(a, ~b, 1, carry, overflow); break;
    case 3: result = AddWithCarry(b, ~a, 1, carry, overflow); break;
    case 4: case 11: result = AddWithCarry(a, b, 0, carry, overflow); break;
    case 5: result = AddWithCarry(a, b, c.c, carry, overflow); break;
    case 6: result = AddWithCarry(a, ~b, c.c, carry, overflow); break;
    case 7: result = AddWithCarry(b, ~a, c.c, carry, overflow); break;
    case 12: result = a | b; break;
    case 13: result = b; break;
    case 14: result = a & ~b; break;
    default: result = ~b; break;
    }
    if (S) {
        SetNZ(c, result);
        if (logical) {
            c.c = shifter_carry;
        } else {
            c.c = carry;
            c.v = overflow;
        }
    }
    if (OP < 8 || OP > 11)
        WriteReg(c, i.rd, result);
}

// MUL, MLA: rd = rm * rs (+ rn). The flags: N and Z; C and V as they were.
template <bool ACCUMULATE, bool S>
void Multiply(Cpu &c, const Insn &i)
{
    uint32_t result = c.r[i.rm] * c.r[i.rs] + (ACCUMULATE ? c.r[i.rn] : 0);
    c.r[i.rd] = result;
    if (S)
        SetNZ(c, result);
}

// UMULL, UMLAL, SMULL, SMLAL: rd (high), rn (low) = rm * rs (+ rd:rn).
template <bool SIGNED, bool ACCUMULATE, bool S>
void MultiplyLong(Cpu &c, const Insn &i)
{
    uint64_t product = SIGNED ? (uint64_t)((int64_t)(int32_t)c.r[i.rm] * (int32_t)c.r[i.rs])
                              : (uint64_t)c.r[i.rm] * c.r[i.rs];
    if (ACCUMULATE)
        product += (uint64_t)c.r[i.rd] << 32 | c.r[i.rn];
    c.r[i.rn] = (uint32_t)product;
    c.r[i.rd] = (uint32_t)(product >> 32);
    if (S) {
        c.n = (uint8_t)(product >> 63);
        c.z = product == 0;
    }
}

// The bottom (0) or top (1) signed halfword of a register.
inline int32_t Half(uint32_t value, unsigned top) { return (int32_t)(int16_t)(top ? value >> 16 : value); }

// A signed 32-bit sum that sets Q when it overflows, without saturating.
inline uint32_t AddSettingQ(Cpu &c, int32_t a, int32_t b)
{
    int64_t sum = (int64_t)a + b;
    if (sum != (int32_t)sum)
        c.q = 1;
    return (uint32_t)sum;
}
inline int32_t Saturate(Cpu &c, int64_t value)
{
    if (value > INT32_MAX) { c.q = 1; return INT32_MAX; }
    if (value < INT32_MIN) { c.q = 1; return INT32_MIN; }
    return (int32_t)value;
}

// SMLAxy / SMULxy (bits: 1 = x top, 2 = y top, 4 = accumulate).
void SignedMultiplyHalves(Cpu &c, const Insn &i);
// SMLAWy / SMULWy: (rm * rs.y) >> 16 (+ rn).
void SignedMultiplyWordHalf(Cpu &c, const Insn &i);
// SMLALxy: rd:rn += rm.x * rs.y.
void SignedMultiplyHalvesLong(Cpu &c, const Insn &i);
// QADD, QSUB, QDADD, QDSUB (amount: 0..3): rd = sat(rm +/- [sat(2 *)] rn).
void SaturatingArithmetic(Cpu &c, const Insn &i);
void CountLeadingZeros(Cpu &c, const Insn &i);
void ReadStatus(Cpu &c, const Insn &i);      // MRS
template <bool IMMEDIATE> void WriteStatus(Cpu &c, const Insn &i)  // MSR: the flags field, in user mode
{
    if (i.bits & 8)
        c.SetFlags(IMMEDIATE ? i.imm : c.r[i.rm]);
}

inline bool Aligned(Cpu &c, uint32_t address, uint32_t size, const char *what)
{
    if ((address & (size - 1)) == 0)
        return true;
    c.Fault(kStopUnaligned, address, what);
    return false;
}

template <int ACCESS, int FORM>
void LoadStore(Cpu &c, const Insn &i)
{
    uint32_t address, base = 0, updated = 0;
    if (FORM == kOffsetAbsolute) {
        address = i.imm;
    } else {
        uint32_t offset;
        if (FORM == kOffsetImmediate) {
            offset = i.imm;
        } else {
            uint8_t unused;
            offset = ShiftByImmediate(c, c.r[i.rm], i.shift, i.amount, unused);
        }
        base = c.r[i.rn];
        updated = (i.bits & kUp) ? base + offset : base - offset;
        address = (i.bits & kPre) ? updated : base;
    }
    constexpr uint32_t size = ACCESS == kLdr || ACCESS == kStr ? 4 : ACCESS == kLdrb || ACCESS == kStrb || ACCESS == kLdrsb ? 1
                              : ACCESS == kLdrd || ACCESS == kStrd ? 8 : 2;
    constexpr bool load = ACCESS == kLdr || ACCESS == kLdrb || ACCESS == kLdrh || ACCESS == kLdrsb || ACCESS == kLdrsh || ACCESS == kLdrd;
    static const char *const what = load ? (size == 4 ? "word read" : size == 2 ? "halfword read" : size == 8 ? "doubleword read" : "byte read")
                                         : (size == 4 ? "word write" : size == 2 ? "halfword write" : size == 8 ? "doubleword write" : "byte write");
    if (size > 1 && !Aligned(c, address, size, what))
        return;
    bool writeback = FORM != kOffsetAbsolute && (!(i.bits & kPre) || (i.bits & kWriteback));
    if (load) {
        const uint8_t *p = c.memory.Read(address, size);
        if (!p) { c.AccessFault(address, what); return; }
        uint32_t value = 0, second = 0;
        if (size == 4 || size == 8) memcpy(&value, p, 4);
        if (size == 8) memcpy(&second, p + 4, 4);
        if (ACCESS == kLdrb) value = p[0];
        if (ACCESS == kLdrsb) value = (uint32_t)(int32_t)(int8_t)p[0];
        if (ACCESS == kLdrh || ACCESS == kLdrsh) {
            uint16_t h;
            memcpy(&h, p, 2);
            value = ACCESS == kLdrsh ? (uint32_t)(int32_t)(int16_t)h : h;
        }
        if (writeback)
            c.r[i.rn] = updated;
        if (ACCESS == kLdrd) {
            c.r[i.rd] = value;
            c.r[i.rd + 1] = second;
        } else if (i.rd == 15) {
            InterworkPc(c, value);
        } else {
            c.r[i.rd] = value;
        }
    } else {
        uint8_t *p = c.memory.Write(address, size);
        if (!p) { c.AccessFault(address, what); return; }
        uint32_t value = c.r[i.rd];
        if (size == 4) memcpy(p, &value, 4);
        if (size == 1) p[0] = (uint8_t)value;
        if (size == 2) { uint16_t h = (uint16_t)value; memcpy(p, &h, 2); }
        if (size == 8) { memcpy(p, &value, 4); memcpy(p + 4, &c.r[i.rd + 1], 4); }
        if (writeback)
            c.r[i.rn] = updated;
    }
}

// LDM, STM (and PUSH, POP): imm the register list; bits kPre, kUp, kWriteback.
void LoadMultiple(Cpu &c, const Insn &i);
void StoreMultiple(Cpu &c, const Insn &i);
// SWP, SWPB (amount 1 for the byte form): rd = [rn], [rn] = rm.
void Swap(Cpu &c, const Insn &i);

void Branch(Cpu &c, const Insn &i);             // B: next = imm
void BranchLink(Cpu &c, const Insn &i);         // BL: lr = next instruction, next = imm
void BranchLinkExchangeImmediate(Cpu &c, const Insn &i);  // BLX imm: into the other state
void BranchExchange(Cpu &c, const Insn &i);     // BX rm
void BranchLinkExchange(Cpu &c, const Insn &i); // BLX rm
void ThumbBranchLinkPrefix(Cpu &c, const Insn &i);  // BL/BLX first half: lr = PC + imm
void ThumbBranchLinkSuffix(Cpu &c, const Insn &i);  // BL second half
void ThumbBranchLinkExchangeSuffix(Cpu &c, const Insn &i);  // BLX second half, into ARM

void Nothing(Cpu &c, const Insn &i);             // PLD, and NOP forms
void Undefined(Cpu &c, const Insn &i);           // anything this core does not execute
void Coprocessor(Cpu &c, const Insn &i);
void SoftwareInterrupt(Cpu &c, const Insn &i);
void Breakpoint(Cpu &c, const Insn &i);
