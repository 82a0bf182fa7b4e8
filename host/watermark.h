// What the Today screen paints itself behind the items.
#pragma once
#include <windows.h>

// Draws the Today background that lies under rcToday (Today-window client
// coordinates) into hdc, with rcToday's top-left corner at dest.
void DrawWatermark(HDC hdc, const RECT *rcToday, POINT dest);
