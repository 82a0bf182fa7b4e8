// Integer pixel scaling and the cached screen resolution.
#pragma once

// sign(a) * ((|a| * b + c / 2) / c), integer arithmetic.
int MulDivRound(int a, int b, int c);

// LOGPIXELSX / LOGPIXELSY of the screen, read once and cached; -1 when no
// screen DC could be had.
int ScreenDpiX();
int ScreenDpiY();
