// What both decoders are made of: a table of encodings, each a name, a bit
// pattern and the function that fills the decoded entry, sorted at compile
// time from the most bits fixed to the fewest, so that the first row a word
// matches is the most specific one and the rows' order in the source does
// not matter.
#pragma once
#include "emulator/decode.h"
#include "emulator/execute.h"
#include <stddef.h>
#include <array>
#include <string>

// Fills INSN for WORD at ADDRESS; DATA is what its row adds (an operation,
// an access, a shift type), so that one function serves rows that differ
// only by it.
typedef void (*DecodeFunction)(uint32_t word, uint32_t address, unsigned data, Insn &insn);

struct Encoding {
    const char *name;
    const char *pattern;    // '0' and '1' the bits it fixes, a letter a field's bit; spaces ignored
    DecodeFunction decode;
    unsigned data;
    uint32_t mask, value;   // the fixed bits and their values
    unsigned width;         // bits in the pattern

    constexpr Encoding() : name(nullptr), pattern(nullptr), decode(nullptr), data(0), mask(0), value(0), width(0) {}
    constexpr Encoding(const char *row_name, const char *bits, DecodeFunction function, unsigned row_data = 0)
        : name(row_name), pattern(bits), decode(function), data(row_data), mask(0), value(0), width(0)
    {
        for (const char *p = bits; *p; p++) {
            if (*p == ' ')
                continue;
            mask <<= 1;
            value <<= 1;
            width++;
            if (*p == '0' || *p == '1') {
                mask |= 1;
                value |= (uint32_t)(*p == '1');
            }
        }
    }
    constexpr bool Matches(uint32_t word) const { return (word & mask) == value; }
    constexpr unsigned Fixed() const
    {
        unsigned bits = 0;
        for (uint32_t m = mask; m; m &= m - 1)
            bits++;
        return bits;
    }
};

// ROWS from the most bits fixed to the fewest, rows that fix as many in
// the order given.
template <size_t N>
constexpr std::array<Encoding, N> BySpecificity(const Encoding (&rows)[N])
{
    std::array<Encoding, N> sorted{};
    for (size_t k = 0; k < N; k++) {
        size_t at = k;
        while (at > 0 && sorted[at - 1].Fixed() < rows[k].Fixed()) {
            sorted[at] = sorted[at - 1];
            at--;
        }
        sorted[at] = rows[k];
    }
    return sorted;
}

// Every pattern has WIDTH bits, and no word matches two rows that fix as
// many bits (their order would decide, and it must not).
template <size_t N>
constexpr bool Unambiguous(const Encoding (&rows)[N], unsigned width)
{
    for (size_t a = 0; a < N; a++) {
        if (rows[a].width != width)
            return false;
        for (size_t b = a + 1; b < N; b++)
            if (rows[a].Fixed() == rows[b].Fixed() && ((rows[a].value ^ rows[b].value) & rows[a].mask & rows[b].mask) == 0)
                return false;
    }
    return true;
}

// The first row of SORTED that WORD matches, or NULL.
template <size_t N>
const Encoding *Match(const std::array<Encoding, N> &sorted, uint32_t word)
{
    for (const Encoding &row : sorted)
        if (row.Matches(word))
            return &row;
    return nullptr;
}

inline uint32_t Field(uint32_t word, int low, int width) { return (word >> low) & ((1u << width) - 1); }
inline bool Bit(uint32_t word, int bit) { return (word >> bit) & 1; }

// A decoded entry before its decode function fills it: UNDEFINED, the
// decoder's handler of what this core does not execute, with the
// condition COND.
inline Insn Blank(InsnHandler undefined, uint8_t cond) { return Insn{undefined, cond, 0, 0, 0, 0, 0, 0, 0, {0}}; }

// The stop of that handler: an undefined instruction, its report naming
// the encoding ROW the word matched (one whose operands are unpredictable
// or privileged), or saying that it matched none.
inline void StopUndefined(Cpu &c, const Encoding *row)
{
    std::string detail = row ? std::string(row->name) + " in a form ARMv5TE user mode does not execute"
                             : std::string("no ARMv5TE encoding");
    c.Fault(kStopUndefined, c.CurrentPc(), detail.c_str());
}
