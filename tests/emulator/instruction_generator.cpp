// The generator of instruction sequences: encodings put together field by
// field from random choices, kept to what user mode defines.
#include "instruction_generator.h"
#include <stdio.h>

namespace {

// Registers a sequence may write: all but r10 (address), r11 (buffer), sp, lr, pc.
const unsigned kGeneral[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 12};
enum { kAddress = 10, kBase = 11 };

struct Builder {
    SequenceRng &rng;
    std::vector<uint32_t> &code;

    unsigned Reg() { return kGeneral[rng.Below(11)]; }
    unsigned RegOtherThan(unsigned a, unsigned b = 99, unsigned c = 99)
    {
        for (;;) {
            unsigned r = Reg();
            if (r != a && r != b && r != c)
                return r;
        }
    }
    // Mostly "always", else any condition but "never".
    uint32_t Cond() { return (rng.Below(4) ? 14u : rng.Below(15)) << 28; }
    void Emit(uint32_t word) { code.push_back(word); }

    // r10 = r11 + OFFSET, for the addressing modes that write r10 back.
    void SetAddress(uint32_t offset) { Emit(0xE28B0000u | kAddress << 12 | offset); }

    void DataProcessing()
    {
        uint32_t op = rng.Below(16), s = (op >= 8 && op <= 11) ? 1 : rng.Below(2);
        // The fields a form does not use are zero (the tests' rd, MOV's and MVN's rn).
        uint32_t rd = (op >= 8 && op <= 11) ? 0 : Reg(), rn = (op == 13 || op == 15) ? 0 : Reg(), form = rng.Below(3);
        uint32_t operand;
        if (form == 0)
            operand = 1u << 25 | rng.Below(16) << 8 | rng.Below(256);
        else if (form == 1)
            operand = rng.Below(32) << 7 | rng.Below(4) << 5 | Reg();
        else {
            // Shift amounts around 0 and 32 are where the carry rules differ:
            // often the amount register is set to one first.
            uint32_t rs = Reg();
            if (rng.Below(2))
                Emit(0xE3A00000u | rs << 12 | (rng.Below(8) ? rng.Below(36) : 0x80 + rng.Below(128)));   // mov rs, #amount
            operand = rs << 8 | rng.Below(4) << 5 | 1u << 4 | Reg();
        }
        Emit(Cond() | op << 21 | s << 20 | rn << 16 | rd << 12 | operand);
    }

    void Multiply()
    {
        uint32_t kind = rng.Below(2), s = rng.Below(2) << 20, cond = Cond();
        if (kind == 0) {                        // MUL/MLA rd, rm, rs, rn (rd != rm; MUL's rn field zero)
            uint32_t rm = Reg(), rd = RegOtherThan(rm), a = rng.Below(2);
            Emit(cond | a << 21 | s | rd << 16 | (a ? Reg() : 0) << 12 | Reg() << 8 | 0x90 | rm);
        } else {                                // UMULL/UMLAL/SMULL/SMLAL (hi, lo, rm distinct)
            uint32_t rm = Reg(), hi = RegOtherThan(rm), lo = RegOtherThan(rm, hi);
            Emit(cond | 1u << 23 | rng.Below(4) << 21 | s | hi << 16 | lo << 12 | Reg() << 8 | 0x90 | rm);
        }
    }

    void Dsp()
    {
        uint32_t cond = Cond(), rm = Reg(), rs = Reg(), rn = Reg(), xy = rng.Below(4) << 5;
        switch (rng.Below(6)) {
        case 0: Emit(cond | 0x01000080u | Reg() << 16 | rn << 12 | rs << 8 | xy | rm); break;   // SMLAxy
        case 1: Emit(cond | 0x01600080u | Reg() << 16 | rs << 8 | xy | rm); break;             // SMULxy
        case 2: Emit(cond | 0x01200080u | Reg() << 16 | rn << 12 | rs << 8 | (xy & 0x40) | rm); break;  // SMLAWy
        case 3: Emit(cond | 0x012000A0u | Reg() << 16 | rs << 8 | (xy & 0x40) | rm); break;    // SMULWy
        case 4: {                                                                                // SMLALxy
            uint32_t hi = Reg(), lo = RegOtherThan(hi);
            Emit(cond | 0x01400080u | hi << 16 | lo << 12 | rs << 8 | xy | rm);
            break;
        }
        default: Emit(cond | 0x01000050u | rng.Below(4) << 21 | rn << 16 | Reg() << 12 | rm); break;  // QADD...
        }
    }

    void Status()
    {
        switch (rng.Below(3)) {
        case 0: {                               // MRS, keeping the flags only
            uint32_t rd = Reg();
            Emit(0xE10F0000u | rd << 12);
            Emit(0xE20004F8u | rd << 16 | rd << 12);   // and rd, rd, #0xF8000000
            break;
        }
        case 1: Emit(Cond() | 0x0328F000u | rng.Below(16) << 8 | rng.Below(256)); break;   // MSR cpsr_f, #imm
        default: Emit(Cond() | 0x0128F000u | Reg()); break;                                // MSR cpsr_f, rm
        }
        Emit(Cond() | 0x016F0F10u | Reg() << 12 | Reg());   // CLZ
    }

    void Transfer()
    {
        uint32_t cond = Cond(), load = rng.Below(2), rd = Reg();
        switch (rng.Below(6)) {
        case 0: {                               // word/byte, immediate offset from r11
            uint32_t byte = rng.Below(2), offset = byte ? rng.Below(256) : 4 * rng.Below(64);
            Emit(cond | 0x05800000u | byte << 22 | load << 20 | kBase << 16 | rd << 12 | offset);
            break;
        }
        case 1: {                               // word/byte, scaled register offset
            uint32_t index = RegOtherThan(rd), byte = rng.Below(2);
            Emit(0xE200003Cu | index << 16 | index << 12);     // and index, index, #0x3C
            Emit(cond | 0x07800000u | byte << 22 | load << 20 | kBase << 16 | rd << 12 | 2u << 7 | index);
            break;
        }
        case 2: {                               // pre/post-indexed with writeback on r10
            uint32_t byte = rng.Below(2), pre = rng.Below(2), up = rng.Below(2);
            uint32_t offset = byte ? rng.Below(64) : 4 * rng.Below(16);
            SetAddress(128);
            Emit(cond | 0x04000000u | pre << 24 | up << 23 | byte << 22 | pre << 21 | load << 20 | kAddress << 16 | rd << 12 | offset);
            break;
        }
        case 3: {                               // halfword and signed, immediate, any mode
            uint32_t sh = load ? 1 + rng.Below(3) : 1, pre = rng.Below(2), up = rng.Below(2);
            uint32_t offset = (sh == 2 ? rng.Below(64) : 2 * rng.Below(32));
            SetAddress(128);
            Emit(cond | pre << 24 | up << 23 | 1u << 22 | pre << 21 | load << 20 | kAddress << 16 | rd << 12 |
                 (offset >> 4) << 8 | 1u << 7 | sh << 5 | 1u << 4 | (offset & 15));
            break;
        }
        case 4: {                               // LDRD/STRD at a doubleword offset
            uint32_t pair = 2 * rng.Below(5), offset = 8 * rng.Below(16);
            Emit(cond | 1u << 24 | 1u << 23 | 1u << 22 | kBase << 16 | pair << 12 | (offset >> 4) << 8 | 0xD0 | (load ? 0 : 0x20) | (offset & 15));
            break;
        }
        default: {                              // SWP/SWPB through r10
            uint32_t byte = rng.Below(2), rm = Reg();
            SetAddress(byte ? rng.Below(256) : 4 * rng.Below(64));
            Emit(cond | 0x01000090u | byte << 22 | kAddress << 16 | rd << 12 | rm);
            break;
        }
        }
    }

    void Block()
    {
        uint32_t list = 0;
        while (list == 0)
            for (unsigned r : kGeneral)
                if (rng.Below(3) == 0)
                    list |= 1u << r;
        SetAddress(128);
        Emit(Cond() | 0x08000000u | rng.Below(4) << 23 | rng.Below(2) << 21 | rng.Below(2) << 20 | kAddress << 16 | list);
    }
};

}  // namespace

SequenceCase GenerateSequence(SequenceRng &rng, int length)
{
    static const uint32_t edges[] = {0, 1, 2, 31, 32, 33, 0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu, 0xFFFF8000u, 0x8000u, 0x7FFFu};
    SequenceCase c;
    for (uint32_t &r : c.r)
        r = rng.Below(3) ? rng.Next() : edges[rng.Below(12)];
    c.r[11] = 0;
    c.flags = rng.Below(32) << 27;
    for (uint8_t &b : c.buffer)
        b = (uint8_t)rng.Next();
    Builder b{rng, c.code};
    b.SetAddress(128);
    for (int k = 0; k < length; k++) {
        switch (rng.Below(8)) {
        case 0: case 1: case 2: b.DataProcessing(); break;
        case 3: b.Multiply(); break;
        case 4: b.Dsp(); break;
        case 5: b.Status(); break;
        case 6: b.Transfer(); break;
        default: b.Block(); break;
        }
    }
    return c;
}

namespace {

// Thumb: r0-r6 are general (r7 holds the buffer's address); r8, r9, r10
// and r12 are reached by the high-register forms.
struct ThumbBuilder {
    SequenceRng &rng;
    std::vector<uint16_t> code;

    unsigned Low() { return rng.Below(7); }
    unsigned LowOrBase() { return rng.Below(8); }
    unsigned High()
    {
        static const unsigned regs[] = {0, 1, 2, 3, 4, 5, 6, 8, 9, 10, 12};
        return regs[rng.Below(11)];
    }
    void Emit(uint32_t half) { code.push_back((uint16_t)half); }

    // rX = a word-aligned offset below 128 (lsl #27, lsr #25).
    void Offset(unsigned reg)
    {
        Emit(0x0000 | 27u << 6 | reg << 3 | reg);
        Emit(0x0800 | 25u << 6 | reg << 3 | reg);
    }

    // One instruction of one halfword (cases 0-6), or an idiom (7-10).
    void Single() { One(7); }
    void One(unsigned kinds = 11)
    {
        unsigned rd = Low();
        switch (rng.Below(kinds)) {
        case 0: Emit(rng.Below(3) << 11 | rng.Below(32) << 6 | LowOrBase() << 3 | rd); break;   // LSL/LSR/ASR #imm
        case 1: Emit(0x1800 | rng.Below(4) << 9 | rng.Below(8) << 6 | LowOrBase() << 3 | rd); break;   // ADD/SUB reg or imm3
        case 2: {                                                                                  // MOV/CMP/ADD/SUB #imm8
            unsigned op = rng.Below(4);
            Emit(0x2000 | op << 11 | (op == 1 ? LowOrBase() : rd) << 8 | rng.Below(256));
            break;
        }
        case 3: case 4: {                                                                          // the ALU operations
            unsigned op = rng.Below(16), rm = LowOrBase();
            bool test = op == 8 || op == 10 || op == 11;
            unsigned d = test ? LowOrBase() : rd;
            if (op == 13)
                while (rm == d)
                    rm = LowOrBase();
            Emit(0x4000 | op << 6 | rm << 3 | d);
            break;
        }
        case 5: {                                                                                  // ADD/CMP/MOV high registers
            unsigned op = rng.Below(3), d = High(), m = High();
            if (d < 8 && m < 8)
                m = 8 + rng.Below(3);
            Emit(0x4400 | op << 8 | (d >> 3) << 7 | m << 3 | (d & 7));
            break;
        }
        case 6: {                                                                                  // immediate offsets from r7
            unsigned kind = rng.Below(3), load = rng.Below(2);
            if (kind == 0)
                Emit(0x6000 | load << 11 | rng.Below(32) << 6 | 7u << 3 | rd);        // LDR/STR word
            else if (kind == 1)
                Emit(0x7000 | load << 11 | rng.Below(32) << 6 | 7u << 3 | rd);        // LDRB/STRB
            else
                Emit(0x8000 | load << 11 | rng.Below(32) << 6 | 7u << 3 | rd);        // LDRH/STRH
            break;
        }
        case 7: {                                                                                  // register offsets from r7
            unsigned index = Low();
            while (index == rd)
                index = Low();
            Offset(index);
            Emit(0x5000 | rng.Below(8) << 9 | index << 6 | 7u << 3 | rd);
            break;
        }
        case 8: {                                                                                  // PUSH, then POP of as many
            unsigned pushed = 0, popped = 0;
            while (!pushed || __builtin_popcount(pushed) > 7)   // as many as r0-r6 can take back
                pushed = rng.Below(256);
            int count = __builtin_popcount(pushed);
            while (__builtin_popcount(popped) != count)
                popped = rng.Below(128);   // not r7
            Emit(0xB400 | pushed);
            Single();
            Emit(0xBC00 | popped);
            break;
        }
        case 9: {                                                                                  // STMIA/LDMIA r6!
            unsigned list = 0;
            while (!list)
                list = rng.Below(64);   // r0-r5
            Emit(0x1C00 | 7u << 3 | 6);                 // adds r6, r7, #0
            Emit(0x3600 | 64);                          // adds r6, #64
            Emit(0xC000 | rng.Below(2) << 11 | 6u << 8 | list);
            break;
        }
        default:                                                                                   // B<cond> over one instruction
            Emit(0xD000 | rng.Below(14) << 8);
            Single();
            break;
        }
    }
};

}  // namespace

SequenceCase GenerateThumbSequence(SequenceRng &rng, int length)
{
    SequenceCase c = GenerateSequence(rng, 0);
    c.flags |= 0x20;
    ThumbBuilder b{rng, {}};
    b.Emit(0x4600 | 11u << 3 | 7);   // mov r7, r11
    for (int k = 0; k < length; k++)
        b.One();
    if (b.code.size() % 2)
        b.Emit(0x46C0);              // nop (mov r8, r8)
    b.Emit(0x4778);                  // bx pc: into ARM state, 4 bytes on
    b.Emit(0x46C0);
    c.code.clear();
    for (size_t k = 0; k < b.code.size(); k += 2)
        c.code.push_back(b.code[k] | (uint32_t)b.code[k + 1] << 16);
    return c;
}

std::string DescribeSequence(const SequenceCase &c)
{
    std::string text;
    char line[64];
    for (int k = 0; k < 13; k++) {
        snprintf(line, sizeof line, "r%d=%08X ", k, c.r[k]);
        text += line;
    }
    snprintf(line, sizeof line, "flags=%08X\n", c.flags);
    text += line;
    for (uint32_t word : c.code) {
        snprintf(line, sizeof line, "  %08X\n", word);
        text += line;
    }
    return text;
}
