// The room's meter: a host call's instructions, import calls and moved
// bytes are its own, a call nested in it from a host callback counts apart,
// and a mark between them splits the counts between two operations.
#include "armroom/room.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace {

const uint32_t kCode = 0x20000000, kInner = kCode + 0x100;

// Each line's instructions, bytes and calls, by "OPERATION/ENTRY".
std::map<std::string, std::string> Counts(const std::string &lines)
{
    std::map<std::string, std::string> counts;
    std::istringstream in(lines);
    for (std::string line; std::getline(in, line);) {
        std::vector<std::string> f;
        std::istringstream fields(line);
        for (std::string field; std::getline(fields, field, '\t');)
            f.push_back(field);
        if (f[0] == "call")
            counts[f[2] + "/" + f[3]] = f[4] + " " + f[5] + " " + (f.size() > 6 ? f[6] : "");
        else
            counts["total"] = f[2] + " " + f[3];
    }
    return counts;
}

TEST(Meter, CountsEachHostCallAsItsOwnAndFollowsTheMarks)
{
    ArmRoom &room = ArmRoom::Get();
    uint32_t nest = NewTrapAddress(room.cpu);
    // outer: push {lr}; ldr r3, =nest; blx r3; pop {lr}; bx lr
    // inner: mov r0, #7; add r0, r0, #1; bx lr
    const uint32_t outer[] = {0xE92D4000, 0xE59F3008, 0xE12FFF33, 0xE8BD4000, 0xE12FFF1E, nest};
    const uint32_t inner[] = {0xE3A00007, 0xE2800001, 0xE12FFF1E};
    uint8_t *code = room.cpu.memory.MapOwned(kCode, 0x1000, false);
    memcpy(code, outer, sizeof outer);
    memcpy(code + (kInner - kCode), inner, sizeof inner);
    // The import the outer function calls: it moves 5 bytes, marks a new
    // operation and calls the inner function back, as DispatchMessage runs
    // a window procedure.
    room.cpu.traps[nest] = Trap{kStopNone, "TEST.dll!Nest", [&room](Cpu &cpu) {
        room.meter.Moved(5);
        MarkOperation("second");
        cpu.r[0] = room.Call(kInner, {}, "inner");
    }};
    MarkOperation("first");
    room.meter.Start(room.cpu, "test");

    EXPECT_EQ(room.Call(kCode, {}, "outer"), 8u);

    std::map<std::string, std::string> counts = Counts(room.meter.Lines());
    // push, ldr, blx and the import before the mark; pop and bx after it.
    const std::map<std::string, std::string> expected = {
        {"first/outer", "4 5 Nest=1 "}, {"second/inner", "3 0 "}, {"second/outer", "2 0 "}, {"total", "9 5"}};
    EXPECT_EQ(counts, expected);
}

}  // namespace
