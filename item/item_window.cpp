#include "item_window.h"
#include "board_file.h"
#include "board_primitives.h"
#include "commands.h"
#include "menus.h"
#include "paint.h"
#include "pen_input.h"
#include "scaling.h"
#include "settings_store.h"
#include "resources/item_resource.h"

LPCWSTR ItemClassName()
{
    // A NULL buffer asks for the resource's own read-only text.
    return (LPCWSTR)(INT_PTR)LoadStringW(g_item.moduleInstance, IDS_ITEM_NAME, NULL, 0);
}

// The Today screen calls ordinal 240 as its initialise-item function: on
// x86 the calling convention is part of that type, and a function of
// another type does not convert to it.
char TakesInitializeItemFunction(PFNCUSTOMINITIALIZEITEM);
COMPILE_CHECK(InitializeCustomItem_is_the_Today_screens_initialise_item_function,
              sizeof(TakesInitializeItemFunction(&InitializeCustomItem)) == 1);

extern "C" HWND WINAPI InitializeCustomItem(TODAYLISTITEM *, HWND parent)
{
    LPCWSTR name = ItemClassName();
    g_item.itemWindow = CreateWindowExW(0, name, name, WS_CHILD | WS_VISIBLE, CW_USEDEFAULT,
                                        CW_USEDEFAULT, 240, 0, parent, NULL,
                                        g_item.moduleInstance, NULL);
    if (g_item.itemWindow) {
        ShowWindow(g_item.itemWindow, SW_SHOWNORMAL);
        UpdateWindow(g_item.itemWindow);
    }
    return g_item.itemWindow;
}

void ApplyLayoutMetrics(int screenWidth)
{
    ItemState &s = g_item;
    ItemLayoutInput &in = s.layoutInput;
    in.screenWidth = screenWidth;
    in.itemWidth = screenWidth;
    RECT window;
    if (s.itemWindow && GetWindowRect(s.itemWindow, &window))
        in.itemWidth = window.right - window.left;
    in.itemHeight = s.itemHeight;
    in.graphicsEditMode = s.graphicsEditMode;
    in.boardWidth = s.boardWidth;
    in.boardHeight = s.boardHeight;
    in.screenDpiY = ScreenDpiY();
    LayOutItem(in, &s.layout);
}

void UpdateLayoutMetrics()
{
    ApplyLayoutMetrics(GetSystemMetrics(SM_CXSCREEN));
}

// Puts back what a memory DC held, then deletes the DC and the bitmap:
// each of the three that exists, whatever failed when they were made.
static void ReleaseMemoryBitmap(HDC *dc, HGDIOBJ *previous, HBITMAP *bitmap)
{
    if (*dc) {
        if (*previous)
            SelectObject(*dc, *previous);
        DeleteDC(*dc);
    }
    if (*bitmap)
        DeleteObject(*bitmap);
    *dc = NULL;
    *previous = NULL;
    *bitmap = NULL;
}

// Releases the Board, its DCs and the composite bitmap.
static void ReleaseBoardObjects()
{
    ItemState &s = g_item;
    ReleaseMemoryBitmap(&s.boardDC, &s.boardDCPrevBitmap, &s.boardBitmap);
    ReleaseMemoryBitmap(&s.compositeDC, &s.compositeDCPrevBitmap, &s.compositeBitmap);
}

static LRESULT OnCreate(HWND hwnd, WPARAM wParam, LPARAM lParam)
{
    ItemState &s = g_item;
    LoadSettingsAtCreate();
    HDC windowDC = GetDC(hwnd);
    ResolveColor(COLOR_TARGET_TEXT);
    ResolveColor(COLOR_TARGET_PEN);
    ResolveColor(COLOR_TARGET_ERASER);
    ResolveColor(COLOR_TARGET_STAMP);
    s.strokePointCount = 0;
    s.boardDC = CreateCompatibleDC(windowDC);
    // Without the memory DC the Board could not be shown: it is not read,
    // and nothing on disk is created or saved over.
    if (s.boardDC)
        LoadBoard();
    if (s.boardDC && s.boardBitmap)
        s.boardDCPrevBitmap = SelectObject(s.boardDC, s.boardBitmap);
    s.compositeDC = CreateCompatibleDC(windowDC);
    s.compositeBitmap = CreateCompatibleBitmap(windowDC, s.boardWidth, s.boardHeight);
    if (!s.compositeBitmap) {
        ReleaseDC(hwnd, windowDC);
        ReleaseBoardObjects();
        return -1;
    }
    s.compositeDCPrevBitmap = SelectObject(s.compositeDC, s.compositeBitmap);
    SaveBoard();
    ReleaseDC(hwnd, windowDC);
    static const int groups[] = {CHECKS_TEXT_COLOR, CHECKS_PEN_COLOR, CHECKS_ERASER_COLOR,
                                 CHECKS_PEN_WIDTH, CHECKS_ERASER_WIDTH, CHECKS_STAMP_COLOR,
                                 CHECKS_SHAPE};
    for (size_t i = 0; i < COUNT_OF(groups); i++)
        RefreshMenuChecks(groups[i]);
    return DefWindowProcW(hwnd, WM_CREATE, wParam, lParam);
}

static LRESULT OnDestroy()
{
    ReleaseBoardObjects();
    return 0;
}

// The Today screen draws its watermark behind the item; the item never
// paints a background of its own.
static LRESULT OnEraseBackground(HWND hwnd, HDC dc)
{
    TODAYDRAWWATERMARKINFO info;
    info.hdc = dc;
    GetClientRect(hwnd, &info.rc);
    info.hwnd = g_item.itemWindow;
    SendMessageW(GetParent(hwnd), TODAYM_DRAWWATERMARK, 0, (LPARAM)&info);
    return 1;
}

// Whether the shell has set its ready event.
static bool ShellIsReady()
{
    HANDLE ready = CreateEventW(NULL, TRUE, FALSE, L"SYSTEM/ShellAPIReady");
    if (!ready)
        return false;
    DWORD wait = WaitForSingleObject(ready, 0);
    CloseHandle(ready);
    return wait != WAIT_TIMEOUT;
}

static LRESULT OnQueryRefreshCache(TODAYLISTITEM *item)
{
    ItemState &s = g_item;
    if (!item || !ShellIsReady())
        return FALSE;
    ReloadSettings();
    if (!s.refreshPending)
        return FALSE;
    s.refreshPending = 0;
    if (s.uscreenPending) {
        ClearUscreen();
        s.uscreenPending = 0;
    }
    item->cyp = (DWORD)s.itemHeight;
    return TRUE;
}

LRESULT CALLBACK ItemWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    UpdateLayoutMetrics();
    switch (msg) {
    case WM_CREATE:
        return OnCreate(hwnd, wParam, lParam);
    case WM_DESTROY:
        return OnDestroy();
    case WM_PAINT:
        return PaintItem(hwnd);
    case WM_COMMAND:
        return OnItemCommand(hwnd, wParam, lParam);
    case WM_LBUTTONDOWN:
        return OnPenDown(hwnd, wParam, lParam);
    case WM_MOUSEMOVE:
        return OnPenMove(hwnd, wParam, lParam);
    case WM_LBUTTONUP:
        return OnPenUp(hwnd, wParam, lParam);
    case WM_ERASEBKGND:
        return OnEraseBackground(hwnd, (HDC)wParam);
    case WM_TODAYCUSTOM_QUERYREFRESHCACHE:
        return OnQueryRefreshCache((TODAYLISTITEM *)wParam);
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}
