// What INKLEAF_FAIL_CALL asks for, and the failable list against the
// bindings: a name there that no import has would never fail.
#include "armroom/arm_imports.h"
#include "armroom/device_calls.h"
#include "armroom/fail_calls.h"
#include "armroom/failable_calls.h"
#include "armroom/room.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <stdexcept>
#include <string>

TEST(FailCalls, ReadsTheRequest)
{
    struct Case {
        const char *value;
        bool on;
        const char *name;
        long fail;
    } cases[] = {
        {NULL, false, "", 0},          {"", false, "", 0},        {"17", true, "", 17},
        {"0", true, "", 0},            {"RegSetValueExW:3", true, "RegSetValueExW", 3},
        {"RegSetValueExW:", false, "", 0}, {"x", false, "", 0},   {"-2", false, "", 0},
        {"12a", false, "", 0},
    };
    for (const Case &c : cases) {
        FailPlan plan = ParseFailPlan(c.value);
        SCOPED_TRACE(c.value ? c.value : "NULL");
        EXPECT_EQ(c.on, plan.on);
        EXPECT_EQ(c.name, plan.name);
        EXPECT_EQ(c.fail, plan.fail);
    }
}

TEST(FailCalls, EveryFailableCallIsAnImport)
{
    std::set<std::string> imports;
#define IMPORT(dll, name, ordinal, words, kind) imports.insert(#name);
    ARM_IMPORTS(IMPORT)
#undef IMPORT
#define FAILABLE(import, result, error) \
    EXPECT_TRUE(imports.count(#import)) << #import; \
    EXPECT_EQ(std::string(#import), FindFailableCall(#import)->name);
    FAILABLE_CALLS(FAILABLE)
#undef FAILABLE
    EXPECT_EQ(NULL, FindFailableCall("SetTextColor"));
}

// A failed allocation's NULL handed on to the runtime is the guest's fault:
// the run stops with the room's report instead of the host's crash.
TEST(FailCalls, RuntimeStopsOnNull)
{
    Boundary &boundary = ArmRoom::Get().boundary;
    std::function<void(const std::string &)> saved = boundary.refuse;
    boundary.refuse = [](const std::string &why) { throw std::runtime_error(why); };
    EXPECT_THROW(runtime::memcpy(GuestWord{0}, GuestWord{0}, 4), std::runtime_error);
    EXPECT_THROW(runtime::memset(GuestWord{0}, 0, 4), std::runtime_error);
    EXPECT_THROW(runtime::memcmp(GuestWord{0}, GuestWord{0}, 4), std::runtime_error);
    EXPECT_THROW(runtime::wcslen(NULL), std::runtime_error);
    EXPECT_THROW(runtime::_wcsicmp(L"a", NULL), std::runtime_error);
    EXPECT_EQ(0u, runtime::memcpy(GuestWord{0}, GuestWord{0}, 0).value);
    boundary.refuse = saved;
}
