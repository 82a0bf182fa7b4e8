#include "item_key_fixture.h"
#include "common/item_key.h"

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

// The fixture's own writes go to advapi32 directly, not through the import
// slot that a RegistryWriteRecorder watches for the code under test.
void StoreRaw(LPCWSTR name, DWORD type, const void *data, DWORD bytes)
{
    typedef LONG(WINAPI * SetValueFn)(HKEY, LPCWSTR, DWORD, DWORD, const BYTE *, DWORD);
    static const SetValueFn setValue =
        (SetValueFn)(void *)GetProcAddress(GetModuleHandleW(L"advapi32.dll"), "RegSetValueExW");
    HKEY key;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_LOCAL_MACHINE, ITEM_KEY_PATH, 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &key, nullptr));
    ASSERT_EQ(ERROR_SUCCESS, setValue(key, name, 0, type, (const BYTE *)data, bytes));
    RegCloseKey(key);
}

void StoreText(LPCWSTR name, const std::wstring &text, bool withTerminator)
{
    std::wstring data = text + (withTerminator ? L'\0' : L'X');
    DWORD chars = (DWORD)text.size() + (withTerminator ? 1 : 0);
    StoreRaw(name, REG_SZ, data.c_str(), chars * 2);
    ASSERT_EQ(chars * 2, ReadStored(name).data.size()) << "stored as given";
}
