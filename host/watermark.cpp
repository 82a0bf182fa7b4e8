// What the Today screen paints itself: the watermark behind the items,
// RGB(226,236,250) where (x + y) / 16 is even, RGB(250,242,220) where it is
// odd.
#include "watermark.h"

// Watermark: diagonal bands of two pale colours, a pure function of the
// Today-window pixel, so any part of it can be drawn anywhere and still line
// up with the rest.
static const COLORREF kBandColorA = RGB(226, 236, 250);
static const COLORREF kBandColorB = RGB(250, 242, 220);
static const int kBandWidth = 16;

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
