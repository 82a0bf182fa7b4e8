#include "main_window.h"
#include "dialogs.h"
#include "page_exchange.h"
#include "resources/editor_resource.h"
#include <string.h>

const WCHAR kTapHint[] = L"(Tap to edit text)";

// Creates the menu bar and reads the page text shown from now on.
static LRESULT OnCreate(HWND window)
{
    SHMENUBARINFO info = {};
    info.cbSize = sizeof(info);
    info.hwndParent = window;
    info.dwFlags = 0;
    info.nToolBarId = IDR_MENU_BAR;
    info.hInstRes = g_editor.instance;
    g_editor.menuBar = SHCreateMenuBar(&info) ? info.hwndMB : NULL;
    memset(&g_editor.activateInfo, 0, sizeof(g_editor.activateInfo));
    g_editor.activateInfo.cbSize = sizeof(g_editor.activateInfo);
    ReadPageText();
    return 0;
}

void PaintMainContent(HDC dc, const RECT &client)
{
    RECT r = client;
    DrawTextW(dc, kTapHint, -1, &r, DT_CENTER);
    r.top += MAIN_TEXT_TOP;
    if (g_editor.textBuffer)
        DrawTextW(dc, g_editor.textBuffer, -1, &r, 0);
}

static LRESULT OnPaint(HWND window)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT client;
    GetClientRect(window, &client);
    PaintMainContent(dc, client);
    EndPaint(window, &ps);
    return 0;
}

// A tap anywhere opens the edit dialog.
static LRESULT OnTap(HWND window)
{
    ShowTemplateDialog(window, IDD_EDIT_TEXT, EditDialogProc);
    // The uncovered window shows the text just written. A platform that keeps
    // the covered pixels asks for no repaint of its own, so ask here.
    InvalidateRect(window, NULL, TRUE);
    return 0;
}

static LRESULT OnCommand(HWND window, WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case IDM_OK: SendMessageW(window, WM_CLOSE, 0, 0); return 0;
    case IDM_ABOUT: ShowTemplateDialog(window, IDD_ABOUT, AboutDialogProc); return 0;
    }
    return DefWindowProcW(window, WM_COMMAND, wParam, lParam);
}

static LRESULT OnActivate(HWND window, WPARAM wParam, LPARAM lParam)
{
    SHHandleWMActivate(window, wParam, lParam, &g_editor.activateInfo, 0);
    return 0;
}

static LRESULT OnSettingChange(HWND window, WPARAM wParam, LPARAM lParam)
{
    SHHandleWMSettingChange(window, wParam, lParam, &g_editor.activateInfo);
    return 0;
}

static LRESULT OnDestroy(HWND window)
{
    FreeEditorBuffers();
    if (g_editor.menuBar)
        DestroyWindow(g_editor.menuBar);
    g_editor.menuBar = NULL;
    PostQuitMessage(0);
    return 0;
}

LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: return OnCreate(window);
    case WM_PAINT: return OnPaint(window);
    case WM_LBUTTONDOWN: return OnTap(window);
    case WM_COMMAND: return OnCommand(window, wParam, lParam);
    case WM_ACTIVATE: return OnActivate(window, wParam, lParam);
    case WM_SETTINGCHANGE: return OnSettingChange(window, wParam, lParam);
    case WM_DESTROY: return OnDestroy(window);
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
