// Native benchmarks of the item's Win32-free pixel logic: the Board fill,
// the twelve stamps and the pen-up replay of a full stroke, each against
// memset of the bytes it stands for. Times come from steady_clock;
// `--once OPERATION` runs one operation once inside
// inkleaf_measured_operation, for counting its instructions under
// valgrind --tool=callgrind --toggle-collect=inkleaf_measured_operation.
#include "bench_report.h"
#include "bench_shapes.h"
#include "bench_stroke.h"
#include "item/board_pixels.h"
#include "item/stamp_shapes.h"
#include "item/stroke_replay.h"
#include <chrono>
#include <functional>
#include <stdlib.h>
#include <string.h>
#include <string>

namespace {

const int kSide = 640;
const size_t kBoardBytes = (size_t)kSide * kSide * 3;   // 1,228,800
const PixelRGB kInk = {30, 200, 160};

struct Operation {
    std::string name;
    std::function<void()> body;
    std::string limit;
    std::function<void()> limitBody;
    std::string note;
};

double NowMicroseconds()
{
    using namespace std::chrono;
    return duration<double, std::micro>(steady_clock::now().time_since_epoch()).count();
}

// Keeps the compiler from dropping a memset whose result nobody reads.
void Touch(void *p)
{
    asm volatile("" : : "r"(p) : "memory");
}

struct StrokeDots {
    const BoardPixels *board;
    int width;
    long dots;
};

void WriteStrokeDot(int x, int y, void *context)
{
    StrokeDots *s = (StrokeDots *)context;
    s->dots++;
    BoardWriteDot(*s->board, x, y, s->width, false, kInk);
}

void CountDot(int, int, void *context)
{
    ((StrokeDots *)context)->dots++;
}

int g_xs[BENCH_STROKE_POINTS], g_ys[BENCH_STROKE_POINTS];

// Pixels of a dot of width w (the pen leaves out the four corners).
long DotPixels(int w)
{
    long side = 2L * w - 1;
    return w > 1 ? side * side - 4 : 1;
}

std::vector<Operation> Operations(const BoardPixels &board, unsigned char *scratch)
{
    std::vector<Operation> ops;
    auto memsetOf = [scratch](size_t bytes) {
        return [scratch, bytes] {
            memset(scratch, 0x5a, bytes);
            Touch(scratch);
        };
    };
    std::string boardLimit = "memset " + std::to_string(kBoardBytes) + " B";
    ops.push_back({"BoardFill 640 x 640", [board] { BoardFill(board, kInk); }, boardLimit,
                   memsetOf(kBoardBytes), ""});
    for (const BenchShape &shape : kShapeList) {
        int number = shape.number;
        ops.push_back({std::string("stamp ") + shape.name,
                       [board, number] { BoardStampShape(board, 320, 320, number, kInk); },
                       boardLimit, memsetOf(kBoardBytes), ""});
    }
    MakeBenchStroke(g_xs, g_ys, 0);
    StrokeDots counter = {&board, 0, 0};
    ReplayStrokePoints(g_xs, g_ys, BENCH_STROKE_POINTS, CountDot, &counter);
    for (int width : {2, 10}) {
        size_t bytes = (size_t)counter.dots * DotPixels(width) * 3;
        ops.push_back({"pen-up replay, 1498 points, width " + std::to_string(width),
                       [&board, width] {
                           StrokeDots dots = {&board, width, 0};
                           ReplayStrokePoints(g_xs, g_ys, BENCH_STROKE_POINTS, WriteStrokeDot, &dots);
                       },
                       "memset " + std::to_string(bytes) + " B", memsetOf(bytes),
                       std::to_string(counter.dots) + " dots"});
    }
    return ops;
}

} // namespace

extern "C" __attribute__((noinline)) void inkleaf_measured_operation(const std::function<void()> &body)
{
    body();
}

int main(int argc, char **argv)
{
    // The scratch block takes the largest memset: a width-10 replay's bytes.
    std::vector<unsigned char> pixels(kBoardBytes), scratch(16u << 20);
    BoardPixels board = {kSide, kSide, pixels.data()};
    std::vector<Operation> ops = Operations(board, scratch.data());
    if (argc == 3 && strcmp(argv[1], "--once") == 0) {
        for (const Operation &op : ops)
            if (op.name == argv[2]) {
                op.body();   // pages touched once before counting
                inkleaf_measured_operation(op.body);
                return 0;
            }
        fprintf(stderr, "native_bench: no operation \"%s\"\n", argv[2]);
        return 2;
    }
    if (argc == 2 && strcmp(argv[1], "--list") == 0) {
        for (const Operation &op : ops)
            printf("%s\n", op.name.c_str());
        return 0;
    }
    const int runs = argc == 2 ? atoi(argv[1]) : 200;
    for (const Operation &op : ops) {
        double median = MedianMicroseconds(NowMicroseconds, 10, runs, op.body);
        double limit = MedianMicroseconds(NowMicroseconds, 10, runs, op.limitBody);
        ReportRow("native", op.name.c_str(), runs, median, op.limit.c_str(), limit, op.note.c_str());
    }
    return 0;
}
