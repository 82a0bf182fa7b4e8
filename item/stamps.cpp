// The stamp tool's branch of DrawAtPoint: the selected shape in the stamp
// colour. The patterns and the pixel writer are in stamp_shapes.cpp.
#include "board_primitives.h"
#include "stamp_shapes.h"

void StampShape(const BoardPixels &board, int x, int y)
{
    const ColorRGB &c = g_item.stampColorRGB;
    PixelRGB color = {c.red, c.green, c.blue};
    BoardStampShape(board, x, y, g_item.shapeIndex, color);
}
