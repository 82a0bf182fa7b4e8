#include "paint.h"
#include "settings_store.h"
#include "../common/registry_text.h"
#include <string.h>

static COLORREF ToColorRef(const ColorRGB &c)
{
    return RGB(c.red, c.green, c.blue);
}

static void DrawIconAt(HDC dc, IconRole role, int x)
{
    DrawIconEx(dc, x, g_item.toolbarTop, ToolbarIcon(role), 0, 0, 0, NULL, DI_NORMAL);
}

// The preview of the newest stroke point: the rows a dot of the tool's
// width covers on the Board, drawn pixel by pixel.
static void DrawStrokePreview(HDC dc)
{
    const ItemState &s = g_item;
    bool eraser = s.interactionState == TOOL_ERASER;
    int w = eraser ? s.eraserWidth : s.penWidth;
    COLORREF color = ToColorRef(eraser ? s.eraserColorRGB : s.penColorRGB);
    int x = s.lastPenX, y = s.lastPenY;
    if (w == 1) {
        SetPixel(dc, x, y, color);
        return;
    }
    for (int dy = -w; dy <= w - 2; dy++)
        for (int dx = -(w - 1); dx <= w - 1; dx++) {
            bool topCorner = dy == -w && (dx == -(w - 1) || dx == w - 1);
            bool bottomRight = dy == w - 2 && dx == w - 1;
            if (!topCorner && !bottomRight)
                SetPixel(dc, x + dx, y + dy, color);
        }
}

// The Board through the composite bitmap, its background grey left out.
static void DrawBoard(HDC dc)
{
    const ItemState &s = g_item;
    BITMAP bm;
    if (!s.boardBitmap || !s.compositeDC || GetObjectW(s.boardBitmap, sizeof(bm), &bm) != sizeof(bm))
        return;
    BitBlt(s.compositeDC, 0, 0, bm.bmWidth, bm.bmHeight, s.boardDC, 0, 0, SRCCOPY);
    int top = s.graphicsEditMode ? s.toolbarHeight : 0;
    TransparentImage(dc, 0, top, s.boardWidth, s.boardHeight, s.compositeDC, 0, 0, s.boardWidth,
                     s.boardHeight, s.transparentKey);
}

static void DrawSwatch(HDC dc, int x, const ColorRGB &color)
{
    HBRUSH brush = CreateSolidBrush(ToColorRef(color));
    HGDIOBJ previous = SelectObject(dc, brush);
    Rectangle(dc, x, 1, x + g_item.swatchSize, 1 + g_item.swatchSize);
    SelectObject(dc, previous);
    DeleteObject(brush);
}

static bool SameColor(const ColorRGB &a, const ColorRGB &b)
{
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

// The toolbar of graphics edit mode; the order decides what overlaps what.
static void DrawToolbar(HDC dc)
{
    const ItemState &s = g_item;
    DrawSwatch(dc, s.penSwatchX, s.penColorRGB);
    DrawIconAt(dc, s.interactionState == TOOL_PEN ? ICON_PEN_ON : ICON_PEN_OFF, s.penButtonX);
    DrawIconAt(dc, ICON_SWATCH_FRAME, s.penSwatchX);
    DrawIconAt(dc, ICON_LOWER_MARK, s.penSwatchX);
    if (!SameColor(s.eraserColorRGB, s.boardBackgroundRGB))
        DrawSwatch(dc, s.eraserSwatchX, s.eraserColorRGB);
    DrawIconAt(dc, s.interactionState == TOOL_STAMP ? ICON_STAMP_ON : ICON_STAMP_OFF, s.stampButtonX);
    DrawSwatch(dc, s.stampSwatchX, s.stampColorRGB);
    DrawIconAt(dc, ICON_SWATCH_FRAME, s.stampSwatchX);
    DrawIconAt(dc, ICON_LOWER_MARK, s.stampSwatchX);
    DrawIconAt(dc, s.interactionState == TOOL_ERASER ? ICON_ERASER_ON : ICON_ERASER_OFF, s.eraserButtonX);
    DrawIconAt(dc, ICON_SWATCH_FRAME, s.eraserSwatchX);
    DrawIconAt(dc, ICON_LOWER_MARK, s.eraserSwatchX);
    DrawIconAt(dc, ICON_CLEAR, s.clearButtonX);
    DrawIconAt(dc, s.showText ? ICON_TEXT_SHOWN : ICON_TEXT_HIDDEN, s.textToggleX);
    DrawIconAt(dc, s.showImage ? ICON_IMAGE_SHOWN : ICON_IMAGE_HIDDEN, s.imageToggleX);
    if (s.boardDirty)
        DrawIconAt(dc, ICON_SAVE, s.saveButtonX);
}

int TextFontHeight(int logPixelsY, int points)
{
    double pixels = logPixelsY * points * (1.0 / 72) + 0.5;
    return -(int)pixels;
}

// The current page in the system font at the text size, in the theme's or
// the chosen text colour.
static void DrawPageText(HDC dc, int width, int height)
{
    ItemState &s = g_item;
    LOGFONTW font;
    GetObjectW(GetStockObject(SYSTEM_FONT), sizeof(font), &font);
    font.lfHeight = TextFontHeight(GetDeviceCaps(dc, LOGPIXELSY), s.fontSize);
    HFONT created = CreateFontIndirectW(&font);
    HGDIOBJ previous = SelectObject(dc, created);
    COLORREF theme = (COLORREF)SendMessageW(GetParent(s.itemWindow), TODAYM_GETCOLOR, TODAYCOLOR_TEXT, 0);
    SetTextColor(dc, s.useThemeTextColor ? theme : ToColorRef(s.textColorRGB));
    const WCHAR *page = (s.currentPage >= 1 && s.currentPage <= PAGE_COUNT) ? s.pageText[s.currentPage - 1] : L"";
    int length = TextLength(page, PAGE_TEXT_UNITS - 1);
    memcpy(s.displayText, page, length * sizeof(WCHAR));
    s.displayText[length] = 0;
    if (s.showText) {
        RECT rc = {5, s.graphicsEditMode ? s.iconSize + 3 : 3, width, height};
        DrawTextW(dc, s.displayText, -1, &rc, 0);
    }
    SelectObject(dc, previous);
    DeleteObject(created);
}

void PaintItemContent(HDC dc, int width, int height)
{
    const ItemState &s = g_item;
    SetBkMode(dc, TRANSPARENT);
    if (s.graphicsEditMode)
        DrawIconAt(dc, ICON_CORNER, s.cornerIconX);
    if (s.strokeActive) {
        if (s.showImage && s.lastPenX >= 1 && s.lastPenY >= 1)
            DrawStrokePreview(dc);
    } else if (s.showImage) {
        DrawBoard(dc);
    }
    if (s.graphicsEditMode)
        DrawToolbar(dc);
    if (!s.strokeActive)
        DrawPageText(dc, width, height);
}

LRESULT PaintItem(HWND hwnd)
{
    ReloadSettings();
    RECT window;
    GetWindowRect(hwnd, &window);
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd, &ps);
    PaintItemContent(dc, window.right - window.left, window.bottom - window.top);
    EndPaint(hwnd, &ps);
    return 0;
}
