// The board file format and the layout the pixel writers can address, free
// of Win32 calls.
#pragma once
#include <stddef.h>

enum {
    BOARD_FILE_HEADER_BYTES = 14,
    BOARD_INFO_HEADER_BYTES = 40,
    BOARD_HEADERS_BYTES = 54,
    BOARD_NEW_WIDTH = 640,
    BOARD_NEW_HEIGHT = 640
};

// The 14-byte file header and the 40-byte information header of an
// uncompressed 24-bit bottom-up file of width x height pixels, rows of
// exactly width * 3 bytes.
void BuildBoardFileHeaders(int width, int height, unsigned char headers[BOARD_HEADERS_BYTES]);

// Bytes of pixel data of such a file.
inline size_t BoardPixelBytes(int width, int height)
{
    return (size_t)width * (size_t)height * 3;
}

// Whether the pixel writers can address a bitmap of this shape safely:
// 24 bits, uncompressed, bottom-up, positive size, rows of width * 3 bytes
// that need no padding.
bool BoardLayoutIsAddressable(int width, int height, int bitsPerPixel, int compression,
                              bool bottomUp, int rowBytes);

// What the first BOARD_HEADERS_BYTES bytes of a file and its size say of
// it as a board file.
enum BoardFileKind {
    BOARD_FILE_EMPTY,           // 0 bytes
    BOARD_FILE_NOT_A_BOARD,     // cut short, not a bitmap, or one the pixel writers cannot address
    BOARD_FILE_BOARD,           // a whole bitmap the item can load and draw on
    BOARD_FILE_ITEM_BOARD       // that, exactly as the item writes it for its size
};
struct BoardFileHead {
    BoardFileKind kind;
    int width, height;          // of a board
};
BoardFileHead JudgeBoardFile(const unsigned char head[BOARD_HEADERS_BYTES], size_t fileBytes);
