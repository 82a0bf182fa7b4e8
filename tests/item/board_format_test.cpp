// The board file's headers and the layouts the pixel writers accept.
#include "item/board_format.h"
#include <gtest/gtest.h>
#include <string.h>

namespace {

unsigned long Get32(const unsigned char *p)
{
    return p[0] | (p[1] << 8) | ((unsigned long)p[2] << 16) | ((unsigned long)p[3] << 24);
}

TEST(BoardFileHeaders, ExactFieldsOfA640Board)
{
    unsigned char h[BOARD_HEADERS_BYTES];
    memset(h, 0xCC, sizeof(h));
    BuildBoardFileHeaders(640, 640, h);
    EXPECT_EQ('B', h[0]);
    EXPECT_EQ('M', h[1]);
    EXPECT_EQ(1228854ul, Get32(h + 2));
    EXPECT_EQ(0ul, Get32(h + 6));            // both reserved words
    EXPECT_EQ(54ul, Get32(h + 10));
    EXPECT_EQ(40ul, Get32(h + 14));
    EXPECT_EQ(640ul, Get32(h + 18));
    EXPECT_EQ(640ul, Get32(h + 22));
    EXPECT_EQ(1, h[26] | h[27] << 8);
    EXPECT_EQ(24, h[28] | h[29] << 8);
    EXPECT_EQ(0ul, Get32(h + 30));
    EXPECT_EQ(1228800ul, Get32(h + 34));
    for (int offset = 38; offset < 54; offset += 4)
        EXPECT_EQ(0ul, Get32(h + offset)) << offset;
}

TEST(BoardLayout, OnlyUnpaddedBottomUp24BitPlainBitmaps)
{
    EXPECT_TRUE(BoardLayoutIsAddressable(640, 640, 24, 0, true, 1920));
    EXPECT_TRUE(BoardLayoutIsAddressable(4, 1, 24, 0, true, 12));
    EXPECT_FALSE(BoardLayoutIsAddressable(641, 640, 24, 0, true, 1924));   // 1923 needs padding
    EXPECT_FALSE(BoardLayoutIsAddressable(640, 640, 32, 0, true, 2560));
    EXPECT_FALSE(BoardLayoutIsAddressable(640, 640, 8, 0, true, 640));
    EXPECT_FALSE(BoardLayoutIsAddressable(640, 640, 24, 1, true, 1920));
    EXPECT_FALSE(BoardLayoutIsAddressable(640, 640, 24, 0, false, 1920));
    EXPECT_FALSE(BoardLayoutIsAddressable(0, 640, 24, 0, true, 0));
    EXPECT_FALSE(BoardLayoutIsAddressable(640, 0, 24, 0, true, 1920));
    EXPECT_FALSE(BoardLayoutIsAddressable(-640, 640, 24, 0, true, 1920));
    EXPECT_FALSE(BoardLayoutIsAddressable(0x7FFFFFFC, 1, 24, 0, true, 0));
}

}  // namespace
