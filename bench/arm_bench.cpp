// The ARM interpreter's speed: compute_mix (tests/emulator/arm_functions.c)
// compiled by gcc for ARM and for Thumb at -O2, run in the interpreter, in
// millions of ARM instructions per second, beside the same C run natively.
//   arm_bench ARM_CODE_DIR WHERE [RUNS]
#include "bench/bench_report.h"
#include "emulator/call.h"
#include "tests/emulator/arm_code.h"
#include "tests/emulator/arm_functions.h"
#include <stdlib.h>
#include <chrono>
#include <map>
#include <string.h>
#include <unordered_map>
#include <string>

static double NowMicroseconds()
{
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// A guest loop of 100,000 import calls, uncounted and with the room's meter
// tallying them (Cpu::trap_calls): what counting costs where it costs most.
static void ImportCalls(const std::string &where, int runs)
{
    const uint32_t kCode = 0x10000, calls = 100000;
    Cpu cpu;
    SetUpStack(cpu, 64 * 1024);
    uint32_t trap = NewTrapAddress(cpu);
    cpu.traps[trap] = Trap{kStopNone, "BENCH.dll!Nothing", [](Cpu &c) { c.r[0] = 0; }};
    // push {r4, lr}; ldr r4, =calls; 1: ldr r3, =trap; blx r3; subs r4, r4, #1;
    // bne 1b; pop {r4, pc}
    const uint32_t code[] = {0xE92D4010, 0xE59F4014, 0xE59F3014, 0xE12FFF33, 0xE2544001,
                             0x1AFFFFFB, 0xE8BD8010, 0, calls, trap};
    memcpy(cpu.memory.MapOwned(kCode, 0x1000, false), code, sizeof code);
    std::unordered_map<uint32_t, uint64_t> tally;
    auto loop = [&] {
        if (CallFunction(cpu, kCode, {}) != kStopReturned)
            fprintf(stderr, "arm_bench: the import loop stopped (%s)\n", FormatStopReport(cpu.stop).c_str());
    };
    double uncounted = MedianMicroseconds(NowMicroseconds, 2, runs, loop);
    cpu.trap_calls = &tally;
    double counted = MedianMicroseconds(NowMicroseconds, 2, runs, loop);
    char operation[128], note[96];
    snprintf(operation, sizeof operation, "ARM interpreter: %u import calls, uncounted", calls);
    snprintf(note, sizeof note, "%.0f ns a call; counted %.0f ns", uncounted * 1000 / calls, counted * 1000 / calls);
    ReportRow(where.c_str(), operation, runs, uncounted, "the same calls counted by the meter", counted, note);
}

int main(int argc, char **argv)
{
    if (argc < 3) {
        fprintf(stderr, "usage: arm_bench ARM_CODE_DIR WHERE [RUNS]\n");
        return 2;
    }
    std::string dir = argv[1], where = argv[2];
    int runs = argc > 3 ? atoi(argv[3]) : 15;
    const uint32_t rounds = 400;
    volatile uint32_t sink = 0;
    double native = MedianMicroseconds(NowMicroseconds, 3, runs, [&] { sink = sink + compute_mix(rounds, 7, 9, 1, 2, 3); });
    for (const char *variant : {"arm-O2", "thumb-O2"}) {
        ArmProgram program;
        if (!LoadArmProgram(dir, variant, program) || !program.symbols.count("compute_mix")) {
            fprintf(stderr, "arm_bench: no %s code in %s\n", variant, dir.c_str());
            return 1;
        }
        uint32_t function = program.symbols["compute_mix"];
        Cpu cpu;
        MapArmProgram(cpu, program);
        uint64_t instructions = 0;
        uint32_t result = 0;
        double best = 1e300;
        double interpreted = MedianMicroseconds(NowMicroseconds, 2, runs, [&] {
            double start = NowMicroseconds();
            uint64_t before = cpu.count;
            CallFunction(cpu, function, {rounds, 7, 9, 1, 2, 3});
            instructions = cpu.count - before;
            result = cpu.r[0];
            best = std::min(best, NowMicroseconds() - start);
        });
        if (cpu.stop.kind != kStopReturned || result != compute_mix(rounds, 7, 9, 1, 2, 3)) {
            fprintf(stderr, "arm_bench: %s gave %u (%s)\n", variant, result, FormatStopReport(cpu.stop).c_str());
            return 1;
        }
        char operation[128], note[96];
        snprintf(operation, sizeof operation, "ARM interpreter: compute_mix(%u), gcc -O2 %s code, %llu instructions",
                 rounds, variant[0] == 'a' ? "ARM" : "Thumb", (unsigned long long)instructions);
        snprintf(note, sizeof note, "%.0f million ARM instructions/s (fastest run: %.0f)", instructions / interpreted,
                 instructions / best);
        ReportRow(where.c_str(), operation, runs, interpreted, "the same C natively", native, note);
    }
    ImportCalls(where, runs);
    return 0;
}
