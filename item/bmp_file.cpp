#include "bmp_file.h"
#include <stdint.h>
#include <string.h>

static unsigned long Get32(const unsigned char *p)
{
    return p[0] | (p[1] << 8) | ((unsigned long)p[2] << 16) | ((unsigned long)p[3] << 24);
}

static unsigned Get16(const unsigned char *p)
{
    return p[0] | (p[1] << 8);
}

bool ParseBmpFile(const unsigned char *data, size_t size, BmpFileLayout *layout)
{
    if (size < BMP_HEADERS_READ || data[0] != 'B' || data[1] != 'M')
        return false;
    unsigned long pixelOffset = Get32(data + 10);
    unsigned long infoSize = Get32(data + 14);
    if (infoSize != 40 && infoSize != 52 && infoSize != 56 && infoSize != 108 && infoSize != 124)
        return false;
    if (14 + infoSize > size)
        return false;
    int64_t width = (int32_t)Get32(data + 18);
    int64_t height = (int32_t)Get32(data + 22);
    unsigned planes = Get16(data + 26);
    int bits = (int)Get16(data + 28);
    unsigned long compression = Get32(data + 30);
    unsigned long colorsUsed = Get32(data + 46);
    bool topDown = height < 0;
    if (topDown)
        height = -height;
    if (planes != 1 || width < 1 || height < 1 || width > BMP_MAX_DIMENSION || height > BMP_MAX_DIMENSION)
        return false;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return false;
    size_t tableBytes = 0;
    if (compression == 3) {
        if (bits != 16 && bits != 32)
            return false;
        if (infoSize == 40)
            tableBytes = 12;        // the three masks follow the header
    } else if (compression != 0) {
        return false;
    }
    if (bits <= 8) {
        unsigned long entries = colorsUsed ? colorsUsed : (1ul << bits);
        if (entries > (1ul << bits))
            return false;
        tableBytes = entries * 4;
    }
    size_t infoBytes = infoSize + tableBytes;
    size_t rowBytes = (((size_t)width * (size_t)bits + 31) / 32) * 4;
    size_t pixelBytes = rowBytes * (size_t)height;
    if (14 + infoBytes > size || pixelOffset < 14 + infoBytes || pixelOffset > size ||
        pixelBytes > size - pixelOffset)
        return false;
    layout->width = (int)width;
    layout->height = (int)height;
    layout->topDown = topDown;
    layout->bitsPerPixel = bits;
    layout->compression = (int)compression;
    layout->infoOffset = 14;
    layout->infoBytes = infoBytes;
    layout->pixelOffset = pixelOffset;
    layout->pixelBytes = pixelBytes;
    return true;
}

static void Put32(unsigned char *p, unsigned long value)
{
    p[0] = (unsigned char)value;
    p[1] = (unsigned char)(value >> 8);
    p[2] = (unsigned char)(value >> 16);
    p[3] = (unsigned char)(value >> 24);
}

void CopyBmpInfo(const unsigned char *data, const BmpFileLayout &layout, unsigned char *info)
{
    memcpy(info, data + layout.infoOffset, layout.infoBytes);
    Put32(info + 8, (unsigned long)layout.height);         // biHeight
    if (layout.bitsPerPixel > 8) {
        Put32(info + 32, 0);                                // biClrUsed
        Put32(info + 36, 0);                                // biClrImportant
    }
}

void CopyBmpRowsBottomUp(const unsigned char *data, const BmpFileLayout &layout, unsigned char *bits)
{
    const unsigned char *rows = data + layout.pixelOffset;
    if (!layout.topDown) {
        memcpy(bits, rows, layout.pixelBytes);
        return;
    }
    size_t rowBytes = layout.pixelBytes / (size_t)layout.height;
    for (int row = 0; row < layout.height; row++)
        memcpy(bits + (size_t)(layout.height - 1 - row) * rowBytes, rows + (size_t)row * rowBytes, rowBytes);
}
