// screen_probe.exe: what a person sees on the device's screen, printed for a
// test that drives the screen with a real pointer. It only looks; no window
// gets a message from it.
//
//   screen_probe menu [SEPARATORS]  the open popup menu as "LEFT TOP RIGHT
//                                   BOTTOM", and once SEPARATORS separator
//                                   lines show in it, the screen y of each
//                                   on a second line
//   screen_probe window CLASS       a visible top-level window of CLASS, as
//                                   "LEFT TOP RIGHT BOTTOM"
//   screen_probe bar-title [TITLE]  the title the shell's navigation bar
//                                   (class "HHTaskBar") shows; with TITLE,
//                                   waits for it to show TITLE
//   screen_probe front              the title of the window in front
//   screen_probe shows TITLE        exit 0 when a visible top-level window
//                                   other than the navigation bar has TITLE
//   screen_probe navigation-bar-height  the navigation bar's height on this screen
//   screen_probe toolbar-cell NAME  where the item in graphics edit mode on
//                                   this screen has toolbar cell NAME
//                                   (pen-color, save), as "LEFT TOP" in the
//                                   item's pixels
//   screen_probe board-top          the item row where that item shows the
//                                   Board's top row
//
// Each waits up to kWaitMs for what it looks for (a loaded machine can be
// slow to show it). Exit 1 when it does not show in time, 2 for a bad
// command.
#include <windows.h>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

#include "common/dc_pixels.h"
#include "item/item_layout.h"
#include "platform/device_screen.h"

namespace {

const int kWaitMs = 30000;
const int kLookEveryMs = 100;
const int kLooks = kWaitMs / kLookEveryMs;

std::wstring ClassOf(HWND window)
{
    wchar_t name[64];
    return GetClassNameW(window, name, 64) ? name : L"";
}

struct WindowSearch {
    const std::function<bool(HWND)> &matches;
    HWND found;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM param)
{
    WindowSearch *search = (WindowSearch *)param;
    if (!IsWindowVisible(window) || !search->matches(window))
        return TRUE;
    search->found = window;
    return FALSE;
}

// The first visible top-level window that `matches` takes.
HWND FirstVisibleWindow(const std::function<bool(HWND)> &matches)
{
    WindowSearch search = {matches, nullptr};
    EnumWindows(FindVisibleWindow, (LPARAM)&search);
    return search.found;
}

HWND VisibleWindowOfClass(const wchar_t *className)
{
    return FirstVisibleWindow([&](HWND window) { return ClassOf(window) == className; });
}

void PrintRect(const RECT &r)
{
    printf("%ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom);
}

// The screen y of each separator line of a popup menu at `menu`: rows whose
// pixels across the menu, its frame left out, all have the colour the
// system draws separators with (the frame may have it too). Adjacent rows
// count as one line.
std::vector<LONG> SeparatorLines(const RECT &menu)
{
    const int inset = 6;
    int width = menu.right - menu.left - 2 * inset, height = menu.bottom - menu.top;
    std::vector<LONG> lines;
    if (width <= 0 || height <= 0)
        return lines;
    HDC screen = GetDC(nullptr);
    std::vector<COLORREF> pixels = ReadDcPixels(screen, menu.left + inset, menu.top, width, height);
    ReleaseDC(nullptr, screen);
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    bool previous = false;
    for (int row = inset; row < height - inset; row++) {
        bool line = true;
        for (int x = 0; x < width && line; x++)
            line = pixels[(size_t)row * width + x] == shadow;
        if (line && !previous)
            lines.push_back(menu.top + row);
        previous = line;
    }
    return lines;
}

int ProbeMenu(size_t separators)
{
    for (int tries = 0; tries < kLooks; tries++) {
        HWND menu = VisibleWindowOfClass(L"#32768");
        RECT rect;
        if (menu && GetWindowRect(menu, &rect)) {
            std::vector<LONG> lines = SeparatorLines(rect);
            if (lines.size() >= separators) {
                PrintRect(rect);
                if (separators > 0) {
                    for (size_t i = 0; i < lines.size(); i++)
                        printf(i ? " %ld" : "%ld", lines[i]);
                    printf("\n");
                }
                return 0;
            }
        }
        Sleep(kLookEveryMs);
    }
    fwprintf(stderr, L"screen_probe: no popup menu with %u separators shows\n", (unsigned)separators);
    return 1;
}

int ProbeWindow(const wchar_t *className)
{
    for (int tries = 0; tries < kLooks; tries++) {
        HWND window = VisibleWindowOfClass(className);
        RECT rect;
        if (window && GetWindowRect(window, &rect)) {
            PrintRect(rect);
            return 0;
        }
        Sleep(kLookEveryMs);
    }
    fwprintf(stderr, L"screen_probe: no window of class %ls shows\n", className);
    return 1;
}

std::wstring TitleOf(HWND window)
{
    wchar_t title[256] = L"";
    if (window)
        GetWindowTextW(window, title, 256);
    return title;
}

void PrintText(const std::wstring &text)
{
    // UTF-8, so that the shell compares what it reads with what it wrote.
    char bytes[1024];
    int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, bytes, sizeof(bytes), nullptr, nullptr);
    printf("%s\n", n > 0 ? bytes : "");
}

int ProbeShows(const wchar_t *title)
{
    HWND shown = FirstVisibleWindow(
        [&](HWND window) { return ClassOf(window) != L"HHTaskBar" && TitleOf(window) == title; });
    return shown ? 0 : 1;
}

int ProbeBarTitle(const wchar_t *expected)
{
    std::wstring shown;
    for (int tries = 0; tries < (expected ? kLooks : 1); tries++) {
        if (tries)
            Sleep(kLookEveryMs);
        HWND bar = FindWindowW(L"HHTaskBar", nullptr);
        if (!bar) {
            if (!expected) break;
            continue;
        }
        shown = TitleOf(bar);
        if (!expected || shown == expected) {
            PrintText(shown);
            return 0;
        }
    }
    PrintText(shown);
    fwprintf(stderr, L"screen_probe: the navigation bar shows \"%ls\"%ls\n", shown.c_str(),
             expected ? L", not the expected title" : L"");
    return 1;
}

// The layout of an item as wide as this screen, in graphics edit mode.
ItemLayout EditModeLayout()
{
    int width = GetSystemMetrics(SM_CXSCREEN);
    ItemLayoutInput input = {width, width, 200, 1, 640, 640};
    ItemLayout layout;
    LayOutItem(input, &layout);
    return layout;
}

// A toolbar cell of that item.
int ProbeToolbarCell(const std::wstring &name)
{
    const struct {
        const wchar_t *name;
        ItemCell cell;
    } cells[] = {{L"pen-color", CELL_PEN_COLOR}, {L"save", CELL_SAVE}};
    ItemLayout layout = EditModeLayout();
    for (const auto &known : cells)
        if (name == known.name) {
            printf("%d %d\n", layout.cells[known.cell].left, layout.cells[known.cell].top);
            return 0;
        }
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t **argv)
{
    std::wstring what = argc > 1 ? argv[1] : L"";
    if (what == L"menu" && argc <= 3)
        return ProbeMenu(argc == 3 ? (size_t)_wtoi(argv[2]) : 0);
    if (what == L"window" && argc == 3)
        return ProbeWindow(argv[2]);
    if (what == L"bar-title" && argc <= 3)
        return ProbeBarTitle(argc == 3 ? argv[2] : nullptr);
    if (what == L"shows" && argc == 3)
        return ProbeShows(argv[2]);
    if (what == L"front" && argc == 2) {
        PrintText(TitleOf(GetForegroundWindow()));
        return 0;
    }
    if (what == L"navigation-bar-height" && argc == 2) {
        printf("%d\n", NavigationBarHeight());
        return 0;
    }
    if (what == L"toolbar-cell" && argc == 3)
        return ProbeToolbarCell(argv[2]);
    if (what == L"board-top" && argc == 2) {
        printf("%d\n", EditModeLayout().board.top);
        return 0;
    }
    fwprintf(stderr, L"usage: screen_probe menu [SEPARATORS] | window CLASS | bar-title [TITLE] | front | "
                     L"shows TITLE | navigation-bar-height | toolbar-cell NAME | board-top\n");
    return 2;
}
