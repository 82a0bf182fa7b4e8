// The Today window and its protocol with the item: loading the item as the
// Today screen does, the refresh query, the colour and watermark messages,
// the timers that pace the run and the end of the run.
#include "today_window.h"
#include "host_basics.h"
#include "item_key.h"
#include "box_answerer.h"
#include "item_library.h"
#include "navigation_bar.h"
#include "operation_clock.h"
#include "screen_rotation.h"
#include "screenshot.h"
#include "script.h"
#include "text_and_paths.h"
#include "watermark.h"
#include "platform/device_screen.h"
#include "platform/today.h"

#include <objbase.h>

static const wchar_t kItemName[] = L"inkleaf_item";
static const wchar_t kTodayClass[] = L"DesktopExplorerWindow";
static const wchar_t kShellReadyEvent[] = L"SYSTEM/ShellAPIReady";
static const COLORREF kHighlightColor = RGB(49, 106, 197);
static const COLORREF kHighlightedTextColor = RGB(255, 255, 255);

enum {
    IDT_POLL = 1,       // refresh query to the item
    IDT_QUIT = 2,       // end of --seconds
    IDT_SCRIPT = 3,     // next script step
    IDT_STEP_GUARD = 4, // a stylus step that stays inside the item too long
    IDT_TURN = 5        // the screen's turn during a stylus step
};

// The play's key that turns the screen, also while another program is in
// front (a hot key).
static const UINT kTurnKey = VK_F2;
static const int kTurnHotKeyId = 1;

// The Today window's one state record
struct TodayState {
    HINSTANCE instance;
    TodayOptions options;

    // Today screen
    HWND today;
    int navigationBarHeight;                // the shell's bar's: the item window starts below it
    int screenW, screenH;
    HANDLE shellReady;

    // the item
    ItemLibrary *itemLibrary;               // the item's file, loaded
    HWND item;
    TODAYLISTITEM itemInfo;

    // the run
    bool scriptActive;
    bool timeUp;
    bool inStep;                            // inside a script step (possibly in a modal menu)
    int itemCalls;                          // calls into the item still on the stack
    bool closeRequested;
    HHOOK mouseBlock;                       // drops real mouse input unless --interactive
    bool finishing;
    int exitCode;
};

static TodayState g;

// The item may sit in a modal loop (its popup menu, a message box) inside any
// call we make; while one is on the stack the item must not be torn down.
static LRESULT SendToItem(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!g.item || !IsWindow(g.item)) return 0;
    g.itemCalls++;
    LRESULT r = SendMessageW(g.item, msg, wParam, lParam);
    g.itemCalls--;
    return r;
}

static bool Busy()
{
    return g.inStep || g.itemCalls > 0;
}

static void QueryItemRefresh()
{
    if (!g.item || !IsWindow(g.item)) return;
    if (SendToItem(WM_TODAYCUSTOM_QUERYREFRESHCACHE, (WPARAM)&g.itemInfo, 0)) {
        MoveWindow(g.item, 0, g.navigationBarHeight, g.screenW, (int)g.itemInfo.cyp, TRUE);
        InvalidateRect(g.item, NULL, TRUE);
    }
}

// The Today window's new size (the screen turned): the items are laid out
// again across the new width at the height they last reported, and asked
// for their height.
static void OnTodaySize(int width)
{
    if (!g.item || !IsWindow(g.item)) return;
    g.itemCalls++;
    MoveWindow(g.item, 0, g.navigationBarHeight, width, (int)g.itemInfo.cyp, TRUE);
    g.itemCalls--;
    QueryItemRefresh();
}

// Turns the screen as the device does: an open popup menu is closed, the
// screen turns, the shell's bar stretches across it, the full-screen
// windows (the Today window and any program's) are sized to it, and every
// top-level window hears of the change.
static bool TurnTodayScreen()
{
    EndMenu();
    SIZE before = {g.screenW, g.screenH}, after;
    std::wstring error;
    if (!TurnScreen(&after, &error)) {
        ErrorOut(L"%ls", error.c_str());
        return false;
    }
    g.screenW = after.cx;
    g.screenH = after.cy;
    StretchNavigationBar(g.screenW);
    ResizeFullScreenWindows(before, after, g.navigationBarHeight, NavigationBarWindow());
    BroadcastOrientationChange();
    InvalidateRect(g.today, NULL, TRUE);
    RefreshNavigationBar();
    return true;
}

static bool ReadItemRegistration(std::wstring *dllPath)
{
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kItemKeyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return false;
    wchar_t buf[MAX_PATH + 1];
    DWORD size = sizeof(buf) - sizeof(wchar_t), type = 0;
    LONG r = RegQueryValueExW(key, L"DLL", NULL, &type, (BYTE *)buf, &size);
    DWORD value, valueSize = sizeof(value);
    if (RegQueryValueExW(key, L"Order", NULL, NULL, (BYTE *)&value, &valueSize) == ERROR_SUCCESS &&
        valueSize == sizeof(value))
        g.itemInfo.dwOrder = value;
    valueSize = sizeof(value);
    if (RegQueryValueExW(key, L"Options", NULL, NULL, (BYTE *)&value, &valueSize) == ERROR_SUCCESS &&
        valueSize == sizeof(value))
        g.itemInfo.fOptions = value != 0;
    RegCloseKey(key);
    if (r != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
    buf[size / sizeof(wchar_t)] = 0;
    *dllPath = buf;
    if (type == REG_EXPAND_SZ) {
        wchar_t expanded[MAX_PATH];
        if (ExpandEnvironmentStringsW(buf, expanded, MAX_PATH)) *dllPath = expanded;
    }
    return !dllPath->empty();
}

// Loads the item the way the Today screen does. Returns an exit code.
static int LoadItem()
{
    std::wstring dllPath;
    if (!ReadItemRegistration(&dllPath)) {
        ErrorOut(L"no \"DLL\" value under HKLM\\%ls (run \"install\" first)", kItemKeyPath);
        return EXIT_NO_ITEM_DLL;
    }
    std::wstring error;
    double start = ClockNow();
    g.itemLibrary = OpenItemLibrary(dllPath, &error);
    if (!g.itemLibrary) {
        ErrorOut(L"%ls", error.c_str());
        return EXIT_NO_ITEM_DLL;
    }

    lstrcpynW(g.itemInfo.szName, kItemName, 32);
    g.itemInfo.tlit = tlitCustom;
    g.itemInfo.fEnabled = TRUE;
    lstrcpynW(g.itemInfo.szDLLPath, dllPath.c_str(), MAX_PATH);
    g.itemInfo.hinstDLL = g.itemLibrary->Instance();

    g.itemCalls++;
    g.item = g.itemLibrary->Initialize(&g.itemInfo, g.today);
    g.itemCalls--;
    if (!g.item) {
        ErrorOut(L"InitializeCustomItem returned no window");
        return EXIT_NO_ITEM_WINDOW;
    }
    g.itemInfo.hwndCustom = g.item;
    if (ClockOn())
        ClockAdd(ClockNow() - start);
    ClockItemWindow(g.item);
    MoveWindow(g.item, 0, g.navigationBarHeight, g.screenW, 0, TRUE);
    QueryItemRefresh();
    return EXIT_OK;
}

static void UnloadItem()
{
    if (g.item && IsWindow(g.item)) DestroyWindow(g.item);
    g.item = NULL;
    delete g.itemLibrary;
    g.itemLibrary = NULL;
}

// The Today screen as a PNG. The navigation bar looks at the window in
// front first, so that it shows it already.
static bool ShootToday(const std::wstring &path)
{
    RefreshNavigationBar();
    ScreenshotSource today = {g.today, NavigationBarWindow(), g.screenW, g.screenH};
    return TakeScreenshot(today, path);
}

// Ends the run: final screenshot, item window, item library, Today window.
static void FinishRun(int exitCode)
{
    if (g.finishing) return;
    g.finishing = true;
    g.exitCode = exitCode;
    KillTimer(g.today, IDT_POLL);
    KillTimer(g.today, IDT_QUIT);
    KillTimer(g.today, IDT_SCRIPT);
    KillTimer(g.today, IDT_STEP_GUARD);
    if (exitCode == EXIT_OK && !g.options.screenshotPath.empty() && g.item) {
        if (!ShootToday(g.options.screenshotPath)) g.exitCode = EXIT_USAGE;
    }
    UnloadItem();
    FinishClock();
    DestroyNavigationBar();
    DestroyWindow(g.today);
}

static void OnTodayPaint(HWND hwnd)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    POINT dest = { ps.rcPaint.left, ps.rcPaint.top };
    DrawWatermark(hdc, &ps.rcPaint, dest);
    EndPaint(hwnd, &ps);
}

static LRESULT OnTodayGetColor(WPARAM which)
{
    switch (which) {
    case TODAYCOLOR_TEXT: return g.options.textColor;
    case TODAYCOLOR_HIGHLIGHT: return kHighlightColor;
    case TODAYCOLOR_HIGHLIGHTEDTEXT: return kHighlightedTextColor;
    }
    return 0;
}

// The item asks for the background behind info->rc (its own client
// coordinates); map that to our coordinates so the pattern lines up.
static LRESULT OnTodayDrawWatermark(HWND hwnd, const TODAYDRAWWATERMARKINFO *info)
{
    if (!info || !info->hdc) return FALSE;
    HWND from = (info->hwnd && IsWindow(info->hwnd)) ? info->hwnd : g.item;
    RECT rc = info->rc;
    if (from) MapWindowPoints(from, hwnd, (POINT *)&rc, 2);
    POINT dest = { info->rc.left, info->rc.top };
    DrawWatermark(info->hdc, &rc, dest);
    return TRUE;
}

static void StartStepGuard(DWORD ms)
{
    SetTimer(g.today, IDT_STEP_GUARD, ms, NULL);
}

static void StopStepGuard()
{
    KillTimer(g.today, IDT_STEP_GUARD);
}

static void StartTurnDuringStep(DWORD ms)
{
    SetTimer(g.today, IDT_TURN, ms, NULL);
}

static void StopTurnDuringStep()
{
    KillTimer(g.today, IDT_TURN);
}

// What the script player may ask of the Today window.
static void PaintItem()
{
    if (!g.item || !IsWindow(g.item)) return;
    InvalidateRect(g.item, NULL, TRUE);
    UpdateWindow(g.item);
}

static const ScriptHost kScriptHost = {SendToItem,          ShootToday,         FinishRun,
                                       StartStepGuard,      StopStepGuard,      TurnTodayScreen,
                                       StartTurnDuringStep, StopTurnDuringStep, QueryItemRefresh,
                                       PaintItem};

static void OnTodayTimer(HWND hwnd, UINT_PTR id)
{
    if (g.finishing) return;
    switch (id) {
    case IDT_POLL:
        QueryItemRefresh();
        break;
    case IDT_STEP_GUARD:
        // runs inside the item's modal menu loop, on our thread
        KillTimer(hwnd, IDT_STEP_GUARD);
        if (g.inStep) {
            ScriptStepGuardFired();
            EndMenu();
        }
        break;
    case IDT_TURN:
        // runs inside the popup menu the step opened, on our thread
        KillTimer(hwnd, IDT_TURN);
        if (g.inStep) ScriptScreenTurnedDuringStep(TurnTodayScreen());
        break;
    case IDT_QUIT:
        if (Busy()) {                       // look again once the item has returned
            SetTimer(hwnd, IDT_QUIT, 50, NULL);
            break;
        }
        KillTimer(hwnd, IDT_QUIT);
        g.timeUp = true;
        if (!g.scriptActive || g.closeRequested) FinishRun(EXIT_OK);
        break;
    case IDT_SCRIPT: {
        KillTimer(hwnd, IDT_SCRIPT);
        if (g.inStep) break;
        g.inStep = true;
        DWORD delay = RunScriptStep(kScriptHost);
        g.inStep = false;
        if (g.finishing) break;
        if (delay == kStepDone || ScriptAtEnd()) {
            if (delay != kStepDone && delay > 0) {
                // a trailing wait still has to run out
                SetTimer(hwnd, IDT_SCRIPT, delay, NULL);
                break;
            }
            g.scriptActive = false;
            if (!g.options.secondsGiven || g.timeUp) FinishRun(EXIT_OK);
            break;
        }
        SetTimer(hwnd, IDT_SCRIPT, delay ? delay : USER_TIMER_MINIMUM, NULL);
        break;
    }
    }
}

// Without --interactive the stylus is the script alone: real pointer events
// (the X pointer resting over the item, windows appearing under it) must not
// reach the item or its popup menus, so they are dropped here. Messages the
// script sends are not affected.
static LRESULT CALLBACK BlockRealMouseProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code >= 0) return 1;
    return CallNextHookEx(g.mouseBlock, code, wParam, lParam);
}

static void OnTodayClose(HWND hwnd)
{
    g.closeRequested = true;
    if (Busy())
        SetTimer(hwnd, IDT_QUIT, 50, NULL);
    else
        FinishRun(EXIT_OK);
}

static LRESULT CALLBACK TodayWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_ERASEBKGND:
        return 1;                           // WM_PAINT covers everything
    case WM_PAINT:
        OnTodayPaint(hwnd);
        return 0;
    case WM_TIMER:
        OnTodayTimer(hwnd, wParam);
        return 0;
    case TODAYM_GETCOLOR:
        return OnTodayGetColor(wParam);
    case TODAYM_DRAWWATERMARK:
        return OnTodayDrawWatermark(hwnd, (const TODAYDRAWWATERMARKINFO *)lParam);
    case WM_ACTIVATE:
        // Coming back to the Today screen (from a program the item started)
        // redraws the item, as the device's shell does.
        if (LOWORD(wParam) != WA_INACTIVE && g.item && IsWindow(g.item))
            InvalidateRect(g.item, nullptr, TRUE);
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    case WM_SIZE:
        OnTodaySize(LOWORD(lParam));
        return 0;
    case WM_KEYDOWN:
        if (wParam == VK_ESCAPE && g.options.interactive) OnTodayClose(hwnd);
        if (wParam == kTurnKey && g.options.interactive && !g.inStep) TurnTodayScreen();
        return 0;
    case WM_HOTKEY:
        if (wParam == kTurnHotKeyId && !g.inStep) TurnTodayScreen();
        return 0;
    case WM_CLOSE:
        OnTodayClose(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(g.exitCode);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

int RunToday(const TodayOptions &options)
{
    g.instance = GetModuleHandleW(NULL);
    g.options = options;
    if (!g.options.scriptPath.empty()) {
        std::wstring error;
        if (!LoadScript(g.options.scriptPath, &error)) {
            ErrorOut(L"%ls", error.c_str());
            return EXIT_SCRIPT_FAILED;
        }
        g.scriptActive = true;
        RunLeadingMarks();
    }
    if (!g.options.secondsGiven && g.options.scriptPath.empty() && !g.options.interactive)
        g.options.secondsGiven = true;

    SetCurrentDirectoryW(L"C:\\");
    if (g.options.answerBoxes)
        StartAnsweringBoxes();
    if (!g.options.interactive)
        g.mouseBlock = SetWindowsHookExW(WH_MOUSE, BlockRealMouseProc, NULL, GetCurrentThreadId());
    g.shellReady = CreateEventW(NULL, TRUE, TRUE, kShellReadyEvent);
    if (g.shellReady) SetEvent(g.shellReady);
    CoInitializeEx(NULL, COINIT_APARTMENTTHREADED);

    g.screenW = GetSystemMetrics(SM_CXSCREEN);
    g.screenH = GetSystemMetrics(SM_CYSCREEN);
    g.navigationBarHeight = NavigationBarHeight();

    RegisterHostClass(kTodayClass, TodayWndProc);
    g.today = CreateWindowExW(0, kTodayClass, L"Today", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                              0, 0, g.screenW, g.screenH, NULL, NULL, g.instance, NULL);
    if (!g.today) {
        ErrorOut(L"cannot create the Today window");
        return EXIT_USAGE;
    }
    UpdateWindow(g.today);
    // The shell's navigation bar over the top of the Today screen.
    CreateNavigationBar(g.screenW, g.navigationBarHeight);

    int code = LoadItem();
    if (code != EXIT_OK) {
        g.finishing = true;
        UnloadItem();
        DestroyNavigationBar();
        DestroyWindow(g.today);
        if (g.mouseBlock) UnhookWindowsHookEx(g.mouseBlock);
        CloseHandle(g.shellReady);
        CoUninitialize();
        return code;
    }

    SetTimer(g.today, IDT_POLL, g.options.pollMs, NULL);
    if (g.options.interactive) RegisterHotKey(g.today, kTurnHotKeyId, 0, kTurnKey);
    if (g.options.secondsGiven)
        SetTimer(g.today, IDT_QUIT, g.options.secondsMs ? g.options.secondsMs : USER_TIMER_MINIMUM, NULL);
    if (g.scriptActive) SetTimer(g.today, IDT_SCRIPT, USER_TIMER_MINIMUM, NULL);

    MSG msg;
    while (GetMessageW(&msg, NULL, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    DropPopupMenuDriver();
    if (g.mouseBlock) UnhookWindowsHookEx(g.mouseBlock);
    CloseHandle(g.shellReady);
    CoUninitialize();
    return g.exitCode;
}
