// A board file from anywhere: the loader's header check and the item's
// judgement of a file it could not load, then, for a file
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
    bool parsed = ParseBmpFile(data, size, &layout);
    // A file the item could not load is judged from its head and size
    // alone: the judgement must agree with the whole file's.
    unsigned char head[BOARD_HEADERS_BYTES] = {};
    memcpy(head, data, size < sizeof(head) ? size : sizeof(head));
    bool judgedBoard = JudgeBoardFile(head, size).kind >= BOARD_FILE_BOARD;
    if (judgedBoard && !parsed)
        __builtin_trap();
    if (!parsed)
        return 0;
    if (layout.pixelOffset + layout.pixelBytes > size)
        __builtin_trap();
    int rowBytes = (int)(layout.pixelBytes / (size_t)layout.height);
    // The loader turns top-down files bottom-up: only the bit depth, the
    // compression and the row length decide.
    if (!BoardLayoutIsAddressable(layout.width, layout.height, layout.bitsPerPixel, layout.compression,
                                  true, rowBytes)) {
        if (judgedBoard)
            __builtin_trap();
        return 0;
    }
    if (!judgedBoard)
        __builtin_trap();
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
