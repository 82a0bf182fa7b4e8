#include "board_format.h"
#include "bmp_file.h"
#include <string.h>

static void Put16(unsigned char *p, unsigned value)
{
    p[0] = (unsigned char)value;
    p[1] = (unsigned char)(value >> 8);
}

static void Put32(unsigned char *p, unsigned long value)
{
    Put16(p, (unsigned)(value & 0xFFFF));
    Put16(p + 2, (unsigned)(value >> 16));
}

void BuildBoardFileHeaders(int width, int height, unsigned char h[BOARD_HEADERS_BYTES])
{
    unsigned long pixelBytes = (unsigned long)BoardPixelBytes(width, height);
    for (int i = 0; i < BOARD_HEADERS_BYTES; i++)
        h[i] = 0;
    h[0] = 'B';
    h[1] = 'M';
    Put32(h + 2, BOARD_HEADERS_BYTES + pixelBytes);   // bfSize
    Put32(h + 10, BOARD_HEADERS_BYTES);               // bfOffBits
    Put32(h + 14, BOARD_INFO_HEADER_BYTES);           // biSize
    Put32(h + 18, (unsigned long)width);              // biWidth
    Put32(h + 22, (unsigned long)height);             // biHeight: bottom-up
    Put16(h + 26, 1);                                 // biPlanes
    Put16(h + 28, 24);                                // biBitCount
    Put32(h + 34, pixelBytes);                        // biSizeImage
}

bool BoardLayoutIsAddressable(int width, int height, int bitsPerPixel, int compression,
                              bool bottomUp, int rowBytes)
{
    if (width < 1 || height < 1 || bitsPerPixel != 24 || compression != 0 || !bottomUp)
        return false;
    if (width > 0x7FFFFFFF / 3 || (width * 3) % 4 != 0 || rowBytes != width * 3)
        return false;
    return true;
}

BoardFileHead JudgeBoardFile(const unsigned char head[BOARD_HEADERS_BYTES], size_t fileBytes)
{
    BoardFileHead judged = {BOARD_FILE_NOT_A_BOARD, 0, 0};
    BmpFileLayout layout;
    if (fileBytes == 0) {
        judged.kind = BOARD_FILE_EMPTY;
        return judged;
    }
    // The loader hands over the rows of any bitmap bottom-up.
    if (!ParseBmpFile(head, fileBytes, &layout) ||
        !BoardLayoutIsAddressable(layout.width, layout.height, layout.bitsPerPixel,
                                  layout.compression, true,
                                  (int)(layout.pixelBytes / (size_t)layout.height)))
        return judged;
    judged.kind = BOARD_FILE_BOARD;
    judged.width = layout.width;
    judged.height = layout.height;
    unsigned char own[BOARD_HEADERS_BYTES];
    BuildBoardFileHeaders(layout.width, layout.height, own);
    if (memcmp(head, own, sizeof(own)) == 0 &&
        fileBytes == BOARD_HEADERS_BYTES + BoardPixelBytes(layout.width, layout.height))
        judged.kind = BOARD_FILE_ITEM_BOARD;
    return judged;
}
