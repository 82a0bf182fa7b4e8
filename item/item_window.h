// The item window: Today-screen entry, message dispatch, layout metrics,
// creation and destruction, background and the refresh protocol.
#pragma once
#include "item_state.h"

extern "C" HWND WINAPI InitializeCustomItem(TODAYLISTITEM *item, HWND parent);

LRESULT CALLBACK ItemWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The layout of the item on a screen `screenWidth` pixels wide at this
// screen's dpi, in its present size and mode, into g_item.layout; the same
// for this screen.
void ApplyLayoutMetrics(int screenWidth);
void UpdateLayoutMetrics();

// The class and window name, string resource 1 (a pointer into the
// resource itself).
LPCWSTR ItemClassName();
