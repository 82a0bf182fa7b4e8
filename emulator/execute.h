// The instruction handlers: what each decoded instruction does to the
// registers, the flags and memory. The decoders pick a handler (often a
// template instance specialised on the operation and the operand form) and
// fill its operands; the run loop calls it with r[kPc] = PC as read.
#pragma once
#include "emulator/cpu.h"
#include <string.h>

// The ALU operations, numbered as ARM encodes them; Thumb's map onto them.
enum DataOp { kAnd, kEor, kSub, kRsb, kAdd, kAdc, kSbc, kRsc, kTst, kTeq, kCmp, kCmn, kOrr, kMov, kBic, kMvn };
// TST, TEQ, CMP, CMN set flags only.
constexpr bool IsTest(int op) { return op >= kTst && op <= kCmn; }
// The logical operations take C from the shifter and leave V.
constexpr bool IsLogical(int op)
{
    return op == kAnd || op == kEor || op == kTst || op == kTeq || op == kOrr || op == kMov || op == kBic || op == kMvn;
}
// The second operand of data processing: an immediate that leaves C as it
// is (an unrotated one), a rotated immediate (C from its bit 31), a
// register shifted by an immediate, by a register, or a plain register.
enum OperandForm { kOperandImmediate, kOperandRotatedImmediate, kOperandShiftImmediate, kOperandShiftRegister,
                   kOperandRegister, kOperandForms };

enum Access { kLdr, kStr, kLdrb, kStrb, kLdrh, kStrh, kLdrsb, kLdrsh, kLdrd, kStrd, kAccesses };
// How a load or store finds its offset: an immediate, a shifted register,
// or (PC-relative loads, resolved when decoding) an absolute address.
enum OffsetForm { kOffsetImmediate, kOffsetRegister, kOffsetAbsolute, kOffsetForms };

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
    if (rd == kPc)
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
    case kLsl:
        if (amount == 0) { carry = c.c; return value; }
        carry = (value >> (32 - amount)) & 1;
        return value << amount;
    case kLsr:
        if (amount == 0) { carry = value >> 31; return 0; }
        carry = (value >> (amount - 1)) & 1;
        return value >> amount;
    case kAsr:
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
    case kLsl:
        if (amount < 32) { carry = (value >> (32 - amount)) & 1; return value << amount; }
        carry = amount == 32 ? (value & 1) : 0;
        return 0;
    case kLsr:
        if (amount < 32) { carry = (value >> (amount - 1)) & 1; return value >> amount; }
        carry = amount == 32 ? value >> 31 : 0;
        return 0;
    case kAsr:
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
    uint8_t shifter_carry = c.c;
    uint32_t b;
    if (FORM == kOperandImmediate) {
        b = i.imm;
    } else if (FORM == kOperandRotatedImmediate) {
        b = i.imm;
        shifter_carry = (uint8_t)(b >> 31);
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
    case kAnd: case kTst: result = a & b; break;
    case kEor: case kTeq: result = a ^ b; break;
    case kSub: case kCmp: result = AddWithCarry(a, ~b, 1, carry, overflow); break;
    case kRsb: result = AddWithCarry(b, ~a, 1, carry, overflow); break;
    case kAdd: case kCmn: result = AddWithCarry(a, b, 0, carry, overflow); break;
    case kAdc: result = AddWithCarry(a, b, c.c, carry, overflow); break;
    case kSbc: result = AddWithCarry(a, ~b, c.c, carry, overflow); break;
    case kRsc: result = AddWithCarry(b, ~a, c.c, carry, overflow); break;
    case kOrr: result = a | b; break;
    case kMov: result = b; break;
    case kBic: result = a & ~b; break;
    default: result = ~b; break;    // kMvn
    }
    if (S) {
        SetNZ(c, result);
        if (IsLogical(OP)) {
            c.c = shifter_carry;
        } else {
            c.c = carry;
            c.v = overflow;
        }
    }
    if (!IsTest(OP))
        WriteReg(c, i.rd, result);
}
// [DataOp][S][OperandForm]
extern const InsnHandler kDataProcessing[16][2][kOperandForms];

// MUL, MLA: rd = rm * rs (+ rn). The flags: N and Z; C and V as they were.
template <bool ACCUMULATE, bool S>
void Multiply(Cpu &c, const Insn &i)
{
    uint32_t result = c.r[i.rm] * c.r[i.rs] + (ACCUMULATE ? c.r[i.rn] : 0);
    c.r[i.rd] = result;
    if (S)
        SetNZ(c, result);
}
extern const InsnHandler kMultiply[2][2];   // [ACCUMULATE][S]

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
extern const InsnHandler kMultiplyLong[2][2][2];   // [SIGNED][ACCUMULATE][S]

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

// SMLAxy / SMULxy: rd = rm.x * rs.y (+ rn, setting Q on overflow).
template <bool ACCUMULATE, bool X_TOP, bool Y_TOP>
void SignedMultiplyHalves(Cpu &c, const Insn &i)
{
    int32_t product = Half(c.r[i.rm], X_TOP) * Half(c.r[i.rs], Y_TOP);
    c.r[i.rd] = ACCUMULATE ? AddSettingQ(c, product, (int32_t)c.r[i.rn]) : (uint32_t)product;
}
extern const InsnHandler kSignedMultiplyHalves[2][2][2];   // [ACCUMULATE][X_TOP][Y_TOP]

// SMLAWy / SMULWy: rd = (rm * rs.y) >> 16 (+ rn, setting Q on overflow).
template <bool ACCUMULATE, bool Y_TOP>
void SignedMultiplyWordHalf(Cpu &c, const Insn &i)
{
    int64_t product = (int64_t)(int32_t)c.r[i.rm] * Half(c.r[i.rs], Y_TOP);
    int32_t high = (int32_t)(product >> 16);
    c.r[i.rd] = ACCUMULATE ? AddSettingQ(c, high, (int32_t)c.r[i.rn]) : (uint32_t)high;
}
extern const InsnHandler kSignedMultiplyWordHalf[2][2];   // [ACCUMULATE][Y_TOP]

// SMLALxy: rd (high):rn (low) += rm.x * rs.y.
template <bool X_TOP, bool Y_TOP>
void SignedMultiplyHalvesLong(Cpu &c, const Insn &i)
{
    int64_t product = (int64_t)Half(c.r[i.rm], X_TOP) * Half(c.r[i.rs], Y_TOP);
    uint64_t sum = ((uint64_t)c.r[i.rd] << 32 | c.r[i.rn]) + (uint64_t)product;
    c.r[i.rn] = (uint32_t)sum;
    c.r[i.rd] = (uint32_t)(sum >> 32);
}
extern const InsnHandler kSignedMultiplyHalvesLong[2][2];   // [X_TOP][Y_TOP]

// QADD, QSUB, QDADD, QDSUB: rd = sat(rm +/- [sat(2 *)] rn), numbered as
// bits 22:21 encode them.
enum SaturatingOp { kQadd, kQsub, kQdadd, kQdsub };
template <int OP>
void SaturatingArithmetic(Cpu &c, const Insn &i)
{
    int64_t operand = (int32_t)c.r[i.rn];
    if (OP == kQdadd || OP == kQdsub)
        operand = Saturate(c, operand * 2);
    int64_t value = (int64_t)(int32_t)c.r[i.rm] + (OP == kQsub || OP == kQdsub ? -operand : operand);
    c.r[i.rd] = (uint32_t)Saturate(c, value);
}
extern const InsnHandler kSaturatingArithmetic[4];   // [SaturatingOp]

void CountLeadingZeros(Cpu &c, const Insn &i);
void ReadStatus(Cpu &c, const Insn &i);      // MRS
// MSR of the flags field (user mode writes no other; a decoder gives an
// MSR without it Nothing).
template <bool IMMEDIATE> void WriteStatus(Cpu &c, const Insn &i) { c.SetFlags(IMMEDIATE ? i.imm : c.r[i.rm]); }

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
        updated = (i.addressing & kUp) ? base + offset : base - offset;
        address = (i.addressing & kPre) ? updated : base;
    }
    constexpr uint32_t size = ACCESS == kLdr || ACCESS == kStr ? 4 : ACCESS == kLdrb || ACCESS == kStrb || ACCESS == kLdrsb ? 1
                              : ACCESS == kLdrd || ACCESS == kStrd ? 8 : 2;
    constexpr bool load = ACCESS == kLdr || ACCESS == kLdrb || ACCESS == kLdrh || ACCESS == kLdrsb || ACCESS == kLdrsh || ACCESS == kLdrd;
    static const char *const what = load ? (size == 4 ? "word read" : size == 2 ? "halfword read" : size == 8 ? "doubleword read" : "byte read")
                                         : (size == 4 ? "word write" : size == 2 ? "halfword write" : size == 8 ? "doubleword write" : "byte write");
    if (size > 1 && !Aligned(c, address, size, what))
        return;
    bool writeback = FORM != kOffsetAbsolute && (!(i.addressing & kPre) || (i.addressing & kWriteback));
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
        } else if (i.rd == kPc) {
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

// [Access][OffsetForm]
extern const InsnHandler kLoadStore[kAccesses][kOffsetForms];

// LDM, STM (and PUSH, POP): the registers in `list`, addressed by rn and
// `addressing`.
void LoadMultiple(Cpu &c, const Insn &i);
void StoreMultiple(Cpu &c, const Insn &i);
// SWP, SWPB: rd = [rn], [rn] = rm.
template <bool BYTE>
void Swap(Cpu &c, const Insn &i)
{
    constexpr uint32_t size = BYTE ? 1 : 4;
    static const char *const what = BYTE ? "byte swap" : "word swap";
    uint32_t address = c.r[i.rn];
    if (!Aligned(c, address, size, what))
        return;
    uint8_t *p = c.memory.Write(address, size);
    if (!p) { c.AccessFault(address, what); return; }
    uint32_t old = 0, value = c.r[i.rm];
    if (BYTE) {
        old = p[0];
        p[0] = (uint8_t)value;
    } else {
        memcpy(&old, p, 4);
        memcpy(p, &value, 4);
    }
    c.r[i.rd] = old;
}
extern const InsnHandler kSwap[2];   // [BYTE]

void Branch(Cpu &c, const Insn &i);             // B: next = target
void BranchLink(Cpu &c, const Insn &i);         // BL: lr = next instruction, next = target
void BranchLinkExchangeImmediate(Cpu &c, const Insn &i);  // BLX imm: into Thumb state
void BranchExchange(Cpu &c, const Insn &i);     // BX rm
void BranchLinkExchange(Cpu &c, const Insn &i); // BLX rm
void ThumbBranchLinkPrefix(Cpu &c, const Insn &i);  // BL/BLX first half: lr = PC + imm
void ThumbBranchLinkSuffix(Cpu &c, const Insn &i);  // BL second half: to lr + imm
void ThumbBranchLinkExchangeSuffix(Cpu &c, const Insn &i);  // BLX second half, into ARM

void Nothing(Cpu &c, const Insn &i);             // PLD, and NOP forms
void Coprocessor(Cpu &c, const Insn &i);
void SoftwareInterrupt(Cpu &c, const Insn &i);
void Breakpoint(Cpu &c, const Insn &i);
