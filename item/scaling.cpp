#include "scaling.h"
#include "../platform/device.h"

int MulDivRound(int a, int b, int c)
{
    int magnitude = a < 0 ? -a : a;
    int result = (magnitude * b + (c >> 1)) / c;
    return a < 0 ? -result : result;
}

static int ReadScreenDpi(int index)
{
    HDC screen = GetDC(NULL);
    if (!screen)
        return -1;
    int dpi = GetDeviceCaps(screen, index);
    ReleaseDC(NULL, screen);
    return dpi;
}

int ScreenDpiX()
{
    static int cached = 0;
    if (cached == 0)
        cached = ReadScreenDpi(LOGPIXELSX);
    return cached;
}

int ScreenDpiY()
{
    static int cached = 0;
    if (cached == 0)
        cached = ReadScreenDpi(LOGPIXELSY);
    return cached;
}
