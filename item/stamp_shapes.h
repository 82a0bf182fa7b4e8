// The twelve shape stamps, free of Win32 calls: fixed pixel patterns written
// straight into 24-bit bottom-up Board memory.
#pragma once
#include "board_pixels.h"

// Shape numbers (the values of shapeIndex); 3, 6, 9, 12 and 15 are not shapes.
enum {
    SHAPE_STAR_S = 1,
    SHAPE_STAR_L = 2,
    SHAPE_HEART_S = 4,
    SHAPE_HEART_L = 5,
    SHAPE_CIRCLE_FILLED_S = 7,
    SHAPE_CIRCLE_FILLED_L = 8,
    SHAPE_CIRCLE_OUTLINE_S = 10,
    SHAPE_CIRCLE_OUTLINE_L = 11,
    SHAPE_SQUARE_FILLED_S = 13,
    SHAPE_SQUARE_FILLED_L = 14,
    SHAPE_SQUARE_OUTLINE_S = 16,
    SHAPE_SQUARE_OUTLINE_L = 17
};

// Stamps shape shapeIndex in one colour, anchored at Board point (x, y):
// pattern pixel (dx, dr) goes to column x + dx of stored row
// BoardAnchorRow(height, y) + dr (dr counts upward). Pixels outside the
// pattern are left alone. A shapeIndex that is no shape writes nothing.
// Pattern pixels that fall outside the Board are skipped one by one, so no
// byte outside width * height * 3 bytes from board.bits is ever written;
// callers keep the anchor 18 pixels inside the Board, where nothing is cut.
void BoardStampShape(const BoardPixels &board, int x, int y, int shapeIndex, PixelRGB color);
