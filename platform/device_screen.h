// How the device's shell shares out the screen: the navigation bar along the
// top is the shell's; the programs' windows get the rest. The bar shows the
// title of the window in front and, at its right end, an "ok" button when
// that window asks for one; a tap on it sends that window WM_COMMAND IDOK.
#pragma once
#include <windows.h>

// Height in pixels of the navigation bar at 96 dpi: 26, as on a 240 x 320
// Pocket PC. It grows with the screen's dpi (52 at 192 dpi).
enum { NAVIGATION_BAR_HEIGHT_AT_96_DPI = 26 };

#include "navigation_styles.h"

// The window property that the shell's dialog set-up (SHInitDialog with
// SHIDIF_DONEBUTTON) leaves on a dialog that asked for the "ok" button. A
// property, like the title and the styles, is read by the navigation bar
// from its own process.
#define SHELL_DONE_BUTTON_PROPERTY L"ShellDoneButton"

// The navigation bar's height on this screen: the 96-dpi height scaled by
// the screen's vertical dpi.
inline int NavigationBarHeight()
{
    HDC screen = GetDC(NULL);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen)
        ReleaseDC(NULL, screen);
    if (dpi <= 0)
        dpi = 96;
    return MulDiv(NAVIGATION_BAR_HEIGHT_AT_96_DPI, dpi, 96);
}

// The screen below the navigation bar: where the device puts a top-level
// window created with CW_USEDEFAULT, and what a full-screen dialog covers.
inline RECT ScreenBelowNavigationBar()
{
    RECT area = {0, NavigationBarHeight(), GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (area.bottom < area.top)
        area.bottom = area.top;
    return area;
}

// Whether the navigation bar shows an "ok" for `window`: it asked for one
// (the dialog set-up's property, or WS_EX_CAPTIONOKBTN), and its style does
// not refuse one (WS_NONAVDONEBUTTON).
inline bool WantsNavigationDoneButton(HWND window)
{
    if (!window || !IsWindow(window))
        return false;
    if ((DWORD)GetWindowLongW(window, GWL_STYLE) & WS_NONAVDONEBUTTON)
        return false;
    return GetPropW(window, SHELL_DONE_BUTTON_PROPERTY) != NULL ||
           ((DWORD)GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_CAPTIONOKBTN) != 0;
}
