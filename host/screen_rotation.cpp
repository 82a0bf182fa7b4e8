// The screen's quarter turn. On the device the user's rotation key, or a
// program, calls ChangeDisplaySettingsEx; the system then resizes the
// full-screen windows to the new screen, each with its WM_SIZE, and sends
// WM_SETTINGCHANGE (SETTINGCHANGE_RESET) to the top-level windows, none of
// it to child windows. Here the display settings are wine's: they change
// the X screen (cmake/run-on-screen.sh gives a headless one both sizes),
// and with it GetSystemMetrics and every DC.
#include "screen_rotation.h"
#include "navigation_bar.h"
#include "platform/device_screen.h"

#include <cwchar>

static const UINT kBroadcastTimeoutMs = 2000;

bool TurnScreen(SIZE *after, std::wstring *error)
{
    SIZE turned = {GetSystemMetrics(SM_CYSCREEN), GetSystemMetrics(SM_CXSCREEN)};
    DEVMODEW mode = {};
    mode.dmSize = sizeof(mode);
    mode.dmPelsWidth = (DWORD)turned.cx;
    mode.dmPelsHeight = (DWORD)turned.cy;
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    LONG result = ChangeDisplaySettingsExW(nullptr, &mode, nullptr, 0, nullptr);
    if (result != DISP_CHANGE_SUCCESSFUL) {
        wchar_t why[96];
        swprintf(why, 96, L"the display did not take %ldx%ld (ChangeDisplaySettingsEx: %ld)", turned.cx,
                 turned.cy, result);
        *error = why;
        return false;
    }
    if (GetSystemMetrics(SM_CXSCREEN) != turned.cx || GetSystemMetrics(SM_CYSCREEN) != turned.cy) {
        *error = L"the display changed, but the screen's size did not follow";
        return false;
    }
    *after = turned;
    return true;
}

struct FullScreenResize {
    SIZE before, after;
    int barHeight;
    HWND keep;
};

static BOOL CALLBACK ResizeIfFullScreen(HWND window, LPARAM param)
{
    const FullScreenResize *r = (const FullScreenResize *)param;
    wchar_t className[16] = L"";
    GetClassNameW(window, className, 16);
    RECT rect;
    // A popup menu (class "#32768") is no window of a program's.
    if (window == r->keep || !IsWindowVisible(window) || !wcscmp(className, L"#32768") ||
        !GetWindowRect(window, &rect))
        return TRUE;
    if (rect.left > 0 || rect.top > r->barHeight || rect.right < r->before.cx)
        return TRUE;
    int roomBelow = r->before.cy - rect.bottom;
    int bottom = r->after.cy - (roomBelow > 0 ? roomBelow : 0);
    if (bottom < rect.top)
        bottom = rect.top;
    SetWindowPos(window, nullptr, rect.left, rect.top, r->after.cx - rect.left, bottom - rect.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}

void ResizeFullScreenWindows(SIZE before, SIZE after, int barHeight, HWND keep)
{
    FullScreenResize resize = {before, after, barHeight, keep};
    EnumWindows(ResizeIfFullScreen, (LPARAM)&resize);
}

void BroadcastOrientationChange()
{
    DWORD_PTR answer;
    SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, SETTINGCHANGE_RESET, 0, SMTO_ABORTIFHUNG,
                        kBroadcastTimeoutMs, &answer);
}
