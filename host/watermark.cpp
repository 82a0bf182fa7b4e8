// What the Today screen paints itself: the watermark behind the items and
// the "Today" title strip.
//
// RGB(226,236,250) where (x + y) / 16 is even, RGB(250,242,220) where it is
// odd. The title strip is RGB(40,80,150) with white text.
//
// Without --interactive, real mouse input is dropped: only the script's
#include "today_host.h"

// Watermark: diagonal bands of two pale colours, a pure function of the
// Today-window pixel, so any part of it can be drawn anywhere and still line
// up with the rest.
static const COLORREF kBandColorA = RGB(226, 236, 250);
static const COLORREF kBandColorB = RGB(250, 242, 220);
static const int kBandWidth = 16;
static const COLORREF kTitleBackColor = RGB(40, 80, 150);
static const COLORREF kTitleTextColor = RGB(255, 255, 255);

static COLORREF WatermarkColorAt(int x, int y)
{
    int s = x + y;
    int band = (s >= 0) ? s / kBandWidth : -((-s + kBandWidth - 1) / kBandWidth);
    return (band & 1) ? kBandColorB : kBandColorA;
}

// Draws the Today background that lies under rcToday (Today-window client
// coordinates) into hdc, with rcToday's top-left corner at dest.
void DrawWatermark(HDC hdc, const RECT *rcToday, POINT dest)
{
    int w = rcToday->right - rcToday->left;
    int h = rcToday->bottom - rcToday->top;
    if (w <= 0 || h <= 0) return;

    BITMAPINFO bi;
    ZeroMemory(&bi, sizeof(bi));
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;             // top-down
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void *bits = NULL;
    HBITMAP bmp = CreateDIBSection(NULL, &bi, DIB_RGB_COLORS, &bits, NULL, 0);
    if (!bmp) return;

    DWORD *px = (DWORD *)bits;
    for (int row = 0; row < h; row++) {
        for (int col = 0; col < w; col++) {
            COLORREF c = WatermarkColorAt(rcToday->left + col, rcToday->top + row);
            px[row * w + col] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        }
    }
    GdiFlush();

    HDC mem = CreateCompatibleDC(hdc);
    HGDIOBJ prev = SelectObject(mem, bmp);
    BitBlt(hdc, dest.x, dest.y, w, h, mem, 0, 0, SRCCOPY);
    SelectObject(mem, prev);
    DeleteDC(mem);
    DeleteObject(bmp);
}

void DrawTitleStrip(HDC hdc)
{
    if (g.headerHeight <= 0) return;
    RECT rc = { 0, 0, g.screenW, g.headerHeight };
    HBRUSH brush = CreateSolidBrush(kTitleBackColor);
    FillRect(hdc, &rc, brush);
    DeleteObject(brush);

    // sized in pixels from the strip, so it fits whatever the screen's dpi
    HFONT font = CreateFontW(-(g.headerHeight * 2 / 3), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Tahoma");
    HGDIOBJ prevFont = SelectObject(hdc, font ? (HGDIOBJ)font : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(hdc, TRANSPARENT);
    SetTextColor(hdc, kTitleTextColor);
    rc.left += 4;
    DrawTextW(hdc, L"Today", -1, &rc, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(hdc, prevFont);
    if (font) DeleteObject(font);
}
