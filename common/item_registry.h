// The item key in the registry, shared by the item and the page editor:
// opening it, and reading and writing its REG_SZ text values.
#pragma once
#include "../platform/device.h"
#include "item_key.h"

// Opens (or creates) the item key; NULL when that fails.
HKEY OpenItemKey();

// Reads one value into `buffer` (room for `capacity` units) and terminates
// it. False, with the buffer's contents undefined, when the key or the value
// cannot be read, the value is not text, or its text needs the whole buffer.
// Opens and closes the key.
bool ReadItemValueText(LPCWSTR name, WCHAR *buffer, int capacity);

// Writes `chars` characters of text, without terminator (twice `chars`
// bytes). Errors are ignored.
void WriteItemValueText(HKEY key, LPCWSTR name, const WCHAR *text, int chars);

