// The stylus: the corner hot-spot, the toolbar, strokes and stamps.
#pragma once
#include "item_state.h"

LRESULT OnPenDown(HWND hwnd, WPARAM wParam, LPARAM lParam);
LRESULT OnPenMove(HWND hwnd, WPARAM wParam, LPARAM lParam);
LRESULT OnPenUp(HWND hwnd, WPARAM wParam, LPARAM lParam);

// Whether item point (x, y) keeps a whole dot of the active tool inside a
// Board of width x height; never with no Board.
bool InsideBoardArea(int x, int y, int width, int height);
// The same with the stamps' margin, STAMP_MARGIN.
bool InsideStampArea(int x, int y, int width, int height);
