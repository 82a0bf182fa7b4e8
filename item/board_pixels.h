// Pixel primitives of the Board, free of Win32 calls: pen and eraser dots
// and the fill, written straight into 24-bit bottom-up pixel memory.
#pragma once
#include <stddef.h>

// A 24-bit Board: rows of exactly width * 3 bytes, stored bottom-up,
// each pixel blue, green, red.
struct BoardPixels {
    int width;
    int height;
    unsigned char *bits;
};

struct PixelRGB {
    int red, green, blue;
};

// Stored row that receives Board point y (counted down from the top edge).
int BoardAnchorRow(int height, int y);

// Byte offset of pixel (column, stored row).
inline size_t BoardPixelOffset(const BoardPixels &board, int column, int row)
{
    return ((size_t)row * (size_t)board.width + (size_t)column) * 3;
}

// A dot of width w at Board point (x, y): the square of 2w - 1 pixels
// around (x, anchor row); the pen leaves out its four corners, the eraser
// writes them. Pixels outside the Board are never written.
void BoardWriteDot(const BoardPixels &board, int x, int y, int w, bool eraser, PixelRGB color);

// Every pixel of the Board in one colour.
void BoardFill(const BoardPixels &board, PixelRGB color);

// The seventeen named colours, palette indices 0..16.
enum { PALETTE_COLOR_COUNT = 17, PALETTE_THEME_TEXT = 17, PALETTE_TRANSPARENT = 18 };
extern const PixelRGB kPalette[PALETTE_COLOR_COUNT];
