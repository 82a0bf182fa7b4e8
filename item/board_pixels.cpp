#include "board_pixels.h"
#include <string.h>

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

// Four pixels of one colour: the 12-byte block the run writer repeats.
struct PixelBlock {
    unsigned char bytes[12];
};

static PixelBlock BlockOf(PixelRGB color)
{
    PixelBlock block;
    for (int i = 0; i < 12; i += 3) {
        block.bytes[i] = (unsigned char)color.blue;
        block.bytes[i + 1] = (unsigned char)color.green;
        block.bytes[i + 2] = (unsigned char)color.red;
    }
    return block;
}

// Writes `pixels` pixels of the block's colour from p on. The copies have
// fixed sizes, so they compile to plain stores, not library calls.
static void WriteRun(unsigned char *p, size_t pixels, const PixelBlock &block)
{
    for (; pixels >= 4; pixels -= 4, p += 12)
        memcpy(p, block.bytes, 12);
    for (; pixels > 0; pixels--, p += 3)
        memcpy(p, block.bytes, 3);
}

static long long Clamp(long long value, long long lo, long long hi)
{
    return value < lo ? lo : value > hi ? hi : value;
}

void BoardWriteDot(const BoardPixels &board, int x, int y, int w, bool eraser, PixelRGB color)
{
    if (!board.bits || board.width < 1 || board.height < 1)
        return;
    const long long r0 = BoardAnchorRow(board.height, y);
    const long long reach = w > 1 ? w - 1 : 0;
    // The square, clipped to the Board once; wide integers keep the sums
    // exact for any point. A square wholly off the Board writes nothing.
    if (x + reach < 0 || x - reach >= board.width || r0 + reach < 0 || r0 - reach >= board.height)
        return;
    const long long left = Clamp(x - reach, 0, board.width - 1);
    const long long right = Clamp(x + reach, 0, board.width - 1);
    const long long bottom = Clamp(r0 - reach, 0, board.height - 1);
    const long long top = Clamp(r0 + reach, 0, board.height - 1);
    // The pen leaves out the four corners: its two edge rows run from the
    // column after the left corner to the one before the right corner,
    // cut to the Board (possibly to nothing).
    const bool cornersLeftOut = reach > 0 && !eraser;
    const long long edgeLeft = x - reach + 1 > 0 ? x - reach + 1 : 0;
    const long long edgeRight = x + reach - 1 < board.width - 1 ? x + reach - 1 : board.width - 1;

    // Row by row up the clipped square; the pen's two edge rows are
    // shorter.
    const PixelBlock block = BlockOf(color);
    const size_t rowBytes = (size_t)board.width * 3;
    const size_t fullPixels = (size_t)(right - left + 1);
    unsigned char *p = board.bits + BoardPixelOffset(board, (int)left, (int)bottom);
    for (long long row = bottom; row <= top; row++, p += rowBytes) {
        if (!cornersLeftOut || (row != r0 - reach && row != r0 + reach))
            WriteRun(p, fullPixels, block);
        else if (edgeLeft <= edgeRight)
            WriteRun(p + (edgeLeft - left) * 3, (size_t)(edgeRight - edgeLeft + 1), block);
    }
}

void BoardFill(const BoardPixels &board, PixelRGB color)
{
    if (!board.bits || board.width < 1 || board.height < 1)
        return;
    // The first row from the pixel block, then every other row as its copy.
    const size_t rowBytes = (size_t)board.width * 3;
    WriteRun(board.bits, (size_t)board.width, BlockOf(color));
    for (int row = 1; row < board.height; row++)
        memcpy(board.bits + (size_t)row * rowBytes, board.bits, rowBytes);
}
