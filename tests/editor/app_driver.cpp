#include "app_driver.h"
#include "host/popup_menu_driver.h"
#include "editor_test_support.h"
#include <vector>

EditorProcess::~EditorProcess()
{
    Terminate();
}

bool EditorProcess::Start(const std::wstring &arguments)
{
    std::wstring program = EditorProgramPath();
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;
    std::vector<wchar_t> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(0);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    if (!CreateProcessW(program.c_str(), buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info_))
        return false;
    WaitForInputIdle(info_.hProcess, 5000);
    return true;
}

HWND EditorProcess::WaitForMainWindow()
{
    HWND found = nullptr;
    WaitUntil([&] {
        HWND window = FindWindowW(L"INKPAD_APP", L"inkpad_app");
        DWORD pid = 0;
        if (window)
            GetWindowThreadProcessId(window, &pid);
        found = (window && pid == Id() && IsWindowVisible(window)) ? window : nullptr;
        return found != nullptr;
    });
    return found;
}

DWORD EditorProcess::WaitForExit(DWORD milliseconds)
{
    if (!info_.hProcess)
        return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    WaitUntil([&] { return WaitForSingleObject(info_.hProcess, 0) == WAIT_OBJECT_0; }, milliseconds);
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

bool EditorProcess::Running() const
{
    return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

void EditorProcess::Terminate()
{
    if (!info_.hProcess)
        return;
    if (Running()) {
        TerminateProcess(info_.hProcess, 99);
        WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hProcess);
    CloseHandle(info_.hThread);
    info_ = PROCESS_INFORMATION();
}

static void SendMouse(POINT screen, DWORD buttonFlags)
{
    int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = (screen.x * 65536 + width - 1) / width;
    input.mi.dy = (screen.y * 65536 + height - 1) / height;
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttonFlags;
    SendInput(1, &input, sizeof(input));
}

void TapScreen(POINT screen)
{
    SendMouse(screen, MOUSEEVENTF_LEFTDOWN);
    SendMouse(screen, MOUSEEVENTF_LEFTUP);
}

void TapWindow(HWND window)
{
    RECT r;
    GetWindowRect(window, &r);
    TapScreen(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

void TapClient(HWND window, int x, int y)
{
    POINT p = {x, y};
    ClientToScreen(window, &p);
    TapScreen(p);
}

static INPUT Key(WORD virtualKey, bool up)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

void PressWithControl(WORD virtualKey)
{
    INPUT keys[4] = {Key(VK_CONTROL, false), Key(virtualKey, false), Key(virtualKey, true),
                     Key(VK_CONTROL, true)};
    SendInput(4, keys, sizeof(INPUT));
}

void TypeText(const std::wstring &text)
{
    std::vector<INPUT> keys;
    for (wchar_t c : text) {
        INPUT input = {};
        input.type = INPUT_KEYBOARD;
        input.ki.wScan = c;
        input.ki.dwFlags = KEYEVENTF_UNICODE;
        keys.push_back(input);
        input.ki.dwFlags |= KEYEVENTF_KEYUP;
        keys.push_back(input);
    }
    SendInput((UINT)keys.size(), keys.data(), sizeof(INPUT));
}

HWND WaitForDialog(HWND owner, LPCWSTR caption, DWORD milliseconds)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(owner, &pid);
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindOwnedWindow(L"#32770", owner, pid, caption)) != nullptr; },
              milliseconds);
    return found;
}

bool PressDialogButton(HWND dialog, int id, bool closes)
{
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dialog, id));
    if (!closes)
        return true;
    return WaitUntil([&] { return !IsWindow(dialog); });
}

std::wstring ControlText(HWND control)
{
    LRESULT length = SendMessageW(control, WM_GETTEXTLENGTH, 0, 0);
    std::vector<wchar_t> text(length + 1);
    LRESULT got = SendMessageW(control, WM_GETTEXT, text.size(), (LPARAM)text.data());
    return std::wstring(text.data(), got);
}

void SetControlText(HWND control, const std::wstring &text)
{
    SendMessageW(control, WM_SETTEXT, 0, (LPARAM)text.c_str());
}

bool ChooseFromOpenMenu(int position, DWORD milliseconds)
{
    PopupMenuDriver driver(MenuPosition{position}, milliseconds);
    return driver.Wait();
}
