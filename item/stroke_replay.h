// Joining the stored points of a stroke into runs of Board points, free of
// Win32 calls.
#pragma once

// Receives one dot of a stroke at item-client point (x, y).
typedef void (*StrokeDotSink)(int x, int y, void *context);

// Calls `dot` for P0, then for every point of the run from each point to
// the next: a neighbour gets one dot, a vertical or horizontal run one dot
// per pixel, a sloped run one dot per step along its longer axis (computed
// in double precision, fractions dropped). Run ends are included, so
// consecutive runs share their end point.
void ReplayStrokePoints(const int *xs, const int *ys, int count, StrokeDotSink dot, void *context);
