// Each way a run stops as the device would: from compiled code (unaligned
// reads, deep recursion, an undefined instruction, a bad pointer) and from
// single instruction words (SWI, coprocessor, BKPT, unpredictable forms).
#include "arm_programs.h"
#include "emulator/backtrace.h"
#include <gtest/gtest.h>
#include <string.h>

namespace {

struct CompiledFault {
    const char *function;
    uint32_t argument;
    StopKind kind;
    const char *named;      // what the report must say
};
const CompiledFault kCompiledFaults[] = {
    {"read_word", kFlatBase + 2, kStopUnaligned, "alignment"},
    {"read_word", kFlatBase + 1, kStopUnaligned, "unaligned"},
    {"read_half", kFlatBase + 1, kStopUnaligned, "halfword read"},
    {"read_word", 0x50000000u, kStopBadAddress, "bad address"},
    {"recurse", 100000, kStopStackOverflow, "stack overflow"},
    {"undefined_instruction", 7, kStopUndefined, "undefined instruction"},
};

using CompiledArmFaults = ArmProgramsTest;

TEST_F(CompiledArmFaults, CompiledCodeStopsWithTheDevicesFault)
{
    for (const auto &[variant, program] : programs) {
        for (const CompiledFault &f : kCompiledFaults) {
            ArmResult result = CallArm(program, f.function, {f.argument});
            SCOPED_TRACE(std::string(variant) + " " + f.function);
            EXPECT_EQ(result.kind, f.kind) << result.report;
            EXPECT_NE(result.report.find(f.named), std::string::npos) << result.report;
        }
        // A shallow recursion fits the same stack.
        EXPECT_EQ(CallArm(program, "recurse", {50}).kind, kStopReturned);
    }
}

// An unaligned read one, two and three calls deep: the report names the
// function that faulted and, innermost first, each caller, found from lr
// and the stack and named by the binary's symbol list.
struct ChainCase {
    const char *function;
    std::vector<std::string> frames;
};
const ChainCase kChains[] = {
    {"read_word", {"read_word"}},
    {"chain_middle", {"read_word", "chain_middle"}},
    {"chain_outer", {"read_word", "chain_middle", "chain_outer"}},
};

TEST_F(CompiledArmFaults, ChainOfCallsNamesEachCaller)
{
    auto function_of = [](const std::string &description) { return description.substr(0, description.find('+')); };
    for (const auto &[variant, program] : programs) {
        for (const ChainCase &c : kChains) {
            Cpu cpu;
            ASSERT_EQ(RunArm(cpu, program, c.function, {kFlatBase + 1}), kStopUnaligned) << variant << " " << c.function;
            SymbolTable symbols;
            symbols.AddModule(CodeRange{kFlatBase, kFlatBase + (uint32_t)program.bytes.size()}, variant);
            for (const auto &symbol : program.symbols)
                symbols.AddSymbol(symbol.second, symbol.first);
            std::vector<std::string> frames = {function_of(symbols.Describe(cpu.stop.pc))};
            for (uint32_t address : CallChain(cpu, cpu.stack_high, symbols.Code()))
                frames.push_back(function_of(symbols.Describe(address, true)));
            EXPECT_EQ(frames, c.frames) << variant << "\n" << FaultReport(cpu, cpu.stack_high, symbols);
        }
    }
}

// CeGCC's ARMv4 calls through a register: `mov lr, pc` and then mov pc,
// bx or ldr pc. Three such calls deep, each caller saving lr on the stack
// (push {lr}; mov lr, pc; JUMP; pop {pc}), the leaf reads a word at an odd
// address. A code address on the stack that follows no call is no frame.
TEST(ArmFaults, ChainOfCallsFollowsCallsThroughRegisters)
{
    const uint32_t kPush = 0xE52DE004u, kMovLrPc = 0xE1A0E00Fu, kPop = 0xE49DF004u;
    struct Function {
        uint32_t address;
        uint32_t jump;   // to the next function
    };
    const Function kFunctions[] = {
        {0x8000, 0xE1A0F001u},   // mov pc, r1
        {0x8100, 0xE12FFF12u},   // bx r2
        {0x8200, 0xE593F000u},   // ldr pc, [r3]
    };
    const uint32_t kLeaf = 0x8300, kLeafAddress = 0x8400, kReadWord = 0xE5900000u;   // ldr r0, [r0]
    Cpu cpu;
    uint8_t *code = cpu.memory.MapOwned(0x8000, 0x1000, false);
    ASSERT_NE(code, nullptr);
    for (const Function &f : kFunctions) {
        const uint32_t words[] = {kPush, kMovLrPc, f.jump, kPop};
        memcpy(code + (f.address - 0x8000), words, sizeof words);
    }
    memcpy(code + (kLeaf - 0x8000), &kReadWord, 4);
    memcpy(code + (kLeafAddress - 0x8000), &kLeaf, 4);
    uint32_t top = SetUpStack(cpu, 4096), decoy = kFunctions[0].address + 8;   // after mov lr, pc: no call
    memcpy(cpu.memory.Write(top - 4, 4), &decoy, 4);
    cpu.r[0] = 0x8001;
    cpu.r[1] = kFunctions[1].address;
    cpu.r[2] = kFunctions[2].address;
    cpu.r[3] = kLeafAddress;
    cpu.r[13] = top - 8;
    cpu.r[14] = kReturnTrap;
    cpu.pc = kFunctions[0].address;
    ASSERT_EQ(cpu.Run(), kStopUnaligned) << FormatStopReport(cpu.stop);
    std::vector<uint32_t> expected;
    for (int k = 2; k >= 0; k--)
        expected.push_back(kFunctions[k].address + 12);   // after the jump
    EXPECT_EQ(CallChain(cpu, top, {CodeRange{0x8000, 0x8000 + 0x1000}}), expected);
}

// Instruction words run at 0x8000 with r0 = 0x9002, each followed by a
// return (ldmia sp!, {pc} or pop {pc}) to the run's caller.
struct WordFault {
    uint32_t word;
    StopKind kind;
    bool thumb;
    const char *named;      // what the report says
};
const WordFault kWordFaults[] = {
    {0xEF000000u, kStopSoftwareInterrupt, false, "SWI"},      // swi 0
    {0xEE010F10u, kStopCoprocessor, false, "no coprocessor"}, // mcr p15, 0, r0, c1, c0
    {0xE1200070u, kStopBreakpoint, false, "BKPT"},            // bkpt
    {0xE7F000F0u, kStopUndefined, false, "no ARMv5TE encoding"},   // udf
    {0xE1C020D0u, kStopUnaligned, false, "doubleword read"},  // ldrd r2, [r0]: 4-aligned is not enough
    {0xE1D020B1u, kStopUnaligned, false, "halfword read"},    // ldrh r2, [r0, #1]
    {0xE8BD8000u, kStopReturned, false, "returned"},          // ldmia sp!, {pc}: back to the caller
    {0xF5D0F000u, kStopReturned, false, "returned"},          // pld [r0]: nothing, even unmapped
    {0xE1A00000u, kStopReturned, false, "returned"},          // mov r0, r0
    {0xE1B0F00Eu, kStopUndefined, false, "data processing (register) in a form"},   // movs pc, lr: no exception return in user mode
    {0xE12FFF10u, kStopBadAddress, false, "jump outside"},    // bx r0 into the data below
    {0x0000DF01u, kStopSoftwareInterrupt, true, "SWI"},       // Thumb swi 1
    {0x0000DE00u, kStopUndefined, true, "B<cond> in a form"}, // Thumb undefined branch condition
    {0x00006801u, kStopUnaligned, true, "word read"},         // Thumb ldr r1, [r0]
};

TEST(ArmFaults, SingleWordsStopWithTheirKind)
{
    for (const WordFault &f : kWordFaults) {
        Cpu cpu;
        uint8_t *code = cpu.memory.MapOwned(0x8000, 0x1000, true);
        ASSERT_NE(code, nullptr);
        memcpy(code, &f.word, 4);
        const uint32_t arm_return = 0xE8BD8000u;
        const uint16_t thumb_return = 0xBD00;
        if (f.thumb)
            memcpy(code + 2, &thumb_return, 2);
        else
            memcpy(code + 4, &arm_return, 4);
        uint32_t top = SetUpStack(cpu, 4096);
        uint32_t back = kReturnTrap;
        memcpy(cpu.memory.Write(top - 8, 4), &back, 4);
        cpu.traps[kReturnTrap] = Trap{kStopReturned, "return", nullptr};
        cpu.r[0] = 0x9002;
        cpu.r[13] = top - 8;
        cpu.thumb = f.thumb;
        cpu.pc = 0x8000;
        StopKind expected = f.kind;
        char hex[16];
        snprintf(hex, sizeof hex, "%08X", f.word);
        EXPECT_EQ(cpu.Run(), expected) << hex << ": " << FormatStopReport(cpu.stop);
        EXPECT_NE(FormatStopReport(cpu.stop).find(f.named), std::string::npos) << hex << ": " << FormatStopReport(cpu.stop);
        if (StopIsFault(expected) && expected != kStopBadAddress) {
            EXPECT_EQ(cpu.stop.pc, 0x8000u) << hex;
            EXPECT_EQ(cpu.stop.instruction, f.thumb ? (f.word & 0xFFFF) : f.word) << hex;
        }
    }
}

// A guest address is the guest's own: compiled code reads a host buffer
// through the guest address the buffer is mapped at.
TEST_F(CompiledArmFaults, HostBytesAreReachedThroughTheirGuestAddress)
{
    uint32_t host_words[4] = {0, 0xCAFEF00Du, 0, 0};
    const ArmProgram &program = Program("arm-O2");
    Cpu cpu;
    MapArmProgram(cpu, program);
    const uint32_t kAt = 0x50000000u;
    ASSERT_TRUE(cpu.memory.Map(kAt, sizeof host_words, (uint8_t *)host_words, true));
    ASSERT_EQ(CallFunction(cpu, program.symbols.at("read_word"), {kAt + 4}), kStopReturned);
    EXPECT_EQ(cpu.r[0], 0xCAFEF00Du);
}

TEST(ArmFaults, InstructionBudgetStopsAnEndlessLoop)
{
    Cpu cpu;
    uint32_t loop = 0xEAFFFFFEu;   // b .
    memcpy(cpu.memory.MapOwned(0x8000, 4, false), &loop, 4);
    cpu.pc = 0x8000;
    cpu.limit = 1000;
    EXPECT_EQ(cpu.Run(), kStopStepLimit);
    EXPECT_EQ(cpu.count, 1000u);
}

// Host bytes and guest addresses translate both ways inside a region and
// nowhere else; an unmapped region is gone for both, and never code.
TEST(ArmMemory, RegionsTranslateBothWaysUntilUnmapped)
{
    Cpu cpu;
    uint8_t host_bytes[64] = {1, 2, 3, 4}, other_bytes[4] = {};
    const uint32_t kAt = 0x40000000u;
    ASSERT_TRUE(cpu.memory.Map(kAt, sizeof host_bytes, host_bytes, true));
    EXPECT_FALSE(cpu.memory.Map(kAt + 32, 8, host_bytes, true));   // overlaps
    struct Case {
        const void *host;
        uint32_t size;
        bool found;
        uint32_t guest;
    } cases[] = {
        {host_bytes, 1, true, kAt},
        {host_bytes + 60, 4, true, kAt + 60},
        {host_bytes + 60, 8, false, 0},   // runs past the region
        {other_bytes, 1, false, 0},   // host memory of no region
    };
    for (const Case &c : cases) {
        uint32_t guest = 0;
        EXPECT_EQ(cpu.memory.GuestOf(c.host, c.size, guest), c.found);
        if (c.found) {
            EXPECT_EQ(guest, c.guest);
        }
    }
    ASSERT_NE(cpu.memory.RegionAt(kAt + 63), nullptr);
    EXPECT_EQ(cpu.memory.RegionAt(kAt + 64), nullptr);
    EXPECT_EQ(*cpu.memory.Read(kAt + 3, 1), 4);
    EXPECT_TRUE(cpu.memory.Unmap(kAt));
    EXPECT_EQ(cpu.memory.Read(kAt, 4), nullptr);
    uint32_t guest;
    EXPECT_FALSE(cpu.memory.GuestOf(host_bytes, 1, guest));
    SetUpStack(cpu, 4096);
    EXPECT_EQ(CallFunction(cpu, kAt, {}), kStopBadAddress) << FormatStopReport(cpu.stop);
}

}  // namespace
