// Dots and fill on Boards in plain memory.
#include "item/board_pixels.h"
#include "test_board.h"
#include <algorithm>
#include <gtest/gtest.h>
#include <set>
#include <utility>
#include <vector>

namespace {

const PixelRGB kRed = {255, 0, 0};

TEST(BoardAnchorRow, IsHeightMinusYExceptAtTheMiddle)
{
    EXPECT_EQ(440, BoardAnchorRow(640, 200));
    EXPECT_EQ(320, BoardAnchorRow(640, 320));
    EXPECT_EQ(31, BoardAnchorRow(63, 31));
    EXPECT_EQ(31, BoardAnchorRow(63, 32));
    EXPECT_EQ(33, BoardAnchorRow(63, 30));
}

TEST(BoardWriteDot, WidthOneWritesOnePixelAtTheDocumentedOffset)
{
    TestBoard t(640, 640);
    BoardWriteDot(t.board, 100, 200, 1, false, PixelRGB{1, 2, 3});
    const unsigned char *p = t.board.bits + 845100;
    EXPECT_EQ(3, p[0]);
    EXPECT_EQ(2, p[1]);
    EXPECT_EQ(1, p[2]);
    EXPECT_EQ(1u, t.Written().size());
}

TEST(BoardWriteDot, WidthTwoPenIsAPlusAndEraserASquare)
{
    TestBoard pen(640, 640);
    BoardWriteDot(pen.board, 100, 200, 2, false, kRed);
    std::set<std::pair<int, int>> plus = {{100, 440}, {99, 440}, {101, 440}, {100, 441}, {100, 439}};
    EXPECT_EQ(plus, pen.Written());

    TestBoard eraser(640, 640);
    BoardWriteDot(eraser.board, 100, 200, 2, true, kRed);
    auto square = plus;
    square.insert({99, 439});
    square.insert({101, 439});
    square.insert({99, 441});
    square.insert({101, 441});
    EXPECT_EQ(square, eraser.Written());
}

TEST(BoardWriteDot, PixelCountsForEveryWidth)
{
    for (int w = 1; w <= 10; w++) {
        TestBoard pen(64, 64), eraser(64, 64);
        BoardWriteDot(pen.board, 30, 30, w, false, kRed);
        BoardWriteDot(eraser.board, 30, 30, w, true, kRed);
        int side = 2 * w - 1;
        EXPECT_EQ((size_t)(w == 1 ? 1 : side * side - 4), pen.Written().size()) << "pen " << w;
        EXPECT_EQ((size_t)(side * side), eraser.Written().size()) << "eraser " << w;
    }
}

TEST(BoardWriteDot, OddHeightAnchorRows)
{
    TestBoard t(64, 63);
    BoardWriteDot(t.board, 10, 31, 1, false, kRed);
    BoardWriteDot(t.board, 20, 32, 1, false, kRed);
    BoardWriteDot(t.board, 30, 30, 1, false, kRed);
    std::set<std::pair<int, int>> expected = {{10, 31}, {20, 31}, {30, 33}};
    EXPECT_EQ(expected, t.Written());
}

TEST(BoardWriteDot, NeverWritesOutsideTheBoard)
{
    TestBoard t(8, 8);
    const int points[][2] = {{0, 0}, {7, 7}, {-5, 3}, {3, -5}, {100, 100}, {0, 8}, {-100000, 9999999}};
    for (auto &p : points)
        for (int w = 1; w <= 10; w++) {
            BoardWriteDot(t.board, p[0], p[1], w, true, kRed);
            BoardWriteDot(t.board, p[0], p[1], w, false, kRed);
        }
    EXPECT_TRUE(t.GuardsIntact());
    BoardWriteDot(BoardPixels{0, 0, nullptr}, 1, 1, 3, true, kRed);
}

// The dot as its definition reads, one pixel at a time: the square of
// 2w - 1 pixels around (x, anchor row), the pen without its four corners.
std::vector<unsigned char> ReferenceDot(int width, int height, int x, int y, int w, bool eraser,
                                        PixelRGB c)
{
    std::vector<unsigned char> bits((size_t)width * height * 3, 0);
    int r0 = BoardAnchorRow(height, y);
    int reach = w > 1 ? w - 1 : 0;
    for (int row = r0 - reach; row <= r0 + reach; row++)
        for (int column = x - reach; column <= x + reach; column++) {
            bool corner = reach > 0 && (row == r0 - reach || row == r0 + reach) &&
                          (column == x - reach || column == x + reach);
            if ((corner && !eraser) || row < 0 || row >= height || column < 0 || column >= width)
                continue;
            unsigned char *p = &bits[((size_t)row * width + column) * 3];
            p[0] = (unsigned char)c.blue;
            p[1] = (unsigned char)c.green;
            p[2] = (unsigned char)c.red;
        }
    return bits;
}

TEST(BoardWriteDot, MatchesThePixelByPixelDotAcrossEveryEdgeAndCorner)
{
    // An odd height brings in the middle row, whose anchor differs; points run
    // from well off the Board across each edge, where corners get cut.
    const int width = 13, height = 11;
    const PixelRGB colour = {17, 99, 201};
    int mismatches = 0;
    for (int w = 1; w <= 12; w++)
        for (int eraser = 0; eraser <= 1; eraser++)
            for (int x = -w - 1; x <= width + w; x++)
                for (int y = -w - 1; y <= height + w; y++) {
                    TestBoard t(width, height);
                    BoardWriteDot(t.board, x, y, w, eraser != 0, colour);
                    std::vector<unsigned char> expected =
                        ReferenceDot(width, height, x, y, w, eraser != 0, colour);
                    bool same = std::equal(expected.begin(), expected.end(), t.board.bits);
                    EXPECT_TRUE(same && t.GuardsIntact())
                        << "w " << w << (eraser ? " eraser" : " pen") << " at " << x << ", " << y;
                    mismatches += !same;
                    if (mismatches > 5)
                        return;
                }
}

TEST(BoardFill, WritesTheColourBytesExactlyOnBoardsOfAnyShape)
{
    const int shapes[][2] = {{1, 1}, {1, 7}, {7, 1}, {5, 3}, {641, 2}, {3, 640}};
    const PixelRGB colour = {11, 22, 33};
    for (auto &shape : shapes) {
        TestBoard t(shape[0], shape[1]);
        BoardFill(t.board, colour);
        size_t bytes = (size_t)shape[0] * shape[1] * 3;
        size_t wrong = 0;
        for (size_t i = 0; i < bytes; i += 3)
            wrong += t.board.bits[i] != 33 || t.board.bits[i + 1] != 22 || t.board.bits[i + 2] != 11;
        EXPECT_EQ(0u, wrong) << shape[0] << " x " << shape[1];
        EXPECT_TRUE(t.GuardsIntact()) << shape[0] << " x " << shape[1];
    }
}

TEST(BoardFill, PaintsEveryPixelAndNothingElse)
{
    TestBoard t(640, 640);
    BoardFill(t.board, PixelRGB{224, 225, 226});
    size_t count = 0;
    for (size_t i = 0; i < 640u * 640u * 3; i += 3) {
        count += t.board.bits[i] == 226 && t.board.bits[i + 1] == 225 && t.board.bits[i + 2] == 224;
    }
    EXPECT_EQ(409600u, count);
    EXPECT_TRUE(t.GuardsIntact());
    TestBoard empty(0, 5);
    BoardFill(empty.board, kRed);
    EXPECT_TRUE(empty.GuardsIntact());
}

TEST(Palette, NamedColours)
{
    EXPECT_EQ(239, kPalette[13].red);
    EXPECT_EQ(143, kPalette[13].green);
    EXPECT_EQ(156, kPalette[13].blue);
    EXPECT_EQ(66, kPalette[16].blue);
    EXPECT_EQ(210, kPalette[11].blue);
}

}  // namespace
