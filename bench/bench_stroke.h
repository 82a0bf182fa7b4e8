// The stroke the pen-up benchmarks replay: 1498 points (the stroke buffer's
// capacity) on three loops of a curve across the Board, 2 to 4 pixels apart,
// so that the replay meets neighbours, straight and sloped runs.
#pragma once
#include <math.h>

enum { BENCH_STROKE_POINTS = 1498 };

// Fills xs, ys with the points, offset by (0, top) in item coordinates.
inline void MakeBenchStroke(int *xs, int *ys, int top)
{
    const double pi = 3.14159265358979323846;
    for (int i = 0; i < BENCH_STROKE_POINTS; i++) {
        double t = 2 * pi * 3 * i / BENCH_STROKE_POINTS;
        xs[i] = 320 + (int)lround(250 * sin(t));
        ys[i] = top + 320 + (int)lround(250 * sin(2 * t + 0.5));
    }
}
