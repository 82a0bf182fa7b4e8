// Painting the item: corner icon, Board, toolbar and page text.
#pragma once
#include "item_state.h"

// WM_PAINT: rereads the settings, then draws into the paint DC.
LRESULT PaintItem(HWND hwnd);

// Everything a paint draws, into any DC, for an item of width x height.
void PaintItemContent(HDC dc, int width, int height);
