// How the device's shell shares out the screen: a title strip along the top
// is the shell's; the programs' windows get the rest.
#pragma once
#include <windows.h>

// Height in pixels of the shell's title strip, on the small and on the large
// screen alike. The Today stand-in draws its "Today" strip this high unless
// told otherwise (--header).
enum { SHELL_TITLE_STRIP_HEIGHT = 20 };

// The screen below the title strip: where the device puts a top-level window
// created with CW_USEDEFAULT, and what a full-screen dialog covers.
inline RECT ScreenBelowTitleStrip()
{
    RECT area = {0, SHELL_TITLE_STRIP_HEIGHT, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (area.bottom < area.top)
        area.bottom = area.top;
    return area;
}
