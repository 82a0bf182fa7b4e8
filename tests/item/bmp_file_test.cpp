// What the bitmap loader accepts from a BMP file.
#include "item/bmp_file.h"
#include "item/board_format.h"
#include <gtest/gtest.h>
#include <vector>

namespace {

std::vector<unsigned char> BoardFile(int w, int h)
{
    std::vector<unsigned char> file(BOARD_HEADERS_BYTES + BoardPixelBytes(w, h));
    BuildBoardFileHeaders(w, h, file.data());
    return file;
}

void Put32(std::vector<unsigned char> &f, size_t at, unsigned long v)
{
    for (int i = 0; i < 4; i++)
        f[at + i] = (unsigned char)(v >> (8 * i));
}

TEST(ParseBmpFile, AcceptsTheBoardFile)
{
    auto file = BoardFile(640, 640);
    BmpFileLayout layout;
    ASSERT_TRUE(ParseBmpFile(file.data(), file.size(), &layout));
    EXPECT_EQ(640, layout.width);
    EXPECT_EQ(640, layout.height);
    EXPECT_FALSE(layout.topDown);
    EXPECT_EQ(24, layout.bitsPerPixel);
    EXPECT_EQ(54u, layout.pixelOffset);
    EXPECT_EQ(1228800u, layout.pixelBytes);
}

TEST(ParseBmpFile, RefusesEveryTruncation)
{
    auto file = BoardFile(8, 4);
    BmpFileLayout layout;
    for (size_t size = 0; size < file.size(); size++)
        EXPECT_FALSE(ParseBmpFile(file.data(), size, &layout)) << size;
    EXPECT_TRUE(ParseBmpFile(file.data(), file.size(), &layout));
}

TEST(ParseBmpFile, RefusesBrokenHeaders)
{
    BmpFileLayout layout;
    struct Change { size_t at; unsigned long value; int bytes; };
    const Change changes[] = {
        {0, 'X', 1},                 // not BM
        {14, 12, 4},                 // old core header
        {14, 0, 4},
        {18, 0, 4},                  // width 0
        {22, 0, 4},                  // height 0
        {18, 0x80000000ul, 4},       // negative width
        {18, 100000, 4},             // huge width
        {22, 0xFFFF0000ul, 4},       // huge top-down height
        {26, 2, 2},                  // planes
        {28, 7, 2},                  // bit count
        {30, 1, 4},                  // run-length compression
        {30, 3, 4},                  // bit fields on 24 bits
        {10, 0xFFFFFFF0ul, 4},       // pixels past the end
        {10, 20, 4},                 // pixels inside the headers
    };
    for (const Change &c : changes) {
        auto file = BoardFile(8, 4);
        for (int i = 0; i < c.bytes; i++)
            file[c.at + i] = (unsigned char)(c.value >> (8 * i));
        EXPECT_FALSE(ParseBmpFile(file.data(), file.size(), &layout)) << "offset " << c.at;
    }
}

TEST(ParseBmpFile, ReadsTopDownAndPaddedRows)
{
    auto file = BoardFile(8, 4);
    Put32(file, 22, (unsigned long)-4);
    BmpFileLayout layout;
    ASSERT_TRUE(ParseBmpFile(file.data(), file.size(), &layout));
    EXPECT_TRUE(layout.topDown);
    EXPECT_EQ(4, layout.height);
    // Width 5: rows are padded to 16 bytes on disk as loaders read them.
    auto odd = BoardFile(5, 2);
    EXPECT_FALSE(ParseBmpFile(odd.data(), odd.size(), &layout)) << "15-byte rows are short";
    odd.resize(54 + 32);
    EXPECT_TRUE(ParseBmpFile(odd.data(), odd.size(), &layout));
    EXPECT_EQ(32u, layout.pixelBytes);
}

// The header handed to the platform describes exactly the bytes copied:
// a 24-bit file that claims a colour table gets none, a top-down file's
// height turns positive and its rows bottom-up.
TEST(CopyBmp, HeaderAndRowsDescribeWhatIsHandedOver)
{
    auto file = BoardFile(4, 3);
    Put32(file, 22, (unsigned long)-3);          // top-down
    Put32(file, 46, 256);                        // colours used, on a 24-bit file
    for (int row = 0; row < 3; row++)
        file[54 + row * 12] = (unsigned char)(row + 1);
    BmpFileLayout layout;
    ASSERT_TRUE(ParseBmpFile(file.data(), file.size(), &layout));
    ASSERT_EQ(40u, layout.infoBytes);
    std::vector<unsigned char> info(layout.infoBytes);
    CopyBmpInfo(file.data(), layout, info.data());
    EXPECT_EQ(3, info[8]);
    EXPECT_EQ(0, info[11]);
    EXPECT_EQ(std::vector<unsigned char>(8, 0), std::vector<unsigned char>(info.begin() + 32, info.end()));
    std::vector<unsigned char> bits(layout.pixelBytes, 0xEE);
    CopyBmpRowsBottomUp(file.data(), layout, bits.data());
    EXPECT_EQ(3, bits[0]);                       // the file's last row is the bottom line
    EXPECT_EQ(2, bits[12]);
    EXPECT_EQ(1, bits[24]);
    // An 8-bit file keeps the colour table it has.
    auto indexed = std::vector<unsigned char>(54 + 2 * 4 + 4, 0);
    indexed[0] = 'B';
    indexed[1] = 'M';
    Put32(indexed, 10, 62);
    Put32(indexed, 14, 40);
    Put32(indexed, 18, 1);
    Put32(indexed, 22, 1);
    indexed[26] = 1;
    indexed[28] = 8;
    Put32(indexed, 46, 2);
    ASSERT_TRUE(ParseBmpFile(indexed.data(), indexed.size(), &layout));
    info.assign(layout.infoBytes, 0);
    CopyBmpInfo(indexed.data(), layout, info.data());
    EXPECT_EQ(48u, info.size());
    EXPECT_EQ(2, info[32]);
}

}  // namespace
