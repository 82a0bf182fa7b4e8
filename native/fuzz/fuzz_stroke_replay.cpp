// Strokes of any points: every dot of a run lies within the run's ends, and
// the dots written onto a Board never leave it.
#include "item/board_pixels.h"
#include "item/stroke_replay.h"
#include <stdint.h>
#include <vector>

namespace {

struct Replay {
    BoardPixels board;
    const int *xs;
    const int *ys;
    int count;
    int dots;
};

void Dot(int x, int y, void *context)
{
    Replay *r = (Replay *)context;
    int minX = 1 << 30, maxX = -(1 << 30), minY = 1 << 30, maxY = -(1 << 30);
    for (int i = 0; i < r->count; i++) {
        minX = r->xs[i] < minX ? r->xs[i] : minX;
        maxX = r->xs[i] > maxX ? r->xs[i] : maxX;
        minY = r->ys[i] < minY ? r->ys[i] : minY;
        maxY = r->ys[i] > maxY ? r->ys[i] : maxY;
    }
    if (x < minX - 1 || x > maxX || y < minY - 1 || y > maxY)
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
    Replay r = {{64, 48, pixels.data()}, xs.data(), ys.data(), (int)xs.size(), 0};
    ReplayStrokePoints(xs.data(), ys.data(), (int)xs.size(), Dot, &r);
    return 0;
}
