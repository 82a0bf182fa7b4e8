#include "settings_store.h"
#include "../common/item_registry.h"
#include "../common/registry_text.h"
#include <string.h>

// The values a start writes when it cannot read them, one bit each.
enum StoredValueBit {
    STORED_PAGE_1 = 1,              // pages 1..5: STORED_PAGE_1 << (page - 1)
    STORED_FONT_SIZE = 1 << PAGE_COUNT,
    STORED_TEXT_COLOR = STORED_FONT_SIZE << 1,
    STORED_ITEM_HEIGHT = STORED_FONT_SIZE << 2,
    STORED_CURRENT_PAGE = STORED_FONT_SIZE << 3,
    STORED_EDIT_MODE = STORED_FONT_SIZE << 4,
    STORED_SHOW_TEXT = STORED_FONT_SIZE << 5,
    STORED_SHOW_IMAGE = STORED_FONT_SIZE << 6,
    STORED_SETTINGS = STORED_FONT_SIZE | STORED_TEXT_COLOR | STORED_ITEM_HEIGHT |
                      STORED_CURRENT_PAGE | STORED_EDIT_MODE | STORED_SHOW_TEXT | STORED_SHOW_IMAGE
};

// The values whose latest read found them unusable (missing, not text, too
// long). One the registry failed to read just now is not among them: what
// is stored may be the user's, and stays.
static unsigned g_unreadValues = 0;

static bool NoteRead(unsigned bit, ValueRead read)
{
    if (read == VALUE_UNUSABLE)
        g_unreadValues |= bit;
    else
        g_unreadValues &= ~bit;
    return read == VALUE_READ;
}

static void WriteNumber(HKEY key, LPCWSTR name, WCHAR *scratch, int value)
{
    int chars = FormatDecimal(value, scratch, NUMBER_TEXT_UNITS);
    WriteItemValueText(key, name, scratch, chars);
}

// Reads a number; stores it when the read succeeds and it lies in [lo, hi].
static ValueRead ReadNumber(LPCWSTR name, WCHAR *scratch, int *field, int lo, int hi)
{
    ValueRead read = ReadItemValue(name, scratch, NUMBER_TEXT_UNITS);
    if (read == VALUE_READ)
        TakeNumberText(scratch, lo, hi, field);
    return read;
}

// Reads an on/off value: on exactly when the number is 1.
static ValueRead ReadFlag(LPCWSTR name, WCHAR *scratch, int *field)
{
    ValueRead read = ReadItemValue(name, scratch, NUMBER_TEXT_UNITS);
    if (read == VALUE_READ)
        *field = FlagFromText(scratch);
    return read;
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
    bool ok = NoteRead(STORED_PAGE_1 << (page - 1),
                       ReadItemValue(name, g_item.readBuffer, PAGE_TEXT_UNITS));
    if (ok)
        CopyPageText(g_item.pageText[page - 1], g_item.readBuffer);
    if (page == 1)
        TrackRead(ok);
}

void ReadCurrentPage()
{
    g_item.settingsReadFailed = 0;
    TrackRead(NoteRead(STORED_CURRENT_PAGE, ReadNumber(VALUE_CURRENT_PAGE, g_item.currentPageText,
                                                       &g_item.savedPage, 1, PAGE_COUNT)));
}

void ReadFontSize()
{
    NoteRead(STORED_FONT_SIZE, ReadNumber(VALUE_FONT_SIZE, g_item.fontSizeText, &g_item.fontSize,
                                          g_item.fontSizeMin, g_item.fontSizeMax));
}

void ReadTextColor()
{
    NoteRead(STORED_TEXT_COLOR, ReadNumber(VALUE_TEXT_COLOR, g_item.textColorText,
                                           &g_item.textColorIndex, 0, g_item.textColorMax));
}

void ReadItemHeight()
{
    NoteRead(STORED_ITEM_HEIGHT, ReadNumber(VALUE_ITEM_HEIGHT, g_item.itemHeightText,
                                            &g_item.itemHeight, g_item.itemHeightMin,
                                            g_item.itemHeightMax));
}

void ReadEditMode()
{
    g_item.settingsReadFailed = 0;
    TrackRead(NoteRead(STORED_EDIT_MODE,
                       ReadFlag(VALUE_EDIT_MODE, g_item.editModeText, &g_item.graphicsEditMode)));
}

void ReadShowText()
{
    g_item.settingsReadFailed = 0;
    TrackRead(NoteRead(STORED_SHOW_TEXT,
                       ReadFlag(VALUE_SHOW_TEXT, g_item.showTextText, &g_item.showText)));
}

void ReadShowImage()
{
    g_item.settingsReadFailed = 0;
    TrackRead(NoteRead(STORED_SHOW_IMAGE,
                       ReadFlag(VALUE_SHOW_IMAGE, g_item.showImageText, &g_item.showImage)));
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

// Writes the chosen values, pages first, then the settings: font size, text
// colour, item height (only within its bounds), current page, edit mode,
// show text, show image.
static void WriteValues(unsigned values)
{
    HKEY key = OpenItemKey();
    if (!key)
        return;
    ItemState &s = g_item;
    for (int page = 1; page <= PAGE_COUNT; page++) {
        if (values & (STORED_PAGE_1 << (page - 1))) {
            const WCHAR *text = s.pageText[page - 1];
            WriteItemValueText(key, PageValueName(page), text, TextLength(text, PAGE_TEXT_MAX_CHARS));
        }
    }
    if (values & STORED_FONT_SIZE)
        WriteNumber(key, VALUE_FONT_SIZE, s.fontSizeText, s.fontSize);
    if (values & STORED_TEXT_COLOR)
        WriteNumber(key, VALUE_TEXT_COLOR, s.textColorText, s.textColorIndex);
    if ((values & STORED_ITEM_HEIGHT) && s.itemHeight >= 10 && s.itemHeight <= s.itemHeightMax)
        WriteNumber(key, VALUE_ITEM_HEIGHT, s.itemHeightText, s.itemHeight);
    if (values & STORED_CURRENT_PAGE)
        WriteNumber(key, VALUE_CURRENT_PAGE, s.currentPageText, s.currentPage);
    if (values & STORED_EDIT_MODE)
        WriteNumber(key, VALUE_EDIT_MODE, s.editModeText, s.graphicsEditMode ? 1 : 2);
    if (values & STORED_SHOW_TEXT)
        WriteNumber(key, VALUE_SHOW_TEXT, s.showTextText, s.showText ? 1 : 2);
    if (values & STORED_SHOW_IMAGE)
        WriteNumber(key, VALUE_SHOW_IMAGE, s.showImageText, s.showImage ? 1 : 2);
    RegCloseKey(key);
}

void SaveSettings()
{
    int page = g_item.currentPage;
    unsigned current = (page >= 1 && page <= PAGE_COUNT) ? STORED_PAGE_1 << (page - 1) : 0;
    WriteValues(current | STORED_SETTINGS);
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
    g_unreadValues = 0;
    ReloadSettings();
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
    // A value that is unusable (on the first start: every value) is written
    // with the built-in text or the current setting; a value that reads, or
    // that the registry could not read just now, is never replaced here.
    WriteValues(g_unreadValues);
    ReloadSettings();
    s.refreshPending = 1;
}
