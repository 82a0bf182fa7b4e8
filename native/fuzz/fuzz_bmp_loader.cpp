// The bitmap loader's own part on any file: the header check, then the
// header copy and the bottom-up row copy into buffers of exactly the sizes
// the check gave, as the loader allocates them.
#include "item/bmp_file.h"
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

static uint32_t Get32(const unsigned char *p)
{
    return p[0] | (p[1] << 8) | ((uint32_t)p[2] << 16) | ((uint32_t)p[3] << 24);
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // An exact copy: a read past the file's end is a read past this block.
    unsigned char *file = (unsigned char *)malloc(size ? size : 1);
    memcpy(file, data, size);
    BmpFileLayout layout;
    if (ParseBmpFile(file, size, &layout) && layout.pixelBytes <= (64u << 20)) {
        unsigned char *info = (unsigned char *)malloc(layout.infoBytes);
        CopyBmpInfo(file, layout, info);
        // The copied header describes what is handed over: positive height,
        // no colour table beyond 8 bits a pixel.
        if ((int32_t)Get32(info + 8) != layout.height ||
            (layout.bitsPerPixel > 8 && Get32(info + 32) != 0))
            __builtin_trap();
        unsigned char *bits = (unsigned char *)malloc(layout.pixelBytes);
        CopyBmpRowsBottomUp(file, layout, bits);
        free(bits);
        free(info);
    }
    free(file);
    return 0;
}
