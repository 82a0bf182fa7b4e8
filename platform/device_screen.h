// How the device's shell shares out the screen: the navigation bar along the
// top is the shell's; the programs' windows get the rest. The bar shows the
// title of the window in front and, at its right end, an "ok" button when
// that window asks for one; a tap on it sends that window WM_COMMAND IDOK.
#pragma once
#include <windows.h>
#include "../common/navigation_bar.h"

#include "navigation_styles.h"

// The wParam of the WM_SETTINGCHANGE that the system sends every top-level
// window when the screen turns between portrait and landscape.
#ifndef SETTINGCHANGE_RESET
#define SETTINGCHANGE_RESET 0x3002
#endif

// The window property that the shell's dialog set-up (SHInitDialog with
// SHIDIF_DONEBUTTON) leaves on a dialog that asked for the "ok" button. A
// property, like the title and the styles, is read by the navigation bar
// from its own process.
#define SHELL_DONE_BUTTON_PROPERTY L"ShellDoneButton"

// The navigation bar's height on this screen, by its vertical dpi.
inline int NavigationBarHeight()
{
    HDC screen = GetDC(NULL);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen)
        ReleaseDC(NULL, screen);
    return NavigationBarHeightAt(dpi);
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
