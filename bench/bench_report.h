// What every benchmark program of Inkleaf shares: repeated timing of one
// operation and of its limit, medians, and the report line the inkleaf
// script turns into docs/benchmarks.md. No Win32 here.
#pragma once
#include <algorithm>
#include <stdio.h>
#include <vector>

// Runs `body` `warmups` times untimed, then `runs` times, each run timed by
// `clock` (returning microseconds as a double); gives the median.
template <typename Clock, typename Body>
double MedianMicroseconds(Clock clock, int warmups, int runs, Body body)
{
    for (int i = 0; i < warmups; i++)
        body();
    std::vector<double> times;
    times.reserve(runs);
    for (int i = 0; i < runs; i++) {
        double start = clock();
        body();
        times.push_back(clock() - start);
    }
    std::sort(times.begin(), times.end());
    size_t n = times.size();
    return n % 2 ? times[n / 2] : (times[n / 2 - 1] + times[n / 2]) / 2;
}

// One line of the report, tab-separated:
//   BENCH  where  operation  runs  median-us  limit  limit-median-us  note
inline void ReportRow(const char *where, const char *operation, int runs, double median,
                      const char *limit, double limitMedian, const char *note = "")
{
    printf("BENCH\t%s\t%s\t%d\t%.2f\t%s\t%.2f\t%s\n", where, operation, runs, median, limit,
           limitMedian, note);
    fflush(stdout);
}
