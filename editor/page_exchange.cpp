#include "page_exchange.h"
#include "../common/item_registry.h"
#include "../common/registry_text.h"
#include <string.h>

void ReadPageText()
{
    const WCHAR *name = PageValueName(g_editor.editorPage);
    if (!name || !g_editor.readBuffer || !g_editor.textBuffer) {
        // The key is opened all the same, as for every page read.
        if (HKEY key = OpenItemKey())
            RegCloseKey(key);
        return;
    }
    if (ReadItemValueText(name, g_editor.readBuffer, PAGE_TEXT_UNITS))
        CopyPageText(g_editor.textBuffer, g_editor.readBuffer);
}

void WritePageText()
{
    HKEY key = OpenItemKey();
    if (!key)
        return;
    const WCHAR *name = PageValueName(g_editor.editorPage);
    if (name && g_editor.textBuffer)
        WriteItemValueText(key, name, g_editor.textBuffer, TextLength(g_editor.textBuffer, PAGE_TEXT_UNITS));
    RegCloseKey(key);
}

void SetUscreen()
{
    HKEY key = OpenItemKey();
    if (!key)
        return;
    int chars = FormatDecimal(1, g_editor.uscreenText, USCREEN_TEXT_UNITS);
    WriteItemValueText(key, VALUE_USCREEN, g_editor.uscreenText, chars);
    RegCloseKey(key);
}
