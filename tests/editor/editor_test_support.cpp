#include "editor_test_support.h"
#include "common/item_key.h"

const wchar_t kExpectedErrorText[] =
    L"\r\nERROR!!!\r\nThis software is for\r\n'Inkleaf.'\r\nThis software must be\r\n"
    L"launched from 'Inkleaf'\r\non Today screen\r\n\r\nTap on [ok] button to eixt.";

std::wstring EditorProgramPath()
{
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring self(path, length);
    return self.substr(0, self.find_last_of(L"\\/") + 1) + L"inkpad_app.exe";
}

bool WaitUntil(const std::function<bool()> &done, DWORD milliseconds)
{
    DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (done())
            return true;
        if (GetTickCount() - start > milliseconds)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

struct OwnedWindowSearch {
    LPCWSTR className;
    HWND owner;
    DWORD processId;
    LPCWSTR caption;
    HWND found;
};

static BOOL CALLBACK MatchOwnedWindow(HWND window, LPARAM parameter)
{
    OwnedWindowSearch *search = (OwnedWindowSearch *)parameter;
    wchar_t className[64] = {};
    GetClassNameW(window, className, 64);
    if (lstrcmpiW(className, search->className) != 0 || !IsWindowVisible(window))
        return TRUE;
    if (search->owner && GetWindow(window, GW_OWNER) != search->owner)
        return TRUE;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (search->processId && pid != search->processId)
        return TRUE;
    if (search->caption) {
        wchar_t caption[128] = {};
        GetWindowTextW(window, caption, 128);
        if (lstrcmpW(caption, search->caption) != 0)
            return TRUE;
    }
    search->found = window;
    return FALSE;
}

HWND FindOwnedWindow(LPCWSTR className, HWND owner, DWORD processId, LPCWSTR caption)
{
    OwnedWindowSearch search = {className, owner, processId, caption, nullptr};
    EnumWindows(MatchOwnedWindow, (LPARAM)&search);
    return search.found;
}
