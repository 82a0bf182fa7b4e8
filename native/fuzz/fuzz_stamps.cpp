// Stamps of any shape number at any point on Boards of any small size.
#include "item/stamp_shapes.h"
#include <stdint.h>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 8)
        return 0;
    int width = 1 + data[0] % 80, height = 1 + data[1] % 80;
    int x = (int8_t)data[2] * 4 + data[3] % 4, y = (int8_t)data[4] * 4 + data[5] % 4;
    int shape = (int8_t)data[6];
    std::vector<unsigned char> pixels((size_t)width * height * 3);
    BoardPixels board = {width, height, pixels.data()};
    BoardStampShape(board, x, y, shape, PixelRGB{data[7], 0, 255});
    return 0;
}
