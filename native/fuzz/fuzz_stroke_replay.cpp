// Strokes of any points: every dot of a run lies within the run's ends, and
// the dots written onto a Board never leave it.
#include "item/board_pixels.h"
#include "item/stroke_replay.h"
#include <stdint.h>
#include <vector>

namespace {

struct Replay {
    BoardPixels board;
    int minX, maxX, minY, maxY;    // the points' bounding box
    int dots;
};

void Dot(int x, int y, void *context)
{
    Replay *r = (Replay *)context;
    if (x < r->minX - 1 || x > r->maxX || y < r->minY - 1 || y > r->maxY)
        __builtin_trap();
    r->dots++;
    BoardWriteDot(r->board, x, y - 19, 1 + (r->dots % 10), r->dots & 1, PixelRGB{255, 0, 0});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::vector<int> xs, ys;
    for (size_t i = 0; i + 3 < size && xs.size() < 1498; i += 4) {
        xs.push_back((data[i] | (data[i + 1] << 8)) % 700);
        ys.push_back((data[i + 2] | (data[i + 3] << 8)) % 700);
    }
    static std::vector<unsigned char> pixels(64 * 48 * 3);
    Replay r = {{64, 48, pixels.data()}, 1 << 30, -(1 << 30), 1 << 30, -(1 << 30), 0};
    for (size_t i = 0; i < xs.size(); i++) {
        r.minX = xs[i] < r.minX ? xs[i] : r.minX;
        r.maxX = xs[i] > r.maxX ? xs[i] : r.maxX;
        r.minY = ys[i] < r.minY ? ys[i] : r.minY;
        r.maxY = ys[i] > r.maxY ? ys[i] : r.maxY;
    }
    ReplayStrokePoints(xs.data(), ys.data(), (int)xs.size(), Dot, &r);
    return 0;
}
