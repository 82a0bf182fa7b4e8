#include "page_exchange.h"
#include "../common/registry_text.h"
#include <string.h>

EditorWriteTap g_editorWriteTap = nullptr;

// Opens (or creates) the item key, as the item does.
static HKEY OpenItemKey()
{
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, ITEM_KEY_PATH, 0, const_cast<LPWSTR>(L""), 0,
                        KEY_ALL_ACCESS, nullptr, &key, &disposition) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

// Writes `chars` characters of text, without terminator.
static void WriteValueText(HKEY key, LPCWSTR name, const WCHAR *text, int chars)
{
    DWORD bytes = (DWORD)chars * sizeof(WCHAR);
    if (g_editorWriteTap)
        g_editorWriteTap(name, (const BYTE *)text, bytes);
    RegSetValueExW(key, name, 0, REG_SZ, (const BYTE *)text, bytes);
}

void ReadPageText()
{
    HKEY key = OpenItemKey();
    if (!key)
        return;
    bool read = false;
    DWORD bytes = 0;
    const WCHAR *name = PageValueName(g_editor.editorPage);
    if (name && g_editor.readBuffer && g_editor.textBuffer) {
        DWORD type = 0;
        DWORD size = 0;
        bytes = PAGE_TEXT_UNITS * sizeof(WCHAR);
        read = RegQueryValueExW(key, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
               RegQueryValueExW(key, name, nullptr, &type, (BYTE *)g_editor.readBuffer, &bytes) ==
                   ERROR_SUCCESS &&
               type == REG_SZ;
    }
    RegCloseKey(key);
    if (read && TerminateReceivedText(g_editor.readBuffer, PAGE_TEXT_UNITS, bytes))
        memcpy(g_editor.textBuffer, g_editor.readBuffer,
               (TextLength(g_editor.readBuffer, PAGE_TEXT_UNITS) + 1) * sizeof(WCHAR));
}

void WritePageText()
{
    HKEY key = OpenItemKey();
    if (!key)
        return;
    const WCHAR *name = PageValueName(g_editor.editorPage);
    if (name && g_editor.textBuffer)
        WriteValueText(key, name, g_editor.textBuffer, TextLength(g_editor.textBuffer, PAGE_TEXT_UNITS));
    RegCloseKey(key);
}

void SetUscreen()
{
    HKEY key = OpenItemKey();
    if (!key)
        return;
    int chars = FormatDecimal(1, g_editor.uscreenText);
    WriteValueText(key, VALUE_USCREEN, g_editor.uscreenText, chars);
    RegCloseKey(key);
}
