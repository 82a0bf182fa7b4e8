#include "board_pixels.h"

const PixelRGB kPalette[PALETTE_COLOR_COUNT] = {
    {0, 0, 0},       // Black
    {255, 255, 255}, // White
    {192, 192, 192}, // Gray
    {255, 0, 0},     // Red
    {255, 255, 0},   // Yellow
    {0, 255, 0},     // Green
    {0, 255, 255},   // Cyan
    {0, 0, 255},     // Blue
    {255, 0, 255},   // Purple
    {255, 255, 128}, // Cream
    {0, 255, 128},   // Emerald Green
    {175, 175, 210}, // Baby Blue
    {128, 128, 255}, // Turquoise Blue
    {239, 143, 156}, // Pink
    {255, 128, 0},   // Orange
    {217, 186, 151}, // Beige
    {153, 127, 66},  // Khaki
};

int BoardAnchorRow(int height, int y)
{
    return y == height / 2 ? y : height - y;
}

static inline void PutPixel(const BoardPixels &board, int column, int row, PixelRGB color)
{
    unsigned char *p = board.bits + BoardPixelOffset(board, column, row);
    p[0] = (unsigned char)color.blue;
    p[1] = (unsigned char)color.green;
    p[2] = (unsigned char)color.red;
}

void BoardWriteDot(const BoardPixels &board, int x, int y, int w, bool eraser, PixelRGB color)
{
    if (!board.bits || board.width < 1 || board.height < 1)
        return;
    int r0 = BoardAnchorRow(board.height, y);
    int reach = w > 1 ? w - 1 : 0;
    for (int row = r0 + reach; row >= r0 - reach; row--) {
        if (row < 0 || row >= board.height)
            continue;
        bool edgeRow = row == r0 + reach || row == r0 - reach;
        for (int column = x - reach; column <= x + reach; column++) {
            if (column < 0 || column >= board.width)
                continue;
            bool corner = reach > 0 && edgeRow && (column == x - reach || column == x + reach);
            if (corner && !eraser)
                continue;
            PutPixel(board, column, row, color);
        }
    }
}

void BoardFill(const BoardPixels &board, PixelRGB color)
{
    if (!board.bits || board.width < 1 || board.height < 1)
        return;
    unsigned char *p = board.bits;
    unsigned char *end = p + BoardPixelOffset(board, 0, board.height);
    for (; p < end; p += 3) {
        p[0] = (unsigned char)color.blue;
        p[1] = (unsigned char)color.green;
        p[2] = (unsigned char)color.red;
    }
}
