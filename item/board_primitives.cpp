#include "board_primitives.h"
#include "board_format.h"

bool GetBoardPixels(HBITMAP board, BoardPixels *pixels)
{
    DIBSECTION dib;
    if (!board || GetObjectW(board, sizeof(dib), &dib) != (int)sizeof(dib) || !dib.dsBm.bmBits)
        return false;
    if (!BoardLayoutIsAddressable(dib.dsBm.bmWidth, dib.dsBm.bmHeight, dib.dsBm.bmBitsPixel,
                                  (int)dib.dsBmih.biCompression, dib.dsBmih.biHeight > 0,
                                  dib.dsBm.bmWidthBytes))
        return false;
    pixels->width = dib.dsBm.bmWidth;
    pixels->height = dib.dsBm.bmHeight;
    pixels->bits = (unsigned char *)dib.dsBm.bmBits;
    return true;
}

static PixelRGB ToPixel(const ColorRGB &c)
{
    PixelRGB pixel = {c.red, c.green, c.blue};
    return pixel;
}

void DrawAtPoint(HBITMAP board, int x, int y)
{
    BoardPixels pixels;
    if (GetBoardPixels(board, &pixels))
        DrawAtBoardPoint(pixels, x, y);
}

void DrawAtBoardPoint(const BoardPixels &pixels, int x, int y)
{
    const ItemState &s = g_item;
    if (s.interactionState == TOOL_STAMP)
        StampShape(pixels, x, y);
    else if (s.interactionState == TOOL_ERASER)
        BoardWriteDot(pixels, x, y, s.eraserWidth, true, ToPixel(s.eraserColorRGB));
    else
        BoardWriteDot(pixels, x, y, s.penWidth, false, ToPixel(s.penColorRGB));
}

void FillBoard(HBITMAP board)
{
    BoardPixels pixels;
    if (!GetBoardPixels(board, &pixels))
        return;
    BoardFill(pixels, ToPixel(g_item.eraserColorRGB));
}

static void SetFromPalette(ColorRGB *target, int index)
{
    target->red = kPalette[index].red;
    target->green = kPalette[index].green;
    target->blue = kPalette[index].blue;
}

static void ResolveEraser(int index)
{
    ItemState &s = g_item;
    if (index >= 0 && index < PALETTE_COLOR_COUNT)
        SetFromPalette(&s.eraserColorRGB, index);
    else if (index == PALETTE_TRANSPARENT)
        s.eraserColorRGB.red = s.eraserColorRGB.green = s.eraserColorRGB.blue = 224;
}

void ResolveColor(int target)
{
    ItemState &s = g_item;
    switch (target) {
    case COLOR_TARGET_TEXT:
        if (s.textColorIndex >= 0 && s.textColorIndex < PALETTE_COLOR_COUNT) {
            SetFromPalette(&s.textColorRGB, s.textColorIndex);
            s.useThemeTextColor = 0;
        } else if (s.textColorIndex == PALETTE_THEME_TEXT) {
            s.useThemeTextColor = 1;
        }
        break;
    case COLOR_TARGET_PEN:
        if (s.penColorIndex >= 0 && s.penColorIndex < PALETTE_COLOR_COUNT)
            SetFromPalette(&s.penColorRGB, s.penColorIndex);
        break;
    case COLOR_TARGET_CLEAR:
        ResolveEraser(s.clearColorIndex);
        break;
    case COLOR_TARGET_ERASER:
        ResolveEraser(s.eraserColorIndex);
        break;
    case COLOR_TARGET_STAMP:
        if (s.stampColorIndex >= 0 && s.stampColorIndex < PALETTE_COLOR_COUNT)
            SetFromPalette(&s.stampColorRGB, s.stampColorIndex);
        break;
    }
}
