// Registry data of any size and content: termination within the buffer,
// decimal reading, and the decimal text the item writes read back.
#include "common/registry_text.h"
#include <stdint.h>
#include <string.h>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    // The first two bytes pick the buffer's capacity and the byte count the
    // registry would return; the rest is the data.
    int capacity = 1 + data[0] % 1000;
    unsigned long bytes = ((unsigned long)data[1] << 4) | (size & 15);
    std::vector<TextUnit> buffer(capacity);
    size_t copy = size - 2 < (size_t)capacity * sizeof(TextUnit) ? size - 2 : (size_t)capacity * sizeof(TextUnit);
    memcpy(buffer.data(), data + 2, copy);
    if (TerminateReceivedText(buffer.data(), capacity, bytes)) {
        if (TextLength(buffer.data(), capacity) >= capacity)
            __builtin_trap();
        int value = 0;
        if (ParseDecimal(buffer.data(), &value)) {
            TextUnit text[12];
            int again = 0;
            FormatDecimal(value, text, 12);
            if (!ParseDecimal(text, &again) || again != value)
                __builtin_trap();
        }
    }
    return 0;
}
