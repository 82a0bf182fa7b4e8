// Pasting clipboard text into a page, free of Win32 calls.
#pragma once
#include "../common/text_units.h"
#include <stddef.h>

// Units of clipboard text a paste may take from a block of `blockBytes`
// bytes: those before the first NUL, never past the block's end, at most
// PAGE_TEXT_UNITS.
int ClipboardTextLength(const TextUnit *text, size_t blockBytes);

// Puts `length` units of `text` into `page` (room for PAGE_TEXT_UNITS
// units, terminated): in place of the page's text, or after it and a line
// break when `append` is set and the whole fits. Text of no units or of
// more than a page holds leaves the page as it is. Returns whether the
// page changed.
bool PasteIntoPage(TextUnit *page, const TextUnit *text, int length, bool append);
