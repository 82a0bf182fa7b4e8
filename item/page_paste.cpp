#include "page_paste.h"
#include "../common/item_key.h"
#include "../common/registry_text.h"
#include <string.h>

int ClipboardTextLength(const TextUnit *text, size_t blockBytes)
{
    size_t units = blockBytes / sizeof(TextUnit);
    return TextLength(text, units < (size_t)PAGE_TEXT_UNITS ? (int)units : PAGE_TEXT_UNITS);
}

bool PasteIntoPage(TextUnit *page, const TextUnit *text, int length, bool append)
{
    if (length < 1 || length > PAGE_TEXT_MAX_CHARS)
        return false;
    if (!append) {
        memcpy(page, text, length * sizeof(TextUnit));
        page[length] = 0;
        return true;
    }
    int pageLength = TextLength(page, PAGE_TEXT_MAX_CHARS);
    if (pageLength + length + 2 >= PAGE_TEXT_UNITS)
        return false;
    page[pageLength] = '\r';
    page[pageLength + 1] = '\n';
    memcpy(page + pageLength + 2, text, length * sizeof(TextUnit));
    page[pageLength + 2 + length] = 0;
    return true;
}
