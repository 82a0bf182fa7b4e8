// Shape stamps on Boards in plain memory, with guard bytes around each Board.
#include "item/stamp_shapes.h"
#include "item/stamp_patterns.h"
#include <string.h>
#include "test_board.h"
#include <gtest/gtest.h>
#include <limits.h>
#include <algorithm>
#include <set>
#include <utility>
#include <vector>
#ifdef _WIN32
#include "item/board_primitives.h"
#endif

namespace {

const unsigned char kBackground = 224;
const PixelRGB kBlack = {0, 0, 0};
const PixelRGB kWhite = {255, 255, 255};
const PixelRGB kYellow = {255, 255, 0};
const PixelRGB kMarker = {10, 20, 30};

// A Board in the background grey.
struct GreyBoard : TestBoard {
    GreyBoard(int w, int h) : TestBoard(w, h, kBackground) {}

    // Whether every written pixel holds these three bytes, blue first.
    bool WrittenAre(int blue, int green, int red) const
    {
        for (const Pixel &p : Written()) {
            const unsigned char *b = At(p.first, p.second);
            if (b[0] != blue || b[1] != green || b[2] != red)
                return false;
        }
        return true;
    }
};

struct ShapeRow {
    int number;
    const char *name;
    int dxMin, dxMax, drMin, drMax;
    int pixels;
    bool filled;
};

// The shape table: frame and pixel count of every shape.
const ShapeRow kShapeTable[] = {
    {SHAPE_STAR_S, "Star - S", -7, 8, -8, 7, 140, true},
    {SHAPE_STAR_L, "Star - L", -14, 15, -14, 14, 422, true},
    {SHAPE_HEART_S, "Heart - S", -7, 8, -8, 6, 158, true},
    {SHAPE_HEART_L, "Heart - L", -14, 15, -15, 14, 622, true},
    {SHAPE_CIRCLE_FILLED_S, "Circle (filled) - S", -7, 7, -7, 7, 177, true},
    {SHAPE_CIRCLE_FILLED_L, "Circle (filled) - L", -14, 15, -15, 14, 688, true},
    {SHAPE_CIRCLE_OUTLINE_S, "Circle (unfilled) - S", -7, 7, -7, 7, 40, false},
    {SHAPE_CIRCLE_OUTLINE_L, "Circle (unfilled) - L", -14, 15, -15, 14, 84, false},
    {SHAPE_SQUARE_FILLED_S, "Square (filled) - S", -6, 7, -7, 6, 196, true},
    {SHAPE_SQUARE_FILLED_L, "Square (filled) - L", -14, 15, -15, 14, 900, true},
    {SHAPE_SQUARE_OUTLINE_S, "Square (unfilled) - S", -6, 7, -7, 6, 52, false},
    {SHAPE_SQUARE_OUTLINE_L, "Square (unfilled) - L", -14, 15, -15, 14, 116, false},
};

// The pattern of a shape as (dx, dr) offsets from its anchor, read back
// from a stamp in the middle of a roomy Board.
PixelSet PatternOf(int shape)
{
    GreyBoard t(64, 64);
    BoardStampShape(t.board, 32, 20, shape, kMarker);   // anchor row 64 - 20 = 44
    PixelSet out;
    for (const Pixel &p : t.Written())
        out.insert({p.first - 32, p.second - 44});
    return out;
}

// Lines drawn as on the screen, top line (dr = top) first; '#' and 'X' are
// written pixels, the first character is at dx = left.
PixelSet FromLines(int left, int top, const std::vector<const char *> &lines)
{
    PixelSet out;
    for (size_t i = 0; i < lines.size(); i++)
        for (int j = 0; lines[i][j]; j++)
            if (lines[i][j] == '#' || lines[i][j] == 'X')
                out.insert({left + j, top - (int)i});
    return out;
}

// The stamp writer reads a pattern's lines without bounds of its own: every
// line as wide as the frame, as many lines as the frame is high, only '#',
// '.' and one 'X' sitting at dx 0, dr 0, and the frame within the reach.
TEST(StampPatterns, EveryPatternFitsItsFrame)
{
    for (size_t i = 0; i < COUNT_OF(kFilledShapes); i++) {
        const FilledShape *f = kFilledShapes[i];
        SCOPED_TRACE(i);
        EXPECT_LE(f->left, 0);
        EXPECT_GE(f->top, 0);
        EXPECT_GE(f->left, -STAMP_REACH);
        EXPECT_LE(f->left + f->width - 1, STAMP_REACH);
        EXPECT_LE(f->top, STAMP_REACH);
        EXPECT_GE(f->top - (f->height - 1), -STAMP_REACH);
        if (!f->lines) {
            EXPECT_EQ(f->lineCount, 0);
            continue;
        }
        ASSERT_EQ(f->lineCount, f->height);
        int anchors = 0;
        for (int line = 0; line < f->height; line++) {
            ASSERT_EQ((int)strlen(f->lines[line]), f->width) << "line " << line;
            for (int column = 0; column < f->width; column++) {
                char c = f->lines[line][column];
                EXPECT_TRUE(c == '#' || c == '.' || c == 'X') << line << "," << column;
                if (c == 'X') {
                    anchors++;
                    EXPECT_EQ(line, f->top);
                    EXPECT_EQ(column, -f->left);
                }
            }
        }
        EXPECT_EQ(anchors, 1);
    }
}

TEST(StampShapes, EveryShapeHasItsTablePixelCountAndFrame)
{
    for (const ShapeRow &row : kShapeTable) {
        SCOPED_TRACE(row.name);
        GreyBoard t(640, 640);
        BoardStampShape(t.board, 320, 320, row.number, kMarker);   // anchor row 320
        PixelSet written = t.Written();
        EXPECT_EQ((size_t)row.pixels, written.size());
        ASSERT_FALSE(written.empty());
        int cMin = INT_MAX, cMax = INT_MIN, rMin = INT_MAX, rMax = INT_MIN;
        for (const Pixel &p : written) {
            cMin = std::min(cMin, p.first);
            cMax = std::max(cMax, p.first);
            rMin = std::min(rMin, p.second);
            rMax = std::max(rMax, p.second);
        }
        EXPECT_EQ(320 + row.dxMin, cMin);
        EXPECT_EQ(320 + row.dxMax, cMax);
        EXPECT_EQ(320 + row.drMin, rMin);
        EXPECT_EQ(320 + row.drMax, rMax);
        // The anchor pixel is written by every filled shape and lies inside
        // every outline.
        EXPECT_EQ(row.filled, written.count({320, 320}) == 1);
        EXPECT_TRUE(t.GuardsIntact());
    }
}

TEST(StampShapes, EveryShapeIsMirrorSymmetricAndRoundOnesAlsoTopToBottom)
{
    for (const ShapeRow &row : kShapeTable) {
        SCOPED_TRACE(row.name);
        PixelSet pattern = PatternOf(row.number);
        bool roundOrSquare = row.number >= 7;
        for (const Pixel &p : pattern) {
            EXPECT_EQ(1u, pattern.count({row.dxMin + row.dxMax - p.first, p.second}))
                << "dx " << p.first << " dr " << p.second;
            if (roundOrSquare) {
                EXPECT_EQ(1u, pattern.count({p.first, row.drMin + row.drMax - p.second}))
                    << "dx " << p.first << " dr " << p.second;
            }
        }
    }
}

TEST(StampShapes, SmallStarLandsWhereThePrintedPatternPutsIt)
{
    GreyBoard t(640, 640);
    BoardStampShape(t.board, 320, 100, SHAPE_STAR_S, kMarker);
    PixelSet star = FromLines(-7, 7, {
        ".......##.......",
        ".......##.......",
        "......####......",
        "......####......",
        ".##############.",
        "################",
        "################",
        ".######X#######.",
        "...##########...",
        "....########....",
        "....########....",
        "...##########...",
        "...##########...",
        "..#####..#####..",
        "..####....####..",
        "..##........##..",
    });
    ASSERT_EQ(140u, star.size());
    PixelSet expected;
    for (const Pixel &p : star)
        expected.insert({320 + p.first, 540 + p.second});   // anchor row 640 - 100
    EXPECT_EQ(expected, t.Written());
    // The top line: columns 320 and 321 of stored row 547, nothing else.
    PixelSet top;
    for (const Pixel &p : t.Written())
        if (p.second == 547)
            top.insert(p);
    EXPECT_EQ((PixelSet{{320, 547}, {321, 547}}), top);
    EXPECT_TRUE(t.GuardsIntact());
}

TEST(StampShapes, UnfilledShapesAreTheFourNeighbourOutlinesOfTheirFilledTwins)
{
    const std::pair<int, int> twins[] = {{SHAPE_CIRCLE_FILLED_S, SHAPE_CIRCLE_OUTLINE_S},
                                         {SHAPE_CIRCLE_FILLED_L, SHAPE_CIRCLE_OUTLINE_L},
                                         {SHAPE_SQUARE_FILLED_S, SHAPE_SQUARE_OUTLINE_S},
                                         {SHAPE_SQUARE_FILLED_L, SHAPE_SQUARE_OUTLINE_L}};
    for (const auto &twin : twins) {
        SCOPED_TRACE(twin.second);
        PixelSet filled = PatternOf(twin.first);
        PixelSet outline;
        for (const Pixel &p : filled) {
            int dx = p.first, dr = p.second;
            if (!filled.count({dx - 1, dr}) || !filled.count({dx + 1, dr}) ||
                !filled.count({dx, dr - 1}) || !filled.count({dx, dr + 1}))
                outline.insert(p);
        }
        EXPECT_EQ(outline, PatternOf(twin.second));
    }

    // The lines of the large unfilled circle that are given explicitly.
    PixelSet circle = PatternOf(SHAPE_CIRCLE_OUTLINE_L);
    auto line = [&](int dr) {
        std::vector<int> dxs;
        for (const Pixel &p : circle)
            if (p.second == dr)
                dxs.push_back(p.first);
        return dxs;
    };
    const std::vector<int> cap = {-1, 0, 1, 2};
    const std::vector<int> shoulder = {-5, -4, -3, -2, 3, 4, 5, 6};
    EXPECT_EQ(cap, line(14));
    EXPECT_EQ(shoulder, line(13));
    EXPECT_EQ(shoulder, line(-14));
    EXPECT_EQ(cap, line(-15));
}

TEST(StampShapes, LargeSquares)
{
    GreyBoard once(640, 640), twice(640, 640);
    BoardStampShape(once.board, 200, 300, SHAPE_SQUARE_FILLED_L, kMarker);
    BoardStampShape(twice.board, 200, 300, SHAPE_SQUARE_FILLED_L, kMarker);
    BoardStampShape(twice.board, 200, 300, SHAPE_SQUARE_FILLED_L, kMarker);
    EXPECT_EQ(900u, twice.Written().size());
    EXPECT_TRUE(once.memory == twice.memory) << "a second stamp changes nothing";

    // Black filled, then white unfilled at the same point: a 28 x 28 black
    // block inside a one-pixel white border. Anchor column 200, row 340;
    // the frame is columns 186..215, rows 325..354.
    GreyBoard t(640, 640);
    BoardStampShape(t.board, 200, 300, SHAPE_SQUARE_FILLED_L, kBlack);
    BoardStampShape(t.board, 200, 300, SHAPE_SQUARE_OUTLINE_L, kWhite);
    int white = 0, black = 0;
    for (int r = 325; r <= 354; r++)
        for (int c = 186; c <= 215; c++) {
            bool border = r == 325 || r == 354 || c == 186 || c == 215;
            unsigned char want = border ? 255 : 0;
            const unsigned char *p = t.At(c, r);
            if (p[0] == want && p[1] == want && p[2] == want)
                (border ? white : black)++;
        }
    EXPECT_EQ(116, white);
    EXPECT_EQ(28 * 28, black);
    EXPECT_EQ(900u, t.Written().size()) << "nothing outside the 30 x 30 frame";
    EXPECT_TRUE(t.GuardsIntact());
}

TEST(StampShapes, NumbersThatAreNoShapeAndEmptyBoardsWriteNothing)
{
    GreyBoard t(640, 640);
    const std::vector<unsigned char> before = t.memory;
    for (int number : {3, 6, 9, 12, 15, 0, 18, 100, -1, -14, INT_MIN, INT_MAX}) {
        BoardStampShape(t.board, 320, 320, number, kMarker);
        EXPECT_TRUE(t.memory == before) << "shapeIndex " << number;
    }

    // A Board without width, height or pixel memory is never touched.
    BoardStampShape(BoardPixels{640, 640, nullptr}, 320, 320, SHAPE_SQUARE_FILLED_L, kMarker);
    for (int w : {0, -640})
        BoardStampShape(BoardPixels{w, 640, t.board.bits}, 0, 320, SHAPE_SQUARE_FILLED_L, kMarker);
    for (int h : {0, -640})
        BoardStampShape(BoardPixels{640, h, t.board.bits}, 320, 0, SHAPE_SQUARE_FILLED_L, kMarker);
    EXPECT_TRUE(t.memory == before);
}

TEST(StampShapes, EveryPixelGetsTheColourAsBlueGreenRedLowBytes)
{
    GreyBoard t(640, 640);
    BoardStampShape(t.board, 320, 320, SHAPE_HEART_L, kYellow);
    PixelSet written = t.Written();
    ASSERT_EQ(622u, written.size());
    EXPECT_TRUE(t.WrittenAre(0, 255, 255));

    // Distinct components, one above 255: each byte is its component's low byte.
    GreyBoard u(64, 64);
    BoardStampShape(u.board, 32, 32, SHAPE_SQUARE_FILLED_S, PixelRGB{256 + 7, 8, 9});
    EXPECT_TRUE(u.WrittenAre(9, 8, 7));
    EXPECT_EQ(196u, u.Written().size());
}

// Callers stamp only inside the margin 17 < x < W - 17, 17 < y < H - 17.
TEST(StampShapes, AtTheMarginsExtremesNothingIsCutAndPixelsStayInColumns4ToWMinus3Rows3ToHMinus4)
{
    for (const auto &size : {std::make_pair(640, 640), std::make_pair(40, 41)}) {
        const int w = size.first, h = size.second;
        for (const ShapeRow &row : kShapeTable)
            for (int x : {18, w - 18})
                for (int y : {18, h - 18}) {
                    SCOPED_TRACE(::testing::Message() << row.name << " at " << x << ", " << y
                                                      << " on " << w << " x " << h);
                    GreyBoard t(w, h);
                    BoardStampShape(t.board, x, y, row.number, kMarker);
                    PixelSet written = t.Written();
                    EXPECT_EQ((size_t)row.pixels, written.size());
                    for (const Pixel &p : written) {
                        EXPECT_TRUE(p.first >= 4 && p.first <= w - 3) << "column " << p.first;
                        EXPECT_TRUE(p.second >= 3 && p.second <= h - 4) << "row " << p.second;
                    }
                    EXPECT_TRUE(t.GuardsIntact());
                }
    }
}

// The core does not rely on the margin: at and beyond every edge it writes
// exactly the part of the pattern that lies on the Board, one pixel at a time.
TEST(StampShapes, OffTheMarginOnlyThePixelsOnTheBoardAreWritten)
{
    const std::pair<int, int> sizes[] = {{40, 41}, {16, 15}, {3, 2}, {1, 1}};
    for (const ShapeRow &row : kShapeTable) {
        PixelSet pattern = PatternOf(row.number);
        for (const auto &size : sizes) {
            const int w = size.first, h = size.second;
            std::vector<int> xs = {INT_MIN, -100, -17, -16, -15, -14, -7, -1, 0, 1, 6, 17,
                                   w - 17, w - 1, w, w + 6, w + 13, w + 14, w + 15, w + 16, w + 17,
                                   w + 100, INT_MAX};
            std::vector<int> ys = {INT_MIN, -100, -16, -15, -14, -13, -8, -1, 0, 1, 7, 17,
                                   h / 2, h - 17, h - 1, h, h + 6, h + 14, h + 15, h + 16, h + 17,
                                   h + 100, INT_MAX};
            for (int x : xs)
                for (int y : ys) {
                    SCOPED_TRACE(::testing::Message() << row.name << " at " << x << ", " << y
                                                      << " on " << w << " x " << h);
                    GreyBoard t(w, h);
                    BoardStampShape(t.board, x, y, row.number, kMarker);
                    ASSERT_TRUE(t.GuardsIntact());
                    long long anchorRow = y == h / 2 ? y : (long long)h - y;
                    PixelSet expected;
                    for (const Pixel &p : pattern) {
                        long long c = (long long)x + p.first, r = anchorRow + p.second;
                        if (c >= 0 && c < w && r >= 0 && r < h)
                            expected.insert({(int)c, (int)r});
                    }
                    ASSERT_EQ(expected, t.Written());
                }
        }
    }
}

#ifdef _WIN32
// StampShape is the stamp tool's branch of DrawAtPoint: it takes the shape
// and the colour from the item's state.
class StampShapeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_ = g_item;
        SetItemStateDefaults(&g_item);
    }
    void TearDown() override { g_item = saved_; }
    ItemState saved_;
};

TEST_F(StampShapeTest, LoadTimeStateStampsAYellowSmallStar)
{
    GreyBoard t(640, 640);
    StampShape(t.board, 320, 100);
    PixelSet written = t.Written();
    EXPECT_EQ(140u, written.size());
    EXPECT_EQ(1u, written.count({320, 547}));
    const unsigned char *p = t.At(320, 540);
    EXPECT_EQ(0, p[0]);
    EXPECT_EQ(255, p[1]);
    EXPECT_EQ(255, p[2]);
}

TEST_F(StampShapeTest, UsesTheSelectedShapeAndStampColour)
{
    g_item.shapeIndex = SHAPE_SQUARE_OUTLINE_S;
    g_item.stampColorRGB = ColorRGB{1, 2, 3};
    g_item.penColorRGB = ColorRGB{4, 5, 6};
    GreyBoard t(640, 640);
    StampShape(t.board, 100, 200);
    EXPECT_EQ(52u, t.Written().size());
    EXPECT_TRUE(t.WrittenAre(3, 2, 1));

    g_item.shapeIndex = 3;
    const std::vector<unsigned char> before = t.memory;
    StampShape(t.board, 300, 300);
    EXPECT_TRUE(t.memory == before);
}
#endif

} // namespace
