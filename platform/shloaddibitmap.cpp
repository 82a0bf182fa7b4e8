// SHLoadDIBitmap: a BMP file as a DIB section with addressable pixels.
#include "device.h"
#include "bmp_file.h"
#include <stdlib.h>
#include <string.h>

// Files larger than this are not bitmaps the device could hold.
static const DWORD kMaxFileBytes = 256u << 20;

static unsigned char *ReadWholeFile(LPCWSTR path, DWORD *size)
{
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return nullptr;
    DWORD high = 0;
    DWORD bytes = GetFileSize(file, &high);
    unsigned char *data = nullptr;
    if (bytes != INVALID_FILE_SIZE && high == 0 && bytes <= kMaxFileBytes)
        data = (unsigned char *)malloc(bytes ? bytes : 1);
    DWORD read = 0;
    if (data && (!ReadFile(file, data, bytes, &read, nullptr) || read != bytes)) {
        free(data);
        data = nullptr;
    }
    CloseHandle(file);
    *size = bytes;
    return data;
}

// Copies the file's rows into a bottom-up section, turning top-down files.
static void CopyRowsBottomUp(unsigned char *bits, const unsigned char *rows, const BmpFileLayout &layout)
{
    if (!layout.topDown) {
        memcpy(bits, rows, layout.pixelBytes);
        return;
    }
    size_t rowBytes = layout.pixelBytes / (size_t)layout.height;
    for (int row = 0; row < layout.height; row++)
        memcpy(bits + (size_t)(layout.height - 1 - row) * rowBytes, rows + (size_t)row * rowBytes, rowBytes);
}

extern "C" HBITMAP SHLoadDIBitmap(LPCWSTR fileName)
{
    DWORD size = 0;
    unsigned char *data = fileName ? ReadWholeFile(fileName, &size) : nullptr;
    if (!data)
        return nullptr;
    HBITMAP bitmap = nullptr;
    BmpFileLayout layout;
    if (ParseBmpFile(data, size, &layout)) {
        // The headers sit at an odd offset in the file: give GDI an aligned copy.
        BITMAPINFO *info = (BITMAPINFO *)malloc(layout.infoBytes);
        void *bits = nullptr;
        if (info) {
            memcpy(info, data + layout.infoOffset, layout.infoBytes);
            info->bmiHeader.biHeight = layout.height;
            bitmap = CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &bits, nullptr, 0);
            free(info);
        }
        if (bitmap && bits)
            CopyRowsBottomUp((unsigned char *)bits, data + layout.pixelOffset, layout);
    }
    free(data);
    return bitmap;
}
