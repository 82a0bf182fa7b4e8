#include "item_registry.h"
#include "registry_text.h"

HKEY OpenItemKey()
{
    HKEY key = NULL;
    DWORD disposition = 0;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, ITEM_KEY_PATH, 0, const_cast<LPWSTR>(L""), 0,
                        KEY_ALL_ACCESS, NULL, &key, &disposition) != ERROR_SUCCESS)
        return NULL;
    return key;
}

ValueRead ReadItemValue(LPCWSTR name, WCHAR *buffer, int capacity)
{
    HKEY key = OpenItemKey();
    if (!key)
        return VALUE_NOT_READ;
    DWORD type = 0, size = 0;
    LONG read = RegQueryValueExW(key, name, NULL, &type, NULL, &size);
    DWORD bytes = (DWORD)capacity * sizeof(WCHAR);
    if (read == ERROR_SUCCESS)
        read = RegQueryValueExW(key, name, NULL, &type, (BYTE *)buffer, &bytes);
    RegCloseKey(key);
    if (read != ERROR_SUCCESS)
        return read == ERROR_FILE_NOT_FOUND || read == ERROR_MORE_DATA ? VALUE_UNUSABLE : VALUE_NOT_READ;
    if (type != REG_SZ || !TerminateReceivedText(buffer, capacity, bytes))
        return VALUE_UNUSABLE;
    return VALUE_READ;
}

bool ReadItemValueText(LPCWSTR name, WCHAR *buffer, int capacity)
{
    return ReadItemValue(name, buffer, capacity) == VALUE_READ;
}

void WriteItemValueText(HKEY key, LPCWSTR name, const WCHAR *text, int chars)
{
    DWORD bytes = (DWORD)chars * sizeof(WCHAR);
    RegSetValueExW(key, name, 0, REG_SZ, (const BYTE *)text, bytes);
}
