// The device's navigation bar: a window of the shell's taskbar class
// "HHTaskBar" along the top of the screen, above every other window. It
// shows the title of the window in front, of whichever program, and at its
// right end an "ok" button when that window asks for one; a tap on the "ok"
// sends that window WM_COMMAND IDOK. What it shows is its own window text,
// so that anyone can read the title it shows.
//
// The bar learns what is in front by looking every kPollMs, and before each
// screenshot: the window's title, its styles and the shell's property are
// all readable from another process.
#include "navigation_bar.h"
#include "host_basics.h"
#include "platform/device_screen.h"

#include <cwchar>

static const wchar_t kNavigationBarClass[] = L"HHTaskBar";
static const UINT_PTR kPollTimer = 1;
static const UINT kPollMs = 100;
static const int kTitleUnits = 256;

static const COLORREF kBarColor = RGB(40, 80, 150);
static const COLORREF kTitleColor = RGB(255, 255, 255);
static const COLORREF kOkColor = RGB(72, 118, 196);
static const COLORREF kOkEdgeColor = RGB(255, 255, 255);

struct NavigationBar {
    HWND window;
    HWND front;         // the window whose title is shown
    bool okShown;       // it asked for an "ok"
    bool okPressed;     // the stylus went down on the "ok" and is still down
};

static NavigationBar s_bar;

// The "ok" button at the bar's right end, a little wider than high.
static RECT OkButtonRect()
{
    RECT client;
    GetClientRect(s_bar.window, &client);
    int height = client.bottom - client.top;
    int margin = height / 10 > 1 ? height / 10 : 1;
    RECT r = {client.right - margin - height * 5 / 4, client.top + margin, client.right - margin,
              client.bottom - margin};
    return r;
}

static HFONT CreateBarFont(int height)
{
    // sized in pixels from the bar, so it fits whatever the screen's dpi
    return CreateFontW(-(height / 2), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                       L"Tahoma");
}

static void PaintOkButton(HDC hdc, const RECT &ok)
{
    bool pressed = s_bar.okPressed;
    HBRUSH fill = CreateSolidBrush(pressed ? kOkEdgeColor : kOkColor);
    HPEN edge = CreatePen(PS_SOLID, 1, kOkEdgeColor);
    HGDIOBJ oldBrush = SelectObject(hdc, fill);
    HGDIOBJ oldPen = SelectObject(hdc, edge);
    int round = (ok.bottom - ok.top) / 3;
    RoundRect(hdc, ok.left, ok.top, ok.right, ok.bottom, round, round);
    SelectObject(hdc, oldPen);
    SelectObject(hdc, oldBrush);
    DeleteObject(edge);
    DeleteObject(fill);
    RECT text = ok;
    SetTextColor(hdc, pressed ? kOkColor : kTitleColor);
    DrawTextW(hdc, L"ok", -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

// The bar: its colour, the title of the window in front from the left, and
// the "ok" when that window asked for one.
static void PaintNavigationBar(HWND window, HDC hdc)
{
    RECT client;
    GetClientRect(window, &client);
    HBRUSH brush = CreateSolidBrush(kBarColor);
    FillRect(hdc, &client, brush);
    DeleteObject(brush);

    HFONT font = CreateBarFont(client.bottom - client.top);
    HGDIOBJ prevFont = SelectObject(hdc, font ? (HGDIOBJ)font : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(hdc, TRANSPARENT);
    RECT title = client;
    title.left += 4;
    if (s_bar.okShown) {
        RECT ok = OkButtonRect();
        PaintOkButton(hdc, ok);
        title.right = ok.left - 4;
    } else {
        title.right -= 4;
    }
    wchar_t text[kTitleUnits] = L"";
    GetWindowTextW(window, text, kTitleUnits);
    SetTextColor(hdc, kTitleColor);
    DrawTextW(hdc, text, -1, &title, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
    SelectObject(hdc, prevFont);
    if (font) DeleteObject(font);
}

// Wine, activating the Today window again, raises it above the bar on the X
// screen while its own order still has the bar on top, and then sees no
// need to restack the bar. Leaving the topmost band and joining it again
// makes it restack the bar above everything.
static void KeepOnTop()
{
    const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE;
    SetWindowPos(s_bar.window, HWND_NOTOPMOST, 0, 0, 0, 0, flags);
    SetWindowPos(s_bar.window, HWND_TOPMOST, 0, 0, 0, 0, flags);
}

void RefreshNavigationBar()
{
    if (!s_bar.window) return;
    HWND front = GetForegroundWindow();
    // Between two windows nothing may be in front for a moment: the bar
    // keeps what it shows.
    if (!front || front == s_bar.window) return;
    wchar_t title[kTitleUnits] = L"", shown[kTitleUnits] = L"";
    GetWindowTextW(front, title, kTitleUnits);
    GetWindowTextW(s_bar.window, shown, kTitleUnits);
    bool ok = WantsNavigationDoneButton(front);
    if (front == s_bar.front && ok == s_bar.okShown && wcscmp(title, shown) == 0) return;
    if (front != s_bar.front && s_bar.okPressed) {
        s_bar.okPressed = false;            // the press was for the window that left
        ReleaseCapture();
    }
    if (front != s_bar.front) KeepOnTop();
    s_bar.front = front;
    s_bar.okShown = ok;
    if (wcscmp(title, shown) != 0) SetWindowTextW(s_bar.window, title);
    InvalidateRect(s_bar.window, NULL, FALSE);
}

bool NavigationBarOkPoint(POINT *point)
{
    if (!s_bar.window || !s_bar.okShown) return false;
    RECT ok = OkButtonRect();
    point->x = (ok.left + ok.right) / 2;
    point->y = (ok.top + ok.bottom) / 2;
    return true;
}

static void OnOkDown(HWND window, POINT p)
{
    RECT ok = OkButtonRect();
    if (!s_bar.okShown || !PtInRect(&ok, p)) return;
    s_bar.okPressed = true;
    SetCapture(window);
    InvalidateRect(window, NULL, FALSE);
}

// Released on the "ok" it went down on: the window in front gets IDOK, as
// from the caption button of a device's dialog.
static void OnOkUp(HWND window, POINT p)
{
    if (!s_bar.okPressed) return;
    s_bar.okPressed = false;
    ReleaseCapture();
    InvalidateRect(window, NULL, FALSE);
    UpdateWindow(window);
    RECT ok = OkButtonRect();
    if (s_bar.okShown && PtInRect(&ok, p) && IsWindow(s_bar.front))
        PostMessageW(s_bar.front, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
}

static LRESULT CALLBACK NavigationBarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;               // a tap leaves the window in front where it is
    case WM_ERASEBKGND:
        return 1;                           // WM_PAINT covers everything
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(hwnd, &ps);
        PaintNavigationBar(hwnd, hdc);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_TIMER:
        if (wParam == kPollTimer) RefreshNavigationBar();
        return 0;
    case WM_LBUTTONDOWN: {
        POINT p = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
        OnOkDown(hwnd, p);
        return 0;
    }
    case WM_LBUTTONUP: {
        POINT p = {(short)LOWORD(lParam), (short)HIWORD(lParam)};
        OnOkUp(hwnd, p);
        return 0;
    }
    case WM_CAPTURECHANGED:
        if (s_bar.okPressed) {
            s_bar.okPressed = false;
            InvalidateRect(hwnd, NULL, FALSE);
        }
        return 0;
    case WM_DESTROY:
        KillTimer(hwnd, kPollTimer);
        s_bar.window = NULL;
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// Across the screen's width, the height the device's shell gives it, above
// every window; shown without taking the activation from anyone.
HWND CreateNavigationBar(int width, int height)
{
    RegisterHostClass(kNavigationBarClass, NavigationBarProc);
    ZeroMemory(&s_bar, sizeof(s_bar));
    s_bar.window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW, kNavigationBarClass,
                                   L"", WS_POPUP, 0, 0, width, height, NULL, NULL, GetModuleHandleW(NULL),
                                   NULL);
    if (!s_bar.window) return NULL;
    RefreshNavigationBar();
    ShowWindow(s_bar.window, SW_SHOWNOACTIVATE);
    UpdateWindow(s_bar.window);
    SetTimer(s_bar.window, kPollTimer, kPollMs, NULL);
    return s_bar.window;
}

void StretchNavigationBar(int width)
{
    if (!s_bar.window)
        return;
    RECT r;
    GetWindowRect(s_bar.window, &r);
    SetWindowPos(s_bar.window, NULL, 0, 0, width, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(s_bar.window, NULL, FALSE);
}

void DestroyNavigationBar()
{
    if (s_bar.window) DestroyWindow(s_bar.window);
    s_bar.window = NULL;
}

HWND NavigationBarWindow()
{
    return s_bar.window;
}
