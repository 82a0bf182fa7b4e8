// The device's navigation bar along the top of the screen (navigation_bar.cpp).
#pragma once
#include <windows.h>

// Across the screen's width at the top, above every window; NULL when it
// could not be made.
HWND CreateNavigationBar(int width, int height);
void DestroyNavigationBar();
// Across a screen of this width again, after the screen turned.
void StretchNavigationBar(int width);
// The bar's window, NULL when there is none.
HWND NavigationBarWindow();
// Looks again at the window in front: its title, and whether it wants an "ok".
void RefreshNavigationBar();
// The middle of the "ok" in the bar's client coordinates; false when the
// bar shows none.
bool NavigationBarOkPoint(POINT *point);
