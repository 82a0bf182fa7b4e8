// Reading back what a DC shows, for tests that look at painted pixels.
#pragma once
#include <windows.h>
#include <vector>

// The width x height pixels of `source` from (x, y), row by row from the
// top, read through a 32-bit DIB section.
std::vector<COLORREF> ReadDcPixels(HDC source, int x, int y, int width, int height);
