// The settings store's reading of any registry data: a number, an on/off
// value or a page text received into a buffer of its real size with any
// byte count, then taken as the item takes it.
#include "common/item_key.h"
#include "common/registry_text.h"
#include <stdint.h>
#include <string.h>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 3)
        return 0;
    // First byte: which kind of value; second and third: the byte count the
    // registry returns; the rest: the data.
    int kind = data[0] % 3;
    int capacity = kind == 2 ? PAGE_TEXT_UNITS : NUMBER_TEXT_UNITS;
    unsigned long bytes = data[1] | ((unsigned long)data[2] << 8);
    std::vector<TextUnit> buffer(capacity, 'x');
    size_t copy = size - 3 < (size_t)capacity * sizeof(TextUnit) ? size - 3 : (size_t)capacity * sizeof(TextUnit);
    memcpy(buffer.data(), data + 3, copy);
    if (!TerminateReceivedText(buffer.data(), capacity, bytes))
        return 0;
    if (kind == 0) {
        int field = 7;
        TakeNumberText(buffer.data(), 1, PAGE_COUNT, &field);
        if (field != 7 && (field < 1 || field > PAGE_COUNT))
            __builtin_trap();
    } else if (kind == 1) {
        int flag = FlagFromText(buffer.data());
        if (flag != 0 && flag != 1)
            __builtin_trap();
    } else {
        std::vector<TextUnit> page(PAGE_TEXT_UNITS, 'p');
        CopyPageText(page.data(), buffer.data());
        int length = TextLength(page.data(), PAGE_TEXT_UNITS);
        if (length >= PAGE_TEXT_UNITS || memcmp(page.data(), buffer.data(), length * sizeof(TextUnit)) != 0)
            __builtin_trap();
    }
    return 0;
}
