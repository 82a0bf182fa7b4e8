// Shape stamps: the twelve fixed patterns and the writer that puts one into
// Board memory. No Win32 here; the item's wrapper is in stamps.cpp.
#include "stamp_shapes.h"
#include <limits.h>
#include <iterator>

namespace {

// The patterns as seen on the screen, top line first; the comment on each
// line is its dr (row offset from the anchor row, upward positive) and the
// first character of a line is the pattern's smallest dx. '#' is a written
// pixel, '.' an untouched one, 'X' the anchor pixel (dx 0, dr 0), also written.

// "Star - S": 140 pixels, dx -7..+8.
constexpr const char *kStarS[] = {
    /*  +7 */ ".......##.......",
    /*  +6 */ ".......##.......",
    /*  +5 */ "......####......",
    /*  +4 */ "......####......",
    /*  +3 */ ".##############.",
    /*  +2 */ "################",
    /*  +1 */ "################",
    /*  +0 */ ".######X#######.",
    /*  -1 */ "...##########...",
    /*  -2 */ "....########....",
    /*  -3 */ "....########....",
    /*  -4 */ "...##########...",
    /*  -5 */ "...##########...",
    /*  -6 */ "..#####..#####..",
    /*  -7 */ "..####....####..",
    /*  -8 */ "..##........##..",
};

// "Star - L": 422 pixels, dx -14..+15.
constexpr const char *kStarL[] = {
    /* +14 */ "..............##..............",
    /* +13 */ ".............####.............",
    /* +12 */ ".............####.............",
    /* +11 */ "............######............",
    /* +10 */ "............######............",
    /*  +9 */ "...........########...........",
    /*  +8 */ "...........########...........",
    /*  +7 */ "..........##########..........",
    /*  +6 */ "##############################",
    /*  +5 */ ".############################.",
    /*  +4 */ "..##########################..",
    /*  +3 */ "...########################...",
    /*  +2 */ "....######################....",
    /*  +1 */ ".....####################.....",
    /*  +0 */ "......########X#########......",
    /*  -1 */ ".......################.......",
    /*  -2 */ ".......################.......",
    /*  -3 */ "........##############........",
    /*  -4 */ ".......################.......",
    /*  -5 */ ".......################.......",
    /*  -6 */ "......##################......",
    /*  -7 */ "......##################......",
    /*  -8 */ ".....####################.....",
    /*  -9 */ "....##########..##########....",
    /* -10 */ "....########......########....",
    /* -11 */ "...#######..........#######...",
    /* -12 */ "...#####..............#####...",
    /* -13 */ "..####..................####..",
    /* -14 */ "..##......................##..",
};

// "Heart - S": 158 pixels, dx -7..+8.
constexpr const char *kHeartS[] = {
    /*  +6 */ "...###....###...",
    /*  +5 */ "..#####..#####..",
    /*  +4 */ ".##############.",
    /*  +3 */ ".##############.",
    /*  +2 */ "################",
    /*  +1 */ "################",
    /*  +0 */ ".######X#######.",
    /*  -1 */ ".##############.",
    /*  -2 */ "..############..",
    /*  -3 */ "..############..",
    /*  -4 */ "...##########...",
    /*  -5 */ "....########....",
    /*  -6 */ ".....######.....",
    /*  -7 */ "......####......",
    /*  -8 */ ".......##.......",
};

// "Heart - L": 622 pixels, dx -14..+15.
constexpr const char *kHeartL[] = {
    /* +14 */ ".....######........######.....",
    /* +13 */ "....########......########....",
    /* +12 */ "...##########....##########...",
    /* +11 */ "..############..############..",
    /* +10 */ "..##########################..",
    /*  +9 */ ".############################.",
    /*  +8 */ ".############################.",
    /*  +7 */ "##############################",
    /*  +6 */ "##############################",
    /*  +5 */ "##############################",
    /*  +4 */ "##############################",
    /*  +3 */ "##############################",
    /*  +2 */ "##############################",
    /*  +1 */ ".############################.",
    /*  +0 */ ".#############X##############.",
    /*  -1 */ "..##########################..",
    /*  -2 */ "..##########################..",
    /*  -3 */ "...########################...",
    /*  -4 */ "...########################...",
    /*  -5 */ "....######################....",
    /*  -6 */ ".....####################.....",
    /*  -7 */ "......##################......",
    /*  -8 */ ".......################.......",
    /*  -9 */ "........##############........",
    /* -10 */ ".........############.........",
    /* -11 */ "..........##########..........",
    /* -12 */ "...........########...........",
    /* -13 */ "............######............",
    /* -14 */ ".............####.............",
    /* -15 */ "..............##..............",
};

// "Circle (filled) - S": 177 pixels, dx -7..+7.
constexpr const char *kCircleS[] = {
    /*  +7 */ ".....#####.....",
    /*  +6 */ "...#########...",
    /*  +5 */ "..###########..",
    /*  +4 */ ".#############.",
    /*  +3 */ ".#############.",
    /*  +2 */ "###############",
    /*  +1 */ "###############",
    /*  +0 */ "#######X#######",
    /*  -1 */ "###############",
    /*  -2 */ "###############",
    /*  -3 */ ".#############.",
    /*  -4 */ ".#############.",
    /*  -5 */ "..###########..",
    /*  -6 */ "...#########...",
    /*  -7 */ ".....#####.....",
};

// "Circle (filled) - L": 688 pixels, dx -14..+15.
constexpr const char *kCircleL[] = {
    /* +14 */ ".............####.............",
    /* +13 */ ".........############.........",
    /* +12 */ ".......################.......",
    /* +11 */ "......##################......",
    /* +10 */ "....######################....",
    /*  +9 */ "....######################....",
    /*  +8 */ "...########################...",
    /*  +7 */ "..##########################..",
    /*  +6 */ "..##########################..",
    /*  +5 */ ".############################.",
    /*  +4 */ ".############################.",
    /*  +3 */ ".############################.",
    /*  +2 */ "##############################",
    /*  +1 */ "##############################",
    /*  +0 */ "##############X###############",
    /*  -1 */ "##############################",
    /*  -2 */ "##############################",
    /*  -3 */ "##############################",
    /*  -4 */ ".############################.",
    /*  -5 */ ".############################.",
    /*  -6 */ ".############################.",
    /*  -7 */ "..##########################..",
    /*  -8 */ "..##########################..",
    /*  -9 */ "...########################...",
    /* -10 */ "....######################....",
    /* -11 */ "....######################....",
    /* -12 */ "......##################......",
    /* -13 */ ".......################.......",
    /* -14 */ ".........############.........",
    /* -15 */ ".............####.............",
};

// A filled pattern and its frame: the dx of its left column, the dr of its
// top line, its width and height. A frame without lines is a solid block.
struct FilledShape {
    int left, top, width, height;
    const char *const *lines;
    int lineCount;
};

constexpr FilledShape kStarSFrame = {-7, 7, 16, 16, kStarS, (int)std::size(kStarS)};
constexpr FilledShape kStarLFrame = {-14, 14, 30, 29, kStarL, (int)std::size(kStarL)};
constexpr FilledShape kHeartSFrame = {-7, 6, 16, 15, kHeartS, (int)std::size(kHeartS)};
constexpr FilledShape kHeartLFrame = {-14, 14, 30, 30, kHeartL, (int)std::size(kHeartL)};
constexpr FilledShape kCircleSFrame = {-7, 7, 15, 15, kCircleS, (int)std::size(kCircleS)};
constexpr FilledShape kCircleLFrame = {-14, 14, 30, 30, kCircleL, (int)std::size(kCircleL)};
// Every pixel with dx -6..+7 and dr -7..+6.
constexpr FilledShape kSquareSFrame = {-6, 6, 14, 14, nullptr, 0};
// Every pixel with dx -14..+15 and dr -15..+14.
constexpr FilledShape kSquareLFrame = {-14, 14, 30, 30, nullptr, 0};

// An unfilled shape is the outline of its filled twin: the filled pixels
// with at least one of their four direct neighbours outside the filled shape.
struct Shape {
    int number;
    const FilledShape *filled;
    bool outline;
};

constexpr Shape kShapes[] = {
    {SHAPE_STAR_S, &kStarSFrame, false},
    {SHAPE_STAR_L, &kStarLFrame, false},
    {SHAPE_HEART_S, &kHeartSFrame, false},
    {SHAPE_HEART_L, &kHeartLFrame, false},
    {SHAPE_CIRCLE_FILLED_S, &kCircleSFrame, false},
    {SHAPE_CIRCLE_FILLED_L, &kCircleLFrame, false},
    {SHAPE_CIRCLE_OUTLINE_S, &kCircleSFrame, true},
    {SHAPE_CIRCLE_OUTLINE_L, &kCircleLFrame, true},
    {SHAPE_SQUARE_FILLED_S, &kSquareSFrame, false},
    {SHAPE_SQUARE_FILLED_L, &kSquareLFrame, false},
    {SHAPE_SQUARE_OUTLINE_S, &kSquareSFrame, true},
    {SHAPE_SQUARE_OUTLINE_L, &kSquareLFrame, true},
};

// No pattern pixel lies further than this from its anchor, in dx or dr.
constexpr int kReach = 16;

constexpr int LineLength(const char *line)
{
    int n = 0;
    while (line[n])
        n++;
    return n;
}

// Every line as wide as the frame, as many lines as the frame is high, only
// '#', '.' and one 'X' sitting at dx 0, dr 0, and the frame within kReach.
constexpr bool IsWellFormed(const FilledShape &f)
{
    if (f.left < -kReach || f.left + f.width - 1 > kReach || f.top > kReach ||
        f.top - (f.height - 1) < -kReach || f.left > 0 || f.top < 0)
        return false;
    if (!f.lines)
        return f.lineCount == 0;
    if (f.lineCount != f.height)
        return false;
    int anchors = 0;
    for (int line = 0; line < f.height; line++) {
        if (LineLength(f.lines[line]) != f.width)
            return false;
        for (int column = 0; column < f.width; column++) {
            char c = f.lines[line][column];
            if (c == 'X') {
                if (line != f.top || column != -f.left)
                    return false;
                anchors++;
            } else if (c != '#' && c != '.') {
                return false;
            }
        }
    }
    return anchors == 1;
}

static_assert(IsWellFormed(kStarSFrame), "Star - S");
static_assert(IsWellFormed(kStarLFrame), "Star - L");
static_assert(IsWellFormed(kHeartSFrame), "Heart - S");
static_assert(IsWellFormed(kHeartLFrame), "Heart - L");
static_assert(IsWellFormed(kCircleSFrame), "Circle - S");
static_assert(IsWellFormed(kCircleLFrame), "Circle - L");
static_assert(IsWellFormed(kSquareSFrame), "Square - S");
static_assert(IsWellFormed(kSquareLFrame), "Square - L");

bool FilledHas(const FilledShape &f, int dx, int dr)
{
    int column = dx - f.left;
    int line = f.top - dr;
    if (column < 0 || column >= f.width || line < 0 || line >= f.height)
        return false;
    return !f.lines || f.lines[line][column] != '.';
}

bool ShapeHas(const Shape &shape, int dx, int dr)
{
    const FilledShape &f = *shape.filled;
    if (!FilledHas(f, dx, dr))
        return false;
    if (!shape.outline)
        return true;
    return !FilledHas(f, dx - 1, dr) || !FilledHas(f, dx + 1, dr) || !FilledHas(f, dx, dr + 1) ||
           !FilledHas(f, dx, dr - 1);
}

const Shape *FindShape(int number)
{
    for (const Shape &shape : kShapes)
        if (shape.number == number)
            return &shape;
    return nullptr;
}

} // namespace

void BoardStampShape(const BoardPixels &board, int x, int y, int shapeIndex, PixelRGB color)
{
    const Shape *shape = FindShape(shapeIndex);
    if (!shape || !board.bits || board.width < 1 || board.height < 1)
        return;
    // Boards this large cannot exist in memory; refusing them keeps every
    // column and row sum below inside int.
    const int largest = INT_MAX - 2 * kReach;
    if (board.width > largest || board.height > largest)
        return;
    // A point more than kReach off the Board cannot reach it with any pixel.
    if (x < -kReach || x > board.width + kReach || y < -kReach || y > board.height + kReach)
        return;

    const int anchorRow = BoardAnchorRow(board.height, y);
    const FilledShape &f = *shape->filled;
    for (int line = 0; line < f.height; line++) {
        const int dr = f.top - line;
        const int row = anchorRow + dr;
        if (row < 0 || row >= board.height)
            continue;
        for (int column = 0; column < f.width; column++) {
            const int dx = f.left + column;
            const int boardColumn = x + dx;
            if (boardColumn < 0 || boardColumn >= board.width || !ShapeHas(*shape, dx, dr))
                continue;
            unsigned char *p = board.bits + BoardPixelOffset(board, boardColumn, row);
            p[0] = (unsigned char)color.blue;
            p[1] = (unsigned char)color.green;
            p[2] = (unsigned char)color.red;
        }
    }
}
