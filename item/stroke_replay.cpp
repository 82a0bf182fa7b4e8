#include "stroke_replay.h"

static int Min(int a, int b) { return a < b ? a : b; }
static int Max(int a, int b) { return a > b ? a : b; }

static void ReplayRun(int px, int py, int cx, int cy, StrokeDotSink dot, void *context)
{
    if (cx - px >= -1 && cx - px <= 1 && cy - py >= -1 && cy - py <= 1) {
        dot(cx, cy, context);
    } else if (cx == px) {
        for (int y = Min(py, cy); y <= Max(py, cy); y++)
            dot(cx, y, context);
    } else if (cy == py) {
        for (int x = Min(px, cx); x <= Max(px, cx); x++)
            dot(x, cy, context);
    } else {
        double dy = cy - py, dx = cx - px;
        double m = dy / dx;
        if ((dy < 0 ? -dy : dy) > (dx < 0 ? -dx : dx)) {
            for (int y = Min(py, cy); y <= Max(py, cy); y++)
                dot((int)(((y - py) + m * px) * (1 / m)), y, context);
        } else {
            double b = py - m * px;
            for (int x = Min(px, cx); x <= Max(px, cx); x++)
                dot(x, (int)(m * x + b), context);
        }
    }
}

void ReplayStrokePoints(const int *xs, const int *ys, int count, StrokeDotSink dot, void *context)
{
    if (count < 1)
        return;
    dot(xs[0], ys[0], context);
    for (int i = 1; i < count; i++)
        ReplayRun(xs[i - 1], ys[i - 1], xs[i], ys[i], dot, context);
}
