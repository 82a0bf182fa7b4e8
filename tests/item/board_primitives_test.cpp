// Palette resolution and the Board primitives on a real DIB section.
#include "test_support.h"
#include "item/board_primitives.h"

namespace {

HBITMAP MakeDib(int w, int h, int bits = 24)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = w;
    info.bmiHeader.biHeight = h;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = (WORD)bits;
    void *pixels = nullptr;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
}

class PrimitivesTest : public ::testing::Test {
protected:
    void SetUp() override { SetItemStateDefaults(&g_item); }
    void TearDown() override
    {
        if (g_item.boardBitmap)
            DeleteObject(g_item.boardBitmap);
        SetItemStateDefaults(&g_item);
    }
};

TEST_F(PrimitivesTest, ResolveColorForEveryTarget)
{
    ItemState &s = g_item;
    s.textColorRGB = {1, 2, 3};
    s.textColorIndex = 17;
    s.useThemeTextColor = 0;
    ResolveColor(COLOR_TARGET_TEXT);
    EXPECT_EQ(1, s.useThemeTextColor);
    EXPECT_EQ(1, s.textColorRGB.red) << "theme colour keeps the components";
    s.textColorIndex = 0;
    ResolveColor(COLOR_TARGET_TEXT);
    EXPECT_EQ(0, s.useThemeTextColor);
    EXPECT_EQ(0, s.textColorRGB.red);
    s.textColorIndex = 18;
    s.textColorRGB = {9, 9, 9};
    ResolveColor(COLOR_TARGET_TEXT);
    EXPECT_EQ(9, s.textColorRGB.red);
    EXPECT_EQ(0, s.useThemeTextColor);

    s.penColorIndex = 7;
    ResolveColor(COLOR_TARGET_PEN);
    EXPECT_EQ(255, s.penColorRGB.blue);
    for (int index : {17, 18, -1, 99}) {
        s.penColorIndex = index;
        ResolveColor(COLOR_TARGET_PEN);
        EXPECT_EQ(255, s.penColorRGB.blue) << index;
        s.stampColorIndex = index;
        ResolveColor(COLOR_TARGET_STAMP);
        EXPECT_EQ(255, s.stampColorRGB.red) << index;   // yellow at load
        EXPECT_EQ(0, s.stampColorRGB.blue) << index;
    }
    s.stampColorIndex = 16;
    ResolveColor(COLOR_TARGET_STAMP);
    EXPECT_EQ(153, s.stampColorRGB.red);

    for (int target : {COLOR_TARGET_CLEAR, COLOR_TARGET_ERASER}) {
        s.eraserColorRGB = {0, 0, 0};
        s.clearColorIndex = s.eraserColorIndex = 18;
        ResolveColor(target);
        EXPECT_EQ(224, s.eraserColorRGB.red);
        EXPECT_EQ(224, s.eraserColorRGB.green);
        EXPECT_EQ(224, s.eraserColorRGB.blue);
        s.clearColorIndex = s.eraserColorIndex = 13;
        ResolveColor(target);
        EXPECT_EQ(239, s.eraserColorRGB.red);
        s.clearColorIndex = s.eraserColorIndex = 17;
        ResolveColor(target);
        EXPECT_EQ(239, s.eraserColorRGB.red);
    }
    ColorRGB before = s.eraserColorRGB;
    ResolveColor(2);
    ResolveColor(6);
    EXPECT_EQ(before.red, s.eraserColorRGB.red);
}

TEST_F(PrimitivesTest, DrawAtPointUsesTheActiveToolWidthAndColour)
{
    ItemState &s = g_item;
    s.boardBitmap = MakeDib(640, 640);
    ASSERT_TRUE(s.boardBitmap);
    s.penColorRGB = {0, 255, 0};
    DrawAtPoint(s.boardBitmap, 100, 200);   // width 2 pen: a plus
    PixelBytes centre = BoardPixelAt(100, 440), corner = BoardPixelAt(99, 441);
    EXPECT_EQ(255, centre.green);
    EXPECT_EQ(0, centre.red);
    EXPECT_EQ(0, corner.green);

    s.interactionState = TOOL_ERASER;
    s.eraserColorRGB = {224, 224, 224};
    DrawAtPoint(s.boardBitmap, 300, 300);   // width 5 eraser: 9 x 9
    int written = 0;
    for (int r = 330; r <= 350; r++)
        for (int c = 290; c <= 310; c++)
            written += BoardPixelAt(c, r).red == 224;
    EXPECT_EQ(81, written);
    EXPECT_EQ(224, BoardPixelAt(296, 336).blue);
}

TEST_F(PrimitivesTest, FillBoardPaintsEveryPixelInTheEraserColour)
{
    g_item.boardBitmap = MakeDib(640, 640);
    g_item.eraserColorRGB = {7, 8, 9};
    FillBoard(g_item.boardBitmap);
    for (int r : {0, 319, 639})
        for (int c : {0, 320, 639}) {
            PixelBytes p = BoardPixelAt(c, r);
            EXPECT_EQ(9, p.blue);
            EXPECT_EQ(8, p.green);
            EXPECT_EQ(7, p.red);
        }
}

TEST_F(PrimitivesTest, NoBoardOrAnUnaddressableOneIsNeverTouched)
{
    DrawAtPoint(nullptr, 10, 10);
    FillBoard(nullptr);
    BoardPixels pixels;
    EXPECT_FALSE(GetBoardPixels(nullptr, &pixels));
    // (Wine reports a top-down section's height as positive, so a top-down
    // section cannot be told apart here; the loader turns such files bottom-up.)
    HBITMAP refused[] = {MakeDib(641, 8), MakeDib(64, 8, 32), MakeDib(64, 8, 8), MakeDib(64, 8, 16)};
    for (HBITMAP b : refused) {
        ASSERT_TRUE(b);
        EXPECT_FALSE(GetBoardPixels(b, &pixels));
        DeleteObject(b);
    }
    HBITMAP ddb = CreateBitmap(64, 64, 1, 24, nullptr);
    EXPECT_FALSE(GetBoardPixels(ddb, &pixels)) << "a bitmap without addressable bits";
    DeleteObject(ddb);
}

}  // namespace
