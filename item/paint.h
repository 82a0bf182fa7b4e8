// Painting the item: corner icon, Board, toolbar and page text.
#pragma once
#include "item_state.h"

// WM_PAINT: rereads the settings, then draws into the paint DC.
LRESULT PaintItem(HWND hwnd);

// lfHeight of the page text's font: minus the point size in pixels at
// logPixelsY, rounded to nearest (8 points: -11 at 96 dpi, -21 at 192).
int TextFontHeight(int logPixelsY, int points);

// Everything a paint draws, into any DC, for an item of width x height.
void PaintItemContent(HDC dc, int width, int height);
