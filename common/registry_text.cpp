#include "registry_text.h"
#include "item_key.h"

const TextUnit *PageValueName(int page)
{
    static const TextUnit *const names[PAGE_COUNT] = {
        TEXT_UNITS("ptext1"), TEXT_UNITS("ptext2"), TEXT_UNITS("ptext3"),
        TEXT_UNITS("ptext4"), TEXT_UNITS("ptext5"),
    };
    return (page >= 1 && page <= PAGE_COUNT) ? names[page - 1] : 0;
}

int TextLength(const TextUnit *text, int capacity)
{
    int n = 0;
    while (n < capacity && text[n] != 0)
        n++;
    return n;
}

bool TerminateReceivedText(TextUnit *buffer, int capacity, unsigned long bytes)
{
    unsigned long units = bytes / sizeof(TextUnit);
    if (capacity < 1 || units > (unsigned long)capacity)
        return false;
    int length = TextLength(buffer, (int)units);
    if (length >= capacity)
        return false;
    buffer[length] = 0;
    return true;
}

static bool IsSpace(TextUnit c)
{
    return c == ' ' || (c >= 9 && c <= 13);
}

bool ParseDecimal(const TextUnit *text, int *value)
{
    while (IsSpace(*text))
        text++;
    bool negative = false;
    if (*text == '+' || *text == '-')
        negative = (*text++ == '-');
    long long magnitude = 0;
    const long long limit = negative ? 2147483648LL : 2147483647LL;
    for (; *text >= '0' && *text <= '9'; text++) {
        magnitude = magnitude * 10 + (*text - '0');
        if (magnitude > limit)
            return false;
    }
    *value = (int)(negative ? -magnitude : magnitude);
    return true;
}

int FormatDecimal(int value, TextUnit *out, int capacity)
{
    TextUnit digits[11];
    int count = 0;
    unsigned int magnitude = value < 0 ? 0u - (unsigned int)value : (unsigned int)value;
    do {
        digits[count++] = (TextUnit)('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (count + (value < 0) >= capacity) {   // no room for it and its terminator
        if (capacity > 0)
            out[0] = 0;
        return 0;
    }
    int n = 0;
    if (value < 0)
        out[n++] = '-';
    while (count > 0)
        out[n++] = digits[--count];
    out[n] = 0;
    return n;
}

void TakeNumberText(const TextUnit *text, int lo, int hi, int *field)
{
    int value = 0;
    if (ParseDecimal(text, &value) && value >= lo && value <= hi)
        *field = value;
}

int FlagFromText(const TextUnit *text)
{
    int value = 0;
    return ParseDecimal(text, &value) && value == 1;
}

void CopyPageText(TextUnit *page, const TextUnit *received)
{
    int length = TextLength(received, PAGE_TEXT_MAX_CHARS);
    for (int i = 0; i < length; i++)
        page[i] = received[i];
    page[length] = 0;
}
