// Clipboard text of any size and content, in a block of exactly its size,
// pasted into a page that already holds some text: the paste never reads
// past the block and the page stays terminated within its room.
#include "common/item_key.h"
#include "common/registry_text.h"
#include "item/page_paste.h"
#include <stdint.h>
#include <stdlib.h>
#include <string.h>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 3)
        return 0;
    bool append = data[0] & 1;
    size_t pageLength = ((size_t)data[1] << 2 | (data[2] & 3)) % PAGE_TEXT_UNITS;
    size_t blockBytes = size - 3;
    unsigned char *block = (unsigned char *)malloc(blockBytes ? blockBytes : 1);
    memcpy(block, data + 3, blockBytes);
    std::vector<TextUnit> page(PAGE_TEXT_UNITS, 'a');
    page[pageLength] = 0;
    int length = ClipboardTextLength((const TextUnit *)block, blockBytes);
    if (length < 0 || (size_t)length * sizeof(TextUnit) > blockBytes || length > PAGE_TEXT_UNITS)
        __builtin_trap();
    PasteIntoPage(page.data(), (const TextUnit *)block, length, append);
    if (TextLength(page.data(), PAGE_TEXT_UNITS) >= PAGE_TEXT_UNITS)
        __builtin_trap();
    free(block);
    return 0;
}
