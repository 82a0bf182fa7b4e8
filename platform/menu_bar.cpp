// The Pocket PC shell's menu bar, as the editor uses it (SHCreateMenuBar):
// a window along the bottom of its owner, built from the SHMENUBAR
// resource, whose buttons send commands or open their popups.
#include "aygshell.h"
#include "device_screen.h"

#define MENU_BAR_CLASS L"menu_worker"

enum {
    MENU_BAR_MAX_BUTTONS = 8,
    MENU_BAR_CAPTION_UNITS = 32,
    MENU_BAR_HEIGHT_AT_96_DPI = 26,
    MENU_BAR_BUTTON_WORDS = 7,      // image, command, state, style, caption, 0, popup
};

// TBSTATE_ENABLED and TBSTYLE_DROPDOWN of the resource's buttons.
#define BUTTON_STATE_ENABLED  0x04
#define BUTTON_STYLE_DROPDOWN 0x08

struct MenuBarButton {
    UINT command;
    WORD state;
    WORD style;
    WORD popupIndex;                // NOMENU when the button opens nothing
    WCHAR caption[MENU_BAR_CAPTION_UNITS];
};

// One menu bar window's data, owned by the window (freed at WM_NCDESTROY).
struct MenuBar {
    HWND owner;
    HMENU menu;                     // the resource's menu; its popups open from buttons
    int buttonCount;
    MenuBarButton buttons[MENU_BAR_MAX_BUTTONS];
    int pressed;                    // button held down by the stylus, or -1
    bool attached;                  // the window took over this record
};

static const COLORREF kBarColor = RGB(33, 66, 132);
static const COLORREF kPressedColor = RGB(90, 130, 206);
static const COLORREF kCaptionColor = RGB(255, 255, 255);
static const COLORREF kDisabledColor = RGB(140, 150, 170);

static int MenuBarHeight()
{
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen)
        ReleaseDC(nullptr, screen);
    return MulDiv(MENU_BAR_HEIGHT_AT_96_DPI, dpi > 0 ? dpi : 96, 96);
}

// Fills the bar's buttons and menu from the SHMENUBAR resource: WORD menu
// id, WORD button count, then seven WORDs per button. False when the
// resource is missing, shorter than it says, or names a missing menu.
static bool LoadMenuBarResource(HINSTANCE instance, UINT id, MenuBar *bar)
{
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(id), RT_RCDATA);
    HGLOBAL loaded = found ? LoadResource(instance, found) : nullptr;
    const WORD *words = loaded ? (const WORD *)LockResource(loaded) : nullptr;
    if (!words)
        return false;
    DWORD wordCount = SizeofResource(instance, found) / sizeof(WORD);
    if (wordCount < 2)
        return false;
    WORD menuId = words[0];
    WORD buttonCount = words[1];
    if (buttonCount > MENU_BAR_MAX_BUTTONS || wordCount < 2u + MENU_BAR_BUTTON_WORDS * buttonCount)
        return false;
    bool needsMenu = false;
    for (int i = 0; i < buttonCount; i++) {
        const WORD *b = words + 2 + MENU_BAR_BUTTON_WORDS * i;
        MenuBarButton &button = bar->buttons[i];
        button.command = b[1];
        button.state = b[2];
        button.style = b[3];
        button.popupIndex = b[6];
        if (!LoadStringW(instance, b[4], button.caption, MENU_BAR_CAPTION_UNITS))
            button.caption[0] = 0;
        if (button.popupIndex != NOMENU)
            needsMenu = true;
    }
    bar->buttonCount = buttonCount;
    if (needsMenu) {
        bar->menu = LoadMenuW(instance, MAKEINTRESOURCEW(menuId));
        if (!bar->menu)
            return false;
    }
    return true;
}

static RECT ButtonRect(HWND window, const MenuBar *bar, int index)
{
    RECT client;
    GetClientRect(window, &client);
    RECT r = client;
    if (bar->buttonCount > 0) {
        r.left = client.right * index / bar->buttonCount;
        r.right = client.right * (index + 1) / bar->buttonCount;
    }
    return r;
}

static int ButtonAt(HWND window, const MenuBar *bar, int x, int y)
{
    for (int i = 0; i < bar->buttonCount; i++) {
        RECT r = ButtonRect(window, bar, i);
        POINT p = {x, y};
        if (PtInRect(&r, p))
            return i;
    }
    return -1;
}

// Draws the bar: a band with the button captions centred in equal parts.
static void PaintMenuBar(HWND window, const MenuBar *bar, HDC dc)
{
    RECT client;
    GetClientRect(window, &client);
    HBRUSH background = CreateSolidBrush(kBarColor);
    FillRect(dc, &client, background);
    DeleteObject(background);
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    for (int i = 0; i < bar->buttonCount; i++) {
        const MenuBarButton &button = bar->buttons[i];
        RECT r = ButtonRect(window, bar, i);
        if (i == bar->pressed) {
            HBRUSH pressed = CreateSolidBrush(kPressedColor);
            FillRect(dc, &r, pressed);
            DeleteObject(pressed);
        }
        if (i > 0) {
            RECT divider = {r.left, r.top + 4, r.left + 1, r.bottom - 4};
            HBRUSH line = CreateSolidBrush(kDisabledColor);
            FillRect(dc, &divider, line);
            DeleteObject(line);
        }
        bool enabled = (button.state & BUTTON_STATE_ENABLED) != 0;
        SetTextColor(dc, enabled ? kCaptionColor : kDisabledColor);
        DrawTextW(dc, button.caption, -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    SelectObject(dc, oldFont);
}

// A released button: opens its popup above it, or sends its command.
static void ActivateButton(HWND window, MenuBar *bar, int index)
{
    const MenuBarButton &button = bar->buttons[index];
    if ((button.style & BUTTON_STYLE_DROPDOWN) && button.popupIndex != NOMENU) {
        HMENU popup = bar->menu ? GetSubMenu(bar->menu, button.popupIndex) : nullptr;
        if (!popup)
            return;
        RECT r = ButtonRect(window, bar, index);
        RECT client;
        GetClientRect(window, &client);
        bool rightHalf = (r.left + r.right) / 2 > client.right / 2;
        POINT anchor = {rightHalf ? r.right : r.left, r.top};
        ClientToScreen(window, &anchor);
        TrackPopupMenuEx(popup, (rightHalf ? TPM_RIGHTALIGN : TPM_LEFTALIGN) | TPM_BOTTOMALIGN,
                         anchor.x, anchor.y, bar->owner, nullptr);
        return;
    }
    PostMessageW(bar->owner, WM_COMMAND, MAKEWPARAM(button.command, 0), 0);
}

static LRESULT OnMenuBarButtonDown(HWND window, MenuBar *bar, int x, int y)
{
    int index = ButtonAt(window, bar, x, y);
    if (index < 0 || !(bar->buttons[index].state & BUTTON_STATE_ENABLED))
        return 0;
    bar->pressed = index;
    SetCapture(window);
    InvalidateRect(window, nullptr, FALSE);
    return 0;
}

static LRESULT OnMenuBarButtonUp(HWND window, MenuBar *bar, int x, int y)
{
    int pressed = bar->pressed;
    if (pressed < 0)
        return 0;
    bar->pressed = -1;
    ReleaseCapture();
    InvalidateRect(window, nullptr, FALSE);
    UpdateWindow(window);
    if (ButtonAt(window, bar, x, y) == pressed)
        ActivateButton(window, bar, pressed);
    return 0;
}

// The screen turned: the shell's bar takes its place again along the bottom
// of its owner, whom the system has sized to the new screen (leaving the
// bar's room below it), across the owner's width.
static void FollowOwner(HWND window, const MenuBar *bar)
{
    RECT owner, own;
    if (!GetWindowRect(bar->owner, &owner) || !GetWindowRect(window, &own))
        return;
    SetWindowPos(window, nullptr, owner.left, owner.bottom, owner.right - owner.left, own.bottom - own.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(window, nullptr, FALSE);
}

static LRESULT CALLBACK MenuBarWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    MenuBar *bar = (MenuBar *)GetWindowLongPtrW(window, GWLP_USERDATA);
    switch (message) {
    case WM_NCCREATE:
        bar = (MenuBar *)((CREATESTRUCTW *)lParam)->lpCreateParams;
        bar->attached = true;
        SetWindowLongPtrW(window, GWLP_USERDATA, (LONG_PTR)bar);
        break;
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;       // taps on the bar leave the owner active
    case WM_ERASEBKGND:
        return 1;                   // painted in full by WM_PAINT
    case WM_PAINT:
        if (bar) {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(window, &ps);
            PaintMenuBar(window, bar, dc);
            EndPaint(window, &ps);
            return 0;
        }
        break;
    case WM_LBUTTONDOWN:
        if (bar)
            return OnMenuBarButtonDown(window, bar, (short)LOWORD(lParam), (short)HIWORD(lParam));
        break;
    case WM_LBUTTONUP:
        if (bar)
            return OnMenuBarButtonUp(window, bar, (short)LOWORD(lParam), (short)HIWORD(lParam));
        break;
    case WM_CAPTURECHANGED:
        if (bar && bar->pressed >= 0) {
            bar->pressed = -1;
            InvalidateRect(window, nullptr, FALSE);
        }
        return 0;
    case WM_SETTINGCHANGE:
        if (bar && wParam == SETTINGCHANGE_RESET)
            FollowOwner(window, bar);
        return 0;
    case SHCMBM_GETSUBMENU:
        return (LRESULT)(bar && bar->menu ? GetSubMenu(bar->menu, (int)lParam) : nullptr);
    case WM_NCDESTROY:
        if (bar) {
            if (bar->menu)
                DestroyMenu(bar->menu);
            delete bar;
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        }
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

static bool RegisterMenuBarClass()
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = MenuBarWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, (LPCWSTR)IDC_ARROW);
    wc.lpszClassName = MENU_BAR_CLASS;
    return RegisterClassW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// The bar is a top-level window owned by its parent, laid over the bottom
// edge of the parent's window rectangle; the caller shortens the parent by
// the bar's height, so that the bar ends up just below it, as on the device.
BOOL WINAPI SHCreateMenuBar(SHMENUBARINFO *info)
{
    if (!info || info->cbSize != sizeof(SHMENUBARINFO) || !IsWindow(info->hwndParent))
        return FALSE;
    info->hwndMB = nullptr;
    if (info->dwFlags & SHCMBF_HMENU)
        return FALSE;               // a menu handle instead of a resource: not needed here
    if (!RegisterMenuBarClass())
        return FALSE;
    MenuBar *bar = new MenuBar();
    bar->owner = info->hwndParent;
    bar->pressed = -1;
    if (!(info->dwFlags & SHCMBF_EMPTYBAR) &&
        !LoadMenuBarResource(info->hInstRes, info->nToolBarId, bar)) {
        if (bar->menu)
            DestroyMenu(bar->menu);
        delete bar;
        return FALSE;
    }
    RECT parent;
    GetWindowRect(info->hwndParent, &parent);
    int height = MenuBarHeight();
    HWND window = CreateWindowExW(0, MENU_BAR_CLASS, L"", WS_POPUP, parent.left, parent.bottom - height,
                                  parent.right - parent.left, height, info->hwndParent, nullptr,
                                  GetModuleHandleW(nullptr), bar);
    if (!window) {
        if (!bar->attached) {
            if (bar->menu)
                DestroyMenu(bar->menu);
            delete bar;
        }
        return FALSE;
    }
    if (!(info->dwFlags & SHCMBF_HIDDEN))
        ShowWindow(window, SW_SHOWNOACTIVATE);
    info->hwndMB = window;
    return TRUE;
}

