// The test functions compiled by gcc for ARM and Thumb, at -O0 and -O2, run
// in the interpreter must give what the same C gives natively, with the
// same instruction count on every run.
#include "arm_programs.h"
#include "arm_functions.h"
#include <gtest/gtest.h>
#include <algorithm>

namespace {

typedef uint32_t (*TestFunction)(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t);
struct Named { const char *name; TestFunction native; };
#define ARM_NAMED(name) {#name, name},
const Named kFunctions[] = {ARM_FUNCTIONS(ARM_NAMED)};

// Argument sets: edge values, then a fixed pseudo-random sequence.
std::vector<std::vector<uint32_t>> ArgumentSets(const std::string &function)
{
    static const uint32_t edges[] = {0, 1, 0xFFFFFFFFu, 0x80000000u, 0x7FFFFFFFu, 0x8000u, 0xFFu, 12345};
    std::vector<std::vector<uint32_t>> sets;
    uint32_t seed = 0x1234567u;
    for (int set = 0; set < 10; set++) {
        std::vector<uint32_t> args;
        for (int k = 0; k < 6; k++) {
            seed = seed * 1664525u + 1013904223u;
            args.push_back(set < 4 ? edges[(set * 3 + k) % 8] : seed >> (set % 3) * 8);
        }
        if (function == "compute_mix")
            args[0] &= 3;   // its round count
        sets.push_back(args);
    }
    return sets;
}

using ArmCode = ArmProgramsTest;

TEST_F(ArmCode, CompiledFunctionsMatchNativeResultsWithStableCounts)
{
    for (const auto &[variant, program] : programs) {
        for (const Named &f : kFunctions) {
            for (const std::vector<uint32_t> &args : ArgumentSets(f.name)) {
                ArmResult first = CallArm(program, f.name, args);
                ArmResult again = CallArm(program, f.name, args);
                SCOPED_TRACE(std::string(variant) + " " + f.name + " args[0]=" + std::to_string(args[0]));
                ASSERT_EQ(first.kind, kStopReturned) << first.report;
                EXPECT_EQ(first.r0, f.native(args[0], args[1], args[2], args[3], args[4], args[5]));
                EXPECT_EQ(first.count, again.count);
                EXPECT_GT(first.count, 0u);
            }
        }
    }
}

// The host's side of call_host: at depth 0 it answers, otherwise it calls
// call_host again, natively or, in the interpreter, as a nested run on the
// guest's stack.
uint32_t NativeHost(uint32_t depth, uint32_t b, uint32_t c, uint32_t d, uint32_t e)
{
    return depth == 0 ? b + c + d + e : call_host(NativeHost, depth - 1, b, c, d, e) + depth;
}

TEST_F(ArmCode, HostFunctionsCallBackIntoGuestCodeNested)
{
    const uint32_t kDepth = 5, kArgs[] = {7, 1000, 0xFFFFFFF0u, 5};
    for (const auto &[variant, program] : programs) {
        SCOPED_TRACE(variant);
        Cpu cpu;
        MapArmProgram(cpu, program);
        uint32_t guest = program.symbols.at("call_host"), host = NewTrapAddress(cpu);
        unsigned deepest = 0;
        cpu.traps[host] = Trap{kStopNone, "host", [&](Cpu &c) {
            uint32_t w[5];
            for (unsigned k = 0; k < 5; k++)
                ASSERT_TRUE(ArgumentWord(c, k, w[k]));
            deepest = std::max(deepest, c.runs);
            if (w[0] == 0) {
                c.r[0] = w[1] + w[2] + w[3] + w[4];
                return;
            }
            ASSERT_EQ(CallNested(c, guest, {host, w[0] - 1, w[1], w[2], w[3], w[4]}), kStopReturned)
                << FormatStopReport(c.stop);
            c.r[0] += w[0];
        }};
        ASSERT_EQ(CallNested(cpu, guest, {host, kDepth, kArgs[0], kArgs[1], kArgs[2], kArgs[3]}), kStopReturned)
            << FormatStopReport(cpu.stop);
        EXPECT_EQ(cpu.r[0], call_host(NativeHost, kDepth, kArgs[0], kArgs[1], kArgs[2], kArgs[3]));
        EXPECT_EQ(deepest, kDepth + 1);
        EXPECT_EQ(cpu.runs, 0u);
    }
}

}  // namespace
