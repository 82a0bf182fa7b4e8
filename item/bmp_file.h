// Reading the headers of a BMP file, free of Win32 calls: what a loader
// needs to know to build a bitmap from the file, and whether the file
// holds all the pixel data its headers promise.
#pragma once
#include <stddef.h>

struct BmpFileLayout {
    int width;               // pixels
    int height;              // pixels, positive
    bool topDown;            // rows stored top line first
    int bitsPerPixel;        // 1, 4, 8, 16, 24 or 32
    int compression;         // 0 (plain) or 3 (bit fields)
    size_t infoOffset;       // the information header, colour table after it
    size_t infoBytes;        // information header with masks and colour table
    size_t pixelOffset;
    size_t pixelBytes;       // rows padded to 4 bytes, as loaders read them
};

enum { BMP_MAX_DIMENSION = 16384, BMP_HEADERS_READ = 54 };

// Checks the file and fills `layout`; false for anything a loader should
// refuse: not a BMP, unknown header, compression other than plain or bit
// fields, bad sizes, or a file cut short. It reads no more than the first
// BMP_HEADERS_READ bytes of `data`, so a caller that holds only those (and
// knows the file's `size`) gets the same answer as one that holds it all.
bool ParseBmpFile(const unsigned char *data, size_t size, BmpFileLayout *layout);

// Copies the file's information header (with its masks and colour table)
// into `info`, layout.infoBytes bytes, made to describe exactly what the
// loader hands over: the height positive, as the rows are copied bottom-up,
// and no colour table for files of more than 8 bits a pixel.
void CopyBmpInfo(const unsigned char *data, const BmpFileLayout &layout, unsigned char *info);

// Copies the file's pixel rows (layout.pixelBytes bytes) into `bits`,
// bottom line first, turning top-down files.
void CopyBmpRowsBottomUp(const unsigned char *data, const BmpFileLayout &layout, unsigned char *bits);
