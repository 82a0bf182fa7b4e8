// A board file from anywhere: the loader's header check, then, for a file
// the pixel writers accept, dots, stamps and a fill on a Board of its size.
#include "item/board_format.h"
#include "item/board_pixels.h"
#include "item/stamp_shapes.h"
#include "item/bmp_file.h"
#include <stdint.h>
#include <string.h>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    BmpFileLayout layout;
    if (!ParseBmpFile(data, size, &layout))
        return 0;
    if (layout.pixelOffset + layout.pixelBytes > size)
        __builtin_trap();
    int rowBytes = (int)(layout.pixelBytes / (size_t)layout.height);
    // The loader turns top-down files bottom-up: only the bit depth, the
    // compression and the row length decide.
    if (!BoardLayoutIsAddressable(layout.width, layout.height, layout.bitsPerPixel, layout.compression,
                                  true, rowBytes))
        return 0;
    if (layout.width > 2048 || layout.height > 2048)
        return 0;
    std::vector<unsigned char> pixels(data + layout.pixelOffset, data + layout.pixelOffset + layout.pixelBytes);
    BoardPixels board = {layout.width, layout.height, pixels.data()};
    const uint8_t *p = data + 14;
    for (int i = 0; i + 3 < 40; i += 4) {
        int x = p[i] | (p[i + 1] << 8), y = p[i + 2] | (p[i + 3] << 8);
        BoardWriteDot(board, x, y, 1 + p[i] % 10, p[i + 1] & 1, PixelRGB{p[i], p[i + 1], p[i + 2]});
        BoardStampShape(board, x, y, p[i + 3] % 20, PixelRGB{1, 2, 3});
    }
    BoardFill(board, PixelRGB{224, 224, 224});
    return 0;
}
