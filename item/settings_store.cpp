#include "settings_store.h"
#include "../common/item_registry.h"
#include "../common/registry_text.h"
#include <string.h>

static void WriteNumber(HKEY key, LPCWSTR name, WCHAR *scratch, int value)
{
    int chars = FormatDecimal(value, scratch, NUMBER_TEXT_UNITS);
    WriteItemValueText(key, name, scratch, chars);
}

// Reads a number; stores it when the read succeeds and it lies in [lo, hi].
static bool ReadNumber(LPCWSTR name, WCHAR *scratch, int *field, int lo, int hi)
{
    if (!ReadItemValueText(name, scratch, NUMBER_TEXT_UNITS))
        return false;
    TakeNumberText(scratch, lo, hi, field);
    return true;
}

// Reads an on/off value: on exactly when the number is 1.
static bool ReadFlag(LPCWSTR name, WCHAR *scratch, int *field)
{
    if (!ReadItemValueText(name, scratch, NUMBER_TEXT_UNITS))
        return false;
    *field = FlagFromText(scratch);
    return true;
}

// The five reads that share settingsReadFailed.
static void TrackRead(bool ok)
{
    if (!ok)
        g_item.settingsReadFailed = 1;
}

void LoadPageText(int page)
{
    const WCHAR *name = PageValueName(page);
    if (!name)
        return;
    if (page == 1)
        g_item.settingsReadFailed = 0;
    bool ok = ReadItemValueText(name, g_item.readBuffer, PAGE_TEXT_UNITS);
    if (ok)
        CopyPageText(g_item.pageText[page - 1], g_item.readBuffer);
    if (page == 1)
        TrackRead(ok);
}

void ReadCurrentPage()
{
    g_item.settingsReadFailed = 0;
    TrackRead(ReadNumber(VALUE_CURRENT_PAGE, g_item.currentPageText, &g_item.savedPage, 1, PAGE_COUNT));
}

void ReadFontSize()
{
    ReadNumber(VALUE_FONT_SIZE, g_item.fontSizeText, &g_item.fontSize,
               g_item.fontSizeMin, g_item.fontSizeMax);
}

void ReadTextColor()
{
    ReadNumber(VALUE_TEXT_COLOR, g_item.textColorText, &g_item.textColorIndex, 0, g_item.textColorMax);
}

void ReadItemHeight()
{
    ReadNumber(VALUE_ITEM_HEIGHT, g_item.itemHeightText, &g_item.itemHeight,
               g_item.itemHeightMin, g_item.itemHeightMax);
}

void ReadEditMode()
{
    g_item.settingsReadFailed = 0;
    TrackRead(ReadFlag(VALUE_EDIT_MODE, g_item.editModeText, &g_item.graphicsEditMode));
}

void ReadShowText()
{
    g_item.settingsReadFailed = 0;
    TrackRead(ReadFlag(VALUE_SHOW_TEXT, g_item.showTextText, &g_item.showText));
}

void ReadShowImage()
{
    g_item.settingsReadFailed = 0;
    TrackRead(ReadFlag(VALUE_SHOW_IMAGE, g_item.showImageText, &g_item.showImage));
}

void ReadUscreen()
{
    g_item.uscreenPending = 0;
    int value = 0;
    if (ReadItemValueText(VALUE_USCREEN, g_item.uscreenText, NUMBER_TEXT_UNITS) &&
        ParseDecimal(g_item.uscreenText, &value) && value != 0) {
        g_item.refreshPending = 1;
        g_item.uscreenPending = 1;
    }
}

void SaveSettings()
{
    HKEY key = OpenItemKey();
    if (!key)
        return;
    ItemState &s = g_item;
    if (const WCHAR *name = PageValueName(s.currentPage)) {
        const WCHAR *text = s.pageText[s.currentPage - 1];
        WriteItemValueText(key, name, text, TextLength(text, PAGE_TEXT_MAX_CHARS));
    }
    WriteNumber(key, VALUE_FONT_SIZE, s.fontSizeText, s.fontSize);
    WriteNumber(key, VALUE_TEXT_COLOR, s.textColorText, s.textColorIndex);
    if (s.itemHeight >= 10 && s.itemHeight <= s.itemHeightMax)
        WriteNumber(key, VALUE_ITEM_HEIGHT, s.itemHeightText, s.itemHeight);
    WriteNumber(key, VALUE_CURRENT_PAGE, s.currentPageText, s.currentPage);
    WriteNumber(key, VALUE_EDIT_MODE, s.editModeText, s.graphicsEditMode ? 1 : 2);
    WriteNumber(key, VALUE_SHOW_TEXT, s.showTextText, s.showText ? 1 : 2);
    WriteNumber(key, VALUE_SHOW_IMAGE, s.showImageText, s.showImage ? 1 : 2);
    RegCloseKey(key);
}

void ReloadSettings()
{
    LoadPageText(g_item.currentPage);
    ReadFontSize();
    ReadItemHeight();
    ReadUscreen();
    ReadTextColor();
}

void ClearUscreen()
{
    HKEY key = OpenItemKey();
    if (!key)
        return;
    WriteNumber(key, VALUE_USCREEN, g_item.uscreenText, 0);
    RegCloseKey(key);
}

void LoadSettingsAtCreate()
{
    ItemState &s = g_item;
    s.graphicsEditMode = 0;
    s.strokeActive = 0;
    s.strokeCancelled = 0;
    ReloadSettings();
    if (s.settingsReadFailed) {
        // Nothing stored yet: store every page and the current settings.
        for (int page = 1; page <= PAGE_COUNT; page++) {
            s.currentPage = page;
            SaveSettings();
        }
        s.currentPage = 1;
        SaveSettings();
    } else {
        ReadCurrentPage();
        static const int order[PAGE_COUNT] = {2, 3, 4, 5, 1};
        for (int i = 0; i < PAGE_COUNT; i++) {
            s.currentPage = order[i];
            ReloadSettings();
        }
        s.currentPage = s.savedPage;
        ReadEditMode();
        ReadShowText();
        ReadShowImage();
    }
    ReloadSettings();
    s.refreshPending = 1;
}
