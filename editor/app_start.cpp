#include "app_start.h"
#include "main_window.h"
#include "resources/editor_resource.h"

// No "ok" button in the navigation bar: the menu bar's OK closes the editor.
static const DWORD kMainWindowStyle = WS_VISIBLE | WS_NONAVDONEBUTTON;

bool ActivateRunningEditor()
{
    HWND running = FindWindowW(g_editor.className, g_editor.title);
    if (!running)
        return false;
    // The lowest bit brings the window's owned windows along.
    SetForegroundWindow((HWND)((ULONG_PTR)running | 1));
    return true;
}

bool RegisterMainWindowClass()
{
    WNDCLASSW wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MainWindowProc;
    wc.hInstance = g_editor.instance;
    wc.hIcon = LoadIconW(g_editor.instance, MAKEINTRESOURCEW(IDI_APP));
    wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    wc.lpszClassName = g_editor.className;
    return RegisterClassW(&wc) != 0;
}

HWND CreateMainWindow()
{
    return CreateWindowExW(0, g_editor.className, g_editor.title, kMainWindowStyle, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, NULL, NULL,
                           g_editor.instance, NULL);
}

void FitAboveMenuBar(HWND window)
{
    if (!g_editor.menuBar)
        return;
    RECT windowRect, barRect;
    GetWindowRect(window, &windowRect);
    GetWindowRect(g_editor.menuBar, &barRect);
    LONG bottom = windowRect.bottom - (barRect.bottom - barRect.top);
    MoveWindow(window, windowRect.left, windowRect.top, windowRect.right - windowRect.left,
               bottom - windowRect.top, FALSE);
    // Where the move gives the window a new surface, what was painted before
    // it is gone: the UpdateWindow that follows paints the whole window again.
    InvalidateRect(window, NULL, TRUE);
}

// Runs until WM_QUIT; the accelerators act for the window of each message.
// A GetMessageW error (-1) ends the loop too, instead of spinning on it.
static int RunMessageLoop(HACCEL accelerators)
{
    MSG msg = {};
    while (GetMessageW(&msg, NULL, 0, 0) > 0) {
        if (!TranslateAcceleratorW(msg.hwnd, accelerators, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return (int)msg.wParam;
}

int RunEditor(HINSTANCE instance, LPCWSTR commandLine, int showCommand)
{
    if (!InitEditorState(instance, commandLine))
        return 0;
    SHInitExtraControls();
    LoadStringW(instance, IDS_APP_TITLE, g_editor.title, EDITOR_NAME_UNITS);
    LoadStringW(instance, IDS_APP_CLASS, g_editor.className, EDITOR_NAME_UNITS);
    if (ActivateRunningEditor())
        return 0;
    if (!RegisterMainWindowClass())
        return 0;
    HWND window = CreateMainWindow();
    if (!window)
        return 0;
    FitAboveMenuBar(window);
    ShowWindow(window, showCommand);
    UpdateWindow(window);
    return RunMessageLoop(LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDA_MAIN)));
}
