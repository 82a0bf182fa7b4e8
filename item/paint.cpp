#include "paint.h"
#include "settings_store.h"
#include "../common/registry_text.h"
#include <string.h>

static COLORREF ToColorRef(const ColorRGB &c)
{
    return RGB(c.red, c.green, c.blue);
}

// An icon at the top left of a cell (a half-button's icons cover the
// whole swatch).
static void DrawIconAt(HDC dc, IconRole role, const LayoutRect &cell)
{
    DrawIconEx(dc, cell.left, cell.top, ToolbarIcon(role), 0, 0, 0, NULL, DI_NORMAL);
}

// The preview of the newest stroke point, pixel by pixel in the tool's
// colour: for width w the square of 2w - 1 pixels around the point, one
// pixel up (the rows a dot covers on the Board), without its two upper
// corners and its lower right one, for the pen and the eraser alike.
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
static void DrawBoard(HDC dc, const LayoutRect &area)
{
    const ItemState &s = g_item;
    BITMAP bm;
    if (!s.boardBitmap || !s.compositeDC || GetObjectW(s.boardBitmap, sizeof(bm), &bm) != sizeof(bm))
        return;
    BitBlt(s.compositeDC, 0, 0, bm.bmWidth, bm.bmHeight, s.boardDC, 0, 0, SRCCOPY);
    TransparentImage(dc, area.left, area.top, area.right - area.left, area.bottom - area.top,
                     s.compositeDC, 0, 0, s.boardWidth, s.boardHeight, s.transparentKey);
}

static void DrawSwatch(HDC dc, const LayoutRect &cell, const ColorRGB &color)
{
    HBRUSH brush = CreateSolidBrush(ToColorRef(color));
    HGDIOBJ previous = SelectObject(dc, brush);
    Rectangle(dc, cell.left, cell.top, cell.right, cell.bottom);
    SelectObject(dc, previous);
    DeleteObject(brush);
}

static bool SameColor(const ColorRGB &a, const ColorRGB &b)
{
    return a.red == b.red && a.green == b.green && a.blue == b.blue;
}

// The toolbar of graphics edit mode; the order decides what overlaps what.
static void DrawToolbar(HDC dc, const ItemLayout &layout)
{
    const ItemState &s = g_item;
    const LayoutRect *cell = layout.cells;
    DrawSwatch(dc, cell[CELL_PEN_COLOR], s.penColorRGB);
    DrawIconAt(dc, s.interactionState == TOOL_PEN ? ICON_PEN_ON : ICON_PEN_OFF, cell[CELL_PEN]);
    DrawIconAt(dc, ICON_SWATCH_FRAME, cell[CELL_PEN_COLOR]);
    DrawIconAt(dc, ICON_LOWER_MARK, cell[CELL_PEN_COLOR]);
    if (!SameColor(s.eraserColorRGB, s.boardBackgroundRGB))
        DrawSwatch(dc, cell[CELL_ERASER_COLOR], s.eraserColorRGB);
    DrawIconAt(dc, s.interactionState == TOOL_STAMP ? ICON_STAMP_ON : ICON_STAMP_OFF, cell[CELL_STAMP]);
    DrawSwatch(dc, cell[CELL_STAMP_COLOR], s.stampColorRGB);
    DrawIconAt(dc, ICON_SWATCH_FRAME, cell[CELL_STAMP_COLOR]);
    DrawIconAt(dc, ICON_LOWER_MARK, cell[CELL_STAMP_COLOR]);
    DrawIconAt(dc, s.interactionState == TOOL_ERASER ? ICON_ERASER_ON : ICON_ERASER_OFF, cell[CELL_ERASER]);
    DrawIconAt(dc, ICON_SWATCH_FRAME, cell[CELL_ERASER_COLOR]);
    DrawIconAt(dc, ICON_LOWER_MARK, cell[CELL_ERASER_COLOR]);
    DrawIconAt(dc, ICON_CLEAR, cell[CELL_CLEAR]);
    DrawIconAt(dc, s.showText ? ICON_TEXT_SHOWN : ICON_TEXT_HIDDEN, cell[CELL_TEXT_TOGGLE]);
    DrawIconAt(dc, s.showImage ? ICON_IMAGE_SHOWN : ICON_IMAGE_HIDDEN, cell[CELL_IMAGE_TOGGLE]);
    if (s.boardDirty)
        DrawIconAt(dc, ICON_SAVE, cell[CELL_SAVE]);
}

int TextFontHeight(int logPixelsY, int points)
{
    double pixels = logPixelsY * points * (1.0 / 72) + 0.5;
    return -(int)pixels;
}

// The current page in the system font at the text size, in the theme's or
// the chosen text colour.
static void DrawPageText(HDC dc, const LayoutRect &area)
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
        RECT rc = {area.left, area.top, area.right, area.bottom};
        DrawTextW(dc, s.displayText, -1, &rc, 0);
    }
    SelectObject(dc, previous);
    DeleteObject(created);
}

// The item's layout for a paint of width x height in its present mode, on
// the screen of its last layout.
static void LayOutForPaint(int width, int height, ItemLayout *layout)
{
    const ItemState &s = g_item;
    ItemLayoutInput input = s.layoutInput;
    input.itemWidth = width;
    input.itemHeight = height;
    input.graphicsEditMode = s.graphicsEditMode;
    input.boardWidth = s.boardWidth;
    input.boardHeight = s.boardHeight;
    LayOutItem(input, layout);
}

void PaintItemContent(HDC dc, int width, int height)
{
    const ItemState &s = g_item;
    ItemLayout layout;
    LayOutForPaint(width, height, &layout);
    SetBkMode(dc, TRANSPARENT);
    if (s.graphicsEditMode)
        DrawIconAt(dc, ICON_CORNER, layout.cells[CELL_CORNER]);
    if (s.strokeActive) {
        if (s.showImage && s.lastPenX >= 1 && s.lastPenY >= 1)
            DrawStrokePreview(dc);
    } else if (s.showImage) {
        DrawBoard(dc, layout.board);
    }
    if (s.graphicsEditMode)
        DrawToolbar(dc, layout);
    if (!s.strokeActive)
        DrawPageText(dc, layout.text);
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
