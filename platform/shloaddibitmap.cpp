// SHLoadDIBitmap: a BMP file as a DIB section with addressable pixels.
#include "device.h"
#include "../item/bmp_file.h"
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
            CopyBmpInfo(data, layout, (unsigned char *)info);
            bitmap = CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &bits, nullptr, 0);
            free(info);
        }
        if (bitmap && bits)
            CopyBmpRowsBottomUp(data, layout, (unsigned char *)bits);
    }
    free(data);
    return bitmap;
}
