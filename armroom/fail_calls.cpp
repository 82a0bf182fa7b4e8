// The room's failing of calls on request (armroom/fail_calls.h).
#include "armroom/fail_calls.h"
#include "armroom/failable_calls.h"
#include "armroom/room.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

namespace {

FailPlan ReadPlan()
{
    const char *value = getenv("INKLEAF_FAIL_CALL");
    FailPlan plan = ParseFailPlan(value);
    if (value && *value && !plan.on)
        fprintf(stderr, "armroom: INKLEAF_FAIL_CALL=%s is not [NAME:]N; nothing fails\n", value);
    if (plan.on)
        atexit(ReportFailableCalls);
    return plan;
}

const FailPlan &ThePlan()
{
    static const FailPlan plan = ReadPlan();
    return plan;
}

// The run's count, in the section every process of the run shares.
volatile LONG *RunCount()
{
    static volatile LONG *count = (volatile LONG *)RunSection(L"InkleafFailableCalls", sizeof(LONG));
    return count;
}

}  // namespace

FailPlan ParseFailPlan(const char *value)
{
    FailPlan plan = {false, "", 0};
    if (!value || !*value)
        return plan;
    const char *colon = strrchr(value, ':');
    const char *number = colon ? colon + 1 : value;
    char *end = NULL;
    long n = strtol(number, &end, 10);
    if (end == number || *end || n < 0)
        return plan;
    plan.on = true;
    plan.name.assign(value, colon ? colon - value : 0);
    plan.fail = n;
    return plan;
}

const FailableCall *FindFailableCall(const std::string &name)
{
#define ROW(name, result, error) {#name, (uint32_t)(result), error},
    static const FailableCall calls[] = {FAILABLE_CALLS(ROW)};
#undef ROW
    for (const FailableCall &call : calls)
        if (name == call.name)
            return &call;
    return NULL;
}

bool FailThisCall(const FailableCall &call, const std::string &label)
{
    const FailPlan &plan = ThePlan();
    if (!plan.on)
        return false;
    // Any failable call opens the run's count, so that it lives while the
    // program that started the others does.
    volatile LONG *count = RunCount();
    if (!count || (!plan.name.empty() && plan.name != call.name))
        return false;
    LONG n = InterlockedIncrement(count);
    if (n != plan.fail)
        return false;
    char line[200];
    snprintf(line, sizeof line, "armroom: failed call %ld of the run: %s (result %lu, last error %lu)\n", (long)n,
             label.c_str(), (unsigned long)call.result, (unsigned long)call.error);
    RoomLog(line);
    return true;
}

void ReportFailableCalls()
{
    static bool reported = false;
    if (!ThePlan().on || reported)
        return;
    reported = true;
    volatile LONG *count = RunCount();
    char line[80];
    snprintf(line, sizeof line, "armroom: %ld failable calls in the run\n", count ? (long)*count : 0L);
    RoomLog(line);
}
