// menu_probe.exe: where the open popup menu is on the screen, printed as
// "LEFT TOP RIGHT BOTTOM", so that a pointer can click its entries. It only
// looks; the menu gets no message. Exit 1 when no popup menu shows within
// 5 seconds.
#include <windows.h>
#include <cstdio>
#include <cwchar>

static BOOL CALLBACK FindVisibleMenu(HWND window, LPARAM found)
{
    wchar_t name[16];
    if (IsWindowVisible(window) && GetClassNameW(window, name, 16) && wcscmp(name, L"#32768") == 0) {
        *(HWND *)found = window;
        return FALSE;
    }
    return TRUE;
}

int wmain()
{
    for (int tries = 0; tries < 50; tries++) {
        HWND menu = nullptr;
        RECT rect;
        EnumWindows(FindVisibleMenu, (LPARAM)&menu);
        if (menu && GetWindowRect(menu, &rect)) {
            printf("%ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
            return 0;
        }
        Sleep(100);
    }
    fwprintf(stderr, L"menu_probe: no popup menu shows\n");
    return 1;
}
