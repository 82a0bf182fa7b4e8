// The item window: Today-screen entry, message dispatch, layout metrics,
// creation and destruction, background and the refresh protocol.
#pragma once
#include "item_state.h"

extern "C" HWND WINAPI InitializeCustomItem(TODAYLISTITEM *item, HWND parent);

LRESULT CALLBACK ItemWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// The metrics of a screen `screenWidth` pixels wide, into g_item.
void ApplyLayoutMetrics(int screenWidth);
void UpdateLayoutMetrics();

// The class and window name, string resource 1 (a pointer into the
// resource itself).
LPCWSTR ItemClassName();
