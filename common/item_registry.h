// The item key in the registry, shared by the item and the page editor:
// opening it, and reading and writing its REG_SZ text values.
#pragma once
#include "../platform/device.h"
#include "item_key.h"

// Opens (or creates) the item key; NULL when that fails.
HKEY OpenItemKey();

// How a read of a value went: read; unusable, the value being missing, not
// text, or too long for the buffer; or not read, the registry failing just
// now (out of memory, say), which tells nothing of what is stored.
enum ValueRead {
    VALUE_READ,
    VALUE_UNUSABLE,
    VALUE_NOT_READ
};

// Reads one value into `buffer` (room for `capacity` units) and terminates
// it; unless VALUE_READ, the buffer's contents are undefined. Opens and
// closes the key.
ValueRead ReadItemValue(LPCWSTR name, WCHAR *buffer, int capacity);
// The same, true when read.
bool ReadItemValueText(LPCWSTR name, WCHAR *buffer, int capacity);

// Writes `chars` characters of text, without terminator (twice `chars`
// bytes). Errors are ignored.
void WriteItemValueText(HKEY key, LPCWSTR name, const WCHAR *text, int chars);

