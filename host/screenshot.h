// Screenshots of a window as the screen shows it (screenshot.cpp).
#pragma once
#include <windows.h>
#include <string>

// What a screenshot reads back.
struct ScreenshotSource {
    HWND window;            // read back from the screen, its children included
    HWND above;             // a window over it that paints first too, or NULL
    int width, height;      // the picture's size
};

// Lets everything pending paint, then writes SOURCE as a PNG at PATH;
// false (saying why on stderr) when it could not.
bool TakeScreenshot(const ScreenshotSource &source, const std::wstring &path);
