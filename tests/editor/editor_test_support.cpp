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

std::wstring StoredValue::Text() const
{
    std::wstring text((const wchar_t *)data.data(), data.size() / 2);
    while (!text.empty() && text.back() == 0)
        text.pop_back();
    return text;
}

bool StoredValue::operator==(const StoredValue &other) const
{
    return exists == other.exists && type == other.type && data == other.data;
}

void DeleteItemKey()
{
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, ITEM_KEY_PATH);
    RegDeleteKeyW(HKEY_LOCAL_MACHINE, ITEM_KEY_PATH);
}

bool ItemKeyExists()
{
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, ITEM_KEY_PATH, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

StoredValue ReadStored(LPCWSTR name)
{
    StoredValue v;
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, ITEM_KEY_PATH, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return v;
    DWORD bytes = 0;
    if (RegQueryValueExW(key, name, nullptr, &v.type, nullptr, &bytes) == ERROR_SUCCESS) {
        v.data.resize(bytes);
        v.exists = RegQueryValueExW(key, name, nullptr, &v.type, v.data.data(), &bytes) == ERROR_SUCCESS;
        v.data.resize(bytes);
    }
    RegCloseKey(key);
    return v;
}

std::map<std::wstring, StoredValue> ReadAllStored()
{
    std::map<std::wstring, StoredValue> all;
    HKEY key;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, ITEM_KEY_PATH, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return all;
    std::vector<std::wstring> names;
    for (DWORD i = 0;; i++) {
        wchar_t name[256];
        DWORD length = 256;
        if (RegEnumValueW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        names.push_back(name);
    }
    RegCloseKey(key);
    for (const std::wstring &name : names)
        all[name] = ReadStored(name.c_str());
    return all;
}

void StoreRaw(LPCWSTR name, DWORD type, const void *data, DWORD bytes)
{
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, ITEM_KEY_PATH, 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr));
    ASSERT_EQ(ERROR_SUCCESS, RegSetValueExW(key, name, 0, type, (const BYTE *)data, bytes));
    RegCloseKey(key);
}

void StoreText(LPCWSTR name, const std::wstring &text, bool withTerminator)
{
    std::wstring data = text + (withTerminator ? L'\0' : L'X');
    DWORD chars = (DWORD)text.size() + (withTerminator ? 1 : 0);
    StoreRaw(name, REG_SZ, data.c_str(), chars * 2);
    ASSERT_EQ(chars * 2, ReadStored(name).data.size()) << "stored as given";
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
