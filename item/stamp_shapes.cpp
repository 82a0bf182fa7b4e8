// Shape stamps: the twelve fixed patterns and the writer that puts one into
// Board memory. No Win32 here; the item's wrapper is in stamps.cpp.
#include "stamp_shapes.h"
#include "stamp_patterns.h"
#include <limits.h>

namespace {

// An unfilled shape is the outline of its filled twin: the filled pixels
// with at least one of their four direct neighbours outside the filled shape.
struct Shape {
    int number;
    const FilledShape *filled;
    bool outline;
};

const Shape kShapes[] = {
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
    for (size_t i = 0; i < COUNT_OF(kShapes); i++)
        if (kShapes[i].number == number)
            return &kShapes[i];
    return NULL;
}

} // namespace

void BoardStampShape(const BoardPixels &board, int x, int y, int shapeIndex, PixelRGB color)
{
    const Shape *shape = FindShape(shapeIndex);
    if (!shape || !board.bits || board.width < 1 || board.height < 1)
        return;
    // Boards this large cannot exist in memory; refusing them keeps every
    // column and row sum below inside int.
    const int largest = INT_MAX - 2 * STAMP_REACH;
    if (board.width > largest || board.height > largest)
        return;
    // A point more than STAMP_REACH off the Board cannot reach it with any pixel.
    if (x < -STAMP_REACH || x > board.width + STAMP_REACH || y < -STAMP_REACH || y > board.height + STAMP_REACH)
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
