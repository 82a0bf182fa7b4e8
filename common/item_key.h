// The registry key shared by the Today item and the page editor, and the
// names of its values. Both programs keep every value as REG_SZ text
// without a terminating NUL.
#pragma once
#include "text_units.h"

// The key under HKEY_LOCAL_MACHINE, as plain text (for the Today stand-in
// and the installer's tools) and in text units (for the two programs).
#define ITEM_KEY_PATH_TEXT "Software\\Microsoft\\Today\\Items\\inkleaf_item"
#define ITEM_KEY_PATH TEXT_UNITS_OF(ITEM_KEY_PATH_TEXT)

// The values of the key that the Today screen reads to list and load a
// custom item; whoever installs the item writes them.
#define TODAY_VALUE_DLL      "DLL"          // the item's full path
#define TODAY_VALUE_TYPE     "Type"         // 4, a custom item
#define TODAY_VALUE_ENABLED  "Enabled"
#define TODAY_VALUE_OPTIONS  "Options"
#define TODAY_VALUE_ORDER    "Order"

#define VALUE_CURRENT_PAGE   TEXT_UNITS("cpage")
#define VALUE_FONT_SIZE      TEXT_UNITS("fonts")
#define VALUE_TEXT_COLOR     TEXT_UNITS("tcolor")
#define VALUE_ITEM_HEIGHT    TEXT_UNITS("cheight")
#define VALUE_EDIT_MODE      TEXT_UNITS("contdisp")
#define VALUE_SHOW_TEXT      TEXT_UNITS("showtext")
#define VALUE_SHOW_IMAGE     TEXT_UNITS("showimage")
#define VALUE_USCREEN        TEXT_UNITS("uscreen")

enum {
    PAGE_COUNT = 5,
    PAGE_TEXT_UNITS = 1000,      // 999 characters and the terminator
    PAGE_TEXT_MAX_CHARS = 999,
    NUMBER_TEXT_UNITS = 10       // 9 characters and the terminator
};

// "ptext1" .. "ptext5"; NULL for a page outside 1..5.
const TextUnit *PageValueName(int page);
