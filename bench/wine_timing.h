// Timing of the item's operations under Wine: medians of repeated runs
// timed by QueryPerformanceCounter, an operation and its limit timed in
// turns, and the report rows of item_bench.
#pragma once
#include "bench_report.h"
#include <windows.h>
#include <algorithm>
#include <string.h>
#include <string>
#include <utility>
#include <vector>

namespace {

int g_runs = 100;
const int kWarmups = 10;
char g_where[32] = "wine";

double NowMicroseconds()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return (double)now.QuadPart * 1e6 / (double)frequency.QuadPart;
}

double Median(std::vector<double> &times);

// Median of `body` with `prepare` run untimed before each run.
template <typename Prepare, typename Body>
double Measure(Prepare prepare, Body body)
{
    for (int i = 0; i < kWarmups; i++) {
        prepare();
        body();
    }
    std::vector<double> times;
    for (int i = 0; i < g_runs; i++) {
        prepare();
        double start = NowMicroseconds();
        body();
        times.push_back(NowMicroseconds() - start);
    }
    return Median(times);
}

template <typename Body>
double Measure(Body body)
{
    return Measure([] {}, body);
}

double Median(std::vector<double> &times)
{
    std::sort(times.begin(), times.end());
    size_t n = times.size();
    return n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
}

// Medians of an operation and its limit timed in turns, so that whatever
// else the machine does at the time weighs on both alike.
template <typename Body, typename Limit>
std::pair<double, double> MeasureInTurns(Body body, Limit limit)
{
    for (int i = 0; i < kWarmups; i++) {
        body();
        limit();
    }
    std::vector<double> bodyTimes, limitTimes;
    for (int i = 0; i < g_runs; i++) {
        double start = NowMicroseconds();
        body();
        double middle = NowMicroseconds();
        limit();
        limitTimes.push_back(NowMicroseconds() - middle);
        bodyTimes.push_back(middle - start);
    }
    return {Median(bodyTimes), Median(limitTimes)};
}

void Row(const std::string &operation, double median, const std::string &limit, double limitMedian,
         const std::string &note = "")
{
    ReportRow(g_where, operation.c_str(), g_runs, median, limit.c_str(), limitMedian, note.c_str());
}

// A memset of `bytes` into a block of its own, kept from being optimised away.
double MemsetMedian(size_t bytes)
{
    static std::vector<unsigned char> block;
    if (block.size() < bytes)
        block.resize(bytes);
    unsigned char *p = block.data();
    return Measure([p, bytes] {
        memset(p, 0x5a, bytes);
        asm volatile("" : : "r"(p) : "memory");
    });
}

}  // namespace
