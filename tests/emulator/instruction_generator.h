// Random ARM instruction sequences for the differential check against the
// reference processor: data processing with every operand form and
// condition, flags, multiplies, DSP and saturating instructions, loads and
// stores of every size and addressing mode into a 256-byte buffer whose
// address is in r11 (r10 is the only other address register), swaps.
#pragma once
#include <stdint.h>
#include <string>
#include <vector>

enum { kSequenceBuffer = 256 };

struct SequenceCase {
    uint32_t r[13];         // r0-r12 before (r11: replaced by the buffer's address)
    uint32_t flags;         // CPSR bits 31-27 before, and bit 5 (T) for Thumb code
    uint8_t buffer[kSequenceBuffer];
    std::vector<uint32_t> code;
};

// A small deterministic generator (xorshift), so that a seed replays a run.
struct SequenceRng {
    uint64_t state;
    explicit SequenceRng(uint64_t seed) : state(seed * 0x9E3779B97F4A7C15ull + 1) {}
    uint32_t Next()
    {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return (uint32_t)(state >> 16);
    }
    uint32_t Below(uint32_t n) { return Next() % n; }
};

// One case of LENGTH instructions (a few more where an idiom needs a setup).
SequenceCase GenerateSequence(SequenceRng &rng, int length);
// The same in Thumb state: shifts, adds, the ALU operations, high-register
// operations, loads and stores of every size through r7 (the buffer's
// address), balanced PUSH/POP, LDMIA/STMIA, conditional branches. The code
// ends with "bx pc" into ARM state, where the return is appended.
SequenceCase GenerateThumbSequence(SequenceRng &rng, int length);
// The words of a case as text, one per line, for a report.
std::string DescribeSequence(const SequenceCase &c);
