// What the item really paints on a device-sized screen: the item window is
// created under a screen-sized Today stand-in whose watermark is one solid
// colour, painted through WM_ERASEBKGND / WM_PAINT, and read back from the
// window's own pixels. Runs on the small (240 x 320, 96 dpi) and the large
// (480 x 640, 192 dpi) screen.
#include "test_support.h"
#include "common/dc_pixels.h"
#include "item/paint.h"
#include "item/resources/item_resource.h"
#include <algorithm>
#include <set>
#include <utility>

namespace {

// A device's screen, and the page font's heights on it.
struct Profile {
    const char *name;
    int width, height, dpi;
    int fontHeight[4];    // lfHeight of the page font at kFontPoints
};

const int kFontPoints[4] = {6, 8, 12, 20};
const Profile kSmall = {"small", 240, 320, 96, {-8, -11, -16, -27}};
const Profile kLarge = {"large", 480, 640, 192, {-16, -21, -32, -53}};
const int kEightPoints = 1;     // index of 8 points, the default size

const Profile *ThisScreen()
{
    int width = GetSystemMetrics(SM_CXSCREEN);
    if (width == kSmall.width)
        return &kSmall;
    if (width == kLarge.width)
        return &kLarge;
    return nullptr;
}

int ScreenDpi()
{
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

// Colours none of the icons, the Board's grey or each other use.
const COLORREF kWatermark = RGB(70, 130, 180);
const COLORREF kThemeText = RGB(20, 110, 40);
const COLORREF kChosenText = RGB(200, 60, 10);
const COLORREF kCleared = RGB(250, 240, 110);
const COLORREF kBlack = RGB(0, 0, 0);
const ColorRGB kPen = {30, 200, 160};
const ColorRGB kStamp = {150, 60, 200};
const ColorRGB kPink = {239, 143, 156};
const ColorRGB kBoardGrey = {224, 224, 224};

COLORREF Ref(const ColorRGB &c)
{
    return RGB(c.red, c.green, c.blue);
}

// Pixels read back into 32-bit memory, top row first.
struct Image {
    int width = 0, height = 0;
    std::vector<COLORREF> pixels;

    COLORREF At(int x, int y) const { return pixels[(size_t)y * width + x]; }

    // Every pixel of colour c inside [left, right) x [top, bottom).
    std::vector<POINT> Find(COLORREF c, int left, int top, int right, int bottom) const
    {
        std::vector<POINT> found;
        for (int y = top; y < bottom; y++)
            for (int x = left; x < right; x++)
                if (At(x, y) == c)
                    found.push_back(POINT{x, y});
        return found;
    }
    std::vector<POINT> Find(COLORREF c) const { return Find(c, 0, 0, width, height); }

    // Pixels inside the area that are not colour c.
    int CountOther(COLORREF c, int left, int top, int right, int bottom) const
    {
        int n = 0;
        for (int y = top; y < bottom; y++)
            for (int x = left; x < right; x++)
                n += At(x, y) != c;
        return n;
    }

    // The smallest rectangle holding every pixel of colour c; empty when none.
    RECT Bounds(COLORREF c) const
    {
        RECT box = {width, height, 0, 0};
        for (const POINT &p : Find(c)) {
            box.left = std::min(box.left, p.x);
            box.top = std::min(box.top, p.y);
            box.right = std::max(box.right, p.x + 1);
            box.bottom = std::max(box.bottom, p.y + 1);
        }
        return box;
    }
};

// Copies width x height pixels of a DC.
Image Grab(HDC source, int width, int height)
{
    Image image;
    image.width = width;
    image.height = height;
    image.pixels = ReadDcPixels(source, 0, 0, width, height);
    return image;
}

// What the window shows now.
Image Capture(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    HDC dc = GetDC(window);
    Image image = Grab(dc, client.right, client.bottom);
    ReleaseDC(window, dc);
    return image;
}

// What `draw` draws into a memory DC of width x height filled with the
// watermark colour.
template <typename Draw>
Image DrawnOverWatermark(int width, int height, Draw draw)
{
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    RECT all = {0, 0, width, height};
    HBRUSH brush = CreateSolidBrush(kWatermark);
    FillRect(memory, &all, brush);
    DeleteObject(brush);
    draw(memory);
    Image image = Grab(memory, width, height);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return image;
}

// An icon of this executable's resources drawn over the watermark colour,
// as it must look on the item.
Image IconOverWatermark(int id, int size)
{
    HICON icon = (HICON)LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON,
                                   size, size, 0);
    Image image = DrawnOverWatermark(size, size, [icon](HDC dc) {
        if (icon)
            DrawIconEx(dc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL);
    });
    if (icon)
        DestroyIcon(icon);
    return image;
}

std::string Where(int x, int y)
{
    return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
}

class PaintTest : public ItemTest {
protected:
    void SetUp() override
    {
        ItemTest::SetUp();
        screen = ThisScreen();
        ASSERT_NE(nullptr, screen) << "not a device-sized screen: " << GetSystemMetrics(SM_CXSCREEN);
        g_today.watermarkColor = kWatermark;
        g_today.textColor = kThemeText;
        ScreenSizedTodayWindow();
        CreateShownItem();
        for (int mode = 0; mode <= 1; mode++) {
            ItemLayoutInput input = {screen->width, screen->width, kItemHeight, mode, 640, 640};
            LayOutItem(input, mode ? &edit : &normal);
        }
    }

    void TearDown() override
    {
        ItemTest::TearDown();
        g_today.watermarkColor = CLR_INVALID;
        g_today.textColor = RGB(0, 0, 128);
    }

    // The item as the Today screen shows it: as wide as the screen, 300 high.
    void CreateShownItem()
    {
        ASSERT_TRUE(CreateItem());
        MoveWindow(item, 0, 0, screen->width, kItemHeight, TRUE);
        UpdateWindow(item);
    }

    // A full repaint, background first.
    Image Repaint()
    {
        InvalidateRect(item, nullptr, TRUE);
        UpdateWindow(item);
        return Capture(item);
    }

    // A repaint that leaves the background alone, as during a stroke.
    Image RepaintWithoutErase()
    {
        InvalidateRect(item, nullptr, FALSE);
        UpdateWindow(item);
        return Capture(item);
    }

    // Writes one Board pixel; y counts down from the picture's top line.
    void SetBoardPixel(int x, int y, COLORREF c)
    {
        BITMAP bm = {};
        ASSERT_EQ((int)sizeof(bm), GetObjectW(g_item.boardBitmap, sizeof(bm), &bm));
        ASSERT_NE(nullptr, bm.bmBits);
        BYTE *p = (BYTE *)bm.bmBits + (size_t)(bm.bmHeight - 1 - y) * bm.bmWidthBytes + (size_t)x * 3;
        p[0] = GetBValue(c);
        p[1] = GetGValue(c);
        p[2] = GetRValue(c);
        GdiFlush();
    }

    void ClearItem(COLORREF c)
    {
        HDC dc = GetDC(item);
        RECT all = {0, 0, screen->width, kItemHeight};
        HBRUSH brush = CreateSolidBrush(c);
        FillRect(dc, &all, brush);
        DeleteObject(brush);
        ReleaseDC(item, dc);
    }

    void ShowPageText(const std::wstring &text, int points = 8)
    {
        StoreText(L"ptext1", text);
        StoreText(L"fonts", std::to_wstring(points));
    }

    // The icon of each set, small or large, for this screen.
    int Icon(int small, int large) const { return edit.smallScreen ? small : large; }

    // The toolbar's cell shows the icon drawn over the watermark; the icon
    // must show something in both halves of its cell.
    void ExpectIconAt(const Image &shown, int id, ItemCell cell, const char *what)
    {
        int size = edit.iconSize, x = edit.cells[cell].left, top = edit.cells[cell].top;
        Image icon = IconOverWatermark(id, size);
        ASSERT_GT(icon.CountOther(kWatermark, 0, 0, size / 2, size), 0) << what << ": icon " << id;
        ASSERT_GT(icon.CountOther(kWatermark, size / 2, 0, size, size), 0) << what << ": icon " << id;
        int wrong = 0;
        for (int y = 0; y < size; y++)
            for (int dx = 0; dx < size; dx++)
                if (shown.At(x + dx, top + y) != icon.At(dx, y) && wrong++ < 3)
                    ADD_FAILURE() << what << " (icon " << id << ") differs at " << Where(x + dx, top + y);
        EXPECT_EQ(0, wrong) << what << ": pixels unlike icon " << id << " in its cell at x " << x;
    }

    // Columns of the toolbar band that no shown cell covers show only the
    // watermark.
    void ExpectWatermarkBetweenCells(const Image &shown, bool saveShown)
    {
        std::vector<bool> covered(screen->width);
        for (int cell = 0; cell < ITEM_CELL_COUNT; cell++)
            for (int x = edit.cells[cell].left; x < edit.cells[cell].right; x++)
                covered[x] = covered[x] || cell != CELL_SAVE || saveShown;
        for (int left = 0, right; left < screen->width; left = right) {
            for (right = left; right < screen->width && covered[right] == covered[left]; right++) {
            }
            if (!covered[left]) {
                EXPECT_EQ(0, shown.CountOther(kWatermark, left, edit.toolbarTop, right,
                                              edit.toolbarTop + edit.iconSize))
                    << "toolbar band, columns " << left << " to " << right - 1;
            }
        }
    }

    // A swatch's upper half-button: a black border around `fill`.
    void ExpectSwatch(const Image &shown, ItemCell cell, COLORREF fill, const char *what)
    {
        const LayoutRect &r = edit.cells[cell];
        int wrongBorder = 0, wrongFill = 0;
        for (int y = r.top; y < r.bottom; y++)
            for (int x = r.left; x < r.right; x++) {
                bool border = y == r.top || y == r.bottom - 1 || x == r.left || x == r.right - 1;
                if (border)
                    wrongBorder += shown.At(x, y) != kBlack;
                else
                    wrongFill += shown.At(x, y) != fill;
            }
        EXPECT_EQ(0, wrongBorder) << what << ": border pixels not black";
        EXPECT_EQ(0, wrongFill) << what << ": inside pixels not the expected colour, e.g. "
                                << std::hex << shown.At((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }

    // The page text's box lies a little right of and below the corner of
    // its rectangle, within one em of it.
    static void ExpectTextNear(const RECT &box, int x, int y, int lfHeight)
    {
        int em = -lfHeight;
        EXPECT_GE(box.left, x);
        EXPECT_LE(box.left, x + 3);
        EXPECT_GE(box.top, y);
        EXPECT_LE(box.top, y + em / 2);
        EXPECT_GE(box.bottom - box.top, em / 2) << "em " << em;
        EXPECT_LE(box.bottom, y + em + 1) << "em " << em;
    }

    // The page text "HHHH" shows in `color` where the system draws it itself
    // from the corner of `area` in the font of lfHeight; gives its box.
    RECT ExpectPageTextAt(const Image &shown, COLORREF color, const LayoutRect &area, int lfHeight)
    {
        RECT box = shown.Bounds(color);
        if (box.left >= box.right) {
            ADD_FAILURE() << "no pixel in the text's colour " << std::hex << color;
            return box;
        }
        ExpectTextNear(box, area.left, area.top, lfHeight);
        ExpectSameBox(ReferenceTextBox(L"HHHH", lfHeight, area.left, area.top), box);
        return box;
    }

    static void ExpectSameBox(const RECT &expected, const RECT &shown)
    {
        EXPECT_EQ(expected.left, shown.left);
        EXPECT_EQ(expected.top, shown.top);
        EXPECT_EQ(expected.right, shown.right);
        EXPECT_EQ(expected.bottom, shown.bottom);
    }

    // Where `text` lands when the system draws it itself in the page font
    // (the stock system font at lfHeight) from (x, y) on an item-sized area.
    RECT ReferenceTextBox(const wchar_t *text, int lfHeight, int x, int y)
    {
        LOGFONTW logFont;
        GetObjectW(GetStockObject(SYSTEM_FONT), sizeof(logFont), &logFont);
        logFont.lfHeight = lfHeight;
        HFONT font = CreateFontIndirectW(&logFont);
        RECT rc = {x, y, screen->width, kItemHeight};
        Image drawn = DrawnOverWatermark(screen->width, kItemHeight, [&](HDC dc) {
            HGDIOBJ previousFont = SelectObject(dc, font);
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, kThemeText);
            DrawTextW(dc, text, -1, &rc, 0);
            SelectObject(dc, previousFont);
        });
        DeleteObject(font);
        return drawn.Bounds(kThemeText);
    }

    static const int kItemHeight = 300;
    const Profile *screen = nullptr;
    ItemLayout normal, edit;    // the item's layout in each mode
};

// ---------------------------------------------------------------------------
// The screen the program runs on.

TEST(PaintScreen, IsOneOfTheTwoDeviceProfiles)
{
    const Profile *p = ThisScreen();
    ASSERT_NE(nullptr, p) << "screen width " << GetSystemMetrics(SM_CXSCREEN);
    EXPECT_EQ(p->height, GetSystemMetrics(SM_CYSCREEN)) << p->name;
    EXPECT_EQ(p->dpi, ScreenDpi()) << p->name;
}

// ---------------------------------------------------------------------------
// The page font's height.

TEST(TextFontHeight, IsThePointSizeInPixelsRoundedToNearest)
{
    EXPECT_EQ(-11, TextFontHeight(96, 8));      // 10.67 pixels
    EXPECT_EQ(-21, TextFontHeight(192, 8));     // 21.33 pixels
    EXPECT_EQ(-4, TextFontHeight(96, 3));
    EXPECT_EQ(-40, TextFontHeight(96, 30));
    EXPECT_EQ(-80, TextFontHeight(192, 30));
    EXPECT_EQ(-15, TextFontHeight(131, 8));     // 14.56 pixels
    EXPECT_EQ(-7, TextFontHeight(131, 4));      // 7.28 pixels
}

TEST_F(PaintTest, FontHeightAtTheItemWindowsResolution)
{
    HDC dc = GetDC(item);
    int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(item, dc);
    EXPECT_EQ(screen->dpi, dpi);
    for (int i = 0; i < 4; i++)
        EXPECT_EQ(screen->fontHeight[i], TextFontHeight(dpi, kFontPoints[i])) << kFontPoints[i];
}

// ---------------------------------------------------------------------------
// The Board.

TEST_F(PaintTest, BoardTopLineIsTheItemsTopLineInNormalMode)
{
    g_item.showText = 0;
    const int column = screen->width - 3;
    SetBoardPixel(0, 0, RGB(255, 0, 1));
    SetBoardPixel(column, 0, RGB(0, 255, 1));
    SetBoardPixel(100, 150, RGB(1, 0, 255));
    Image shown = Repaint();
    const struct { COLORREF color; int x, y; } marks[] = {
        {RGB(255, 0, 1), 0, 0}, {RGB(0, 255, 1), column, 0}, {RGB(1, 0, 255), 100, 150}};
    for (const auto &m : marks) {
        std::vector<POINT> found = shown.Find(m.color);
        ASSERT_EQ(1u, found.size()) << "mark for " << Where(m.x, m.y);
        EXPECT_EQ(m.x, found[0].x);
        EXPECT_EQ(m.y, found[0].y);
    }
}

TEST_F(PaintTest, BoardStartsBelowTheToolbarInEditMode)
{
    g_item.graphicsEditMode = 1;
    g_item.showText = 0;
    const int column = screen->width - 3;      // right of every toolbar element
    SetBoardPixel(column, 0, RGB(255, 0, 1));
    SetBoardPixel(column, 1, RGB(0, 255, 1));
    Image shown = Repaint();
    std::vector<POINT> top = shown.Find(RGB(255, 0, 1));
    ASSERT_EQ(1u, top.size());
    EXPECT_EQ(column, top[0].x);
    EXPECT_EQ(edit.board.top, top[0].y);
    std::vector<POINT> second = shown.Find(RGB(0, 255, 1));
    ASSERT_EQ(1u, second.size());
    EXPECT_EQ(edit.board.top + 1, second[0].y);
    // Nothing of the Board above its top line: the column is watermark there.
    EXPECT_EQ(0, shown.CountOther(kWatermark, column, 0, column + 1, edit.board.top));
}

TEST_F(PaintTest, KeyGreyShowsTheWatermarkOtherBoardPixelsTheirOwnColour)
{
    g_item.showText = 0;
    // Colours one step from the key grey are ordinary colours.
    const COLORREF nearKey[] = {RGB(224, 224, 225), RGB(223, 224, 224), RGB(224, 225, 224),
                                RGB(0, 0, 0), RGB(255, 255, 255)};
    for (int i = 0; i < 5; i++)
        SetBoardPixel(20 + 2 * i, 60, nearKey[i]);
    Image shown = Repaint();
    for (int i = 0; i < 5; i++)
        EXPECT_EQ(nearKey[i], shown.At(20 + 2 * i, 60)) << "Board pixel " << i;
    // Every other Board pixel is the key grey: the watermark shows there.
    int watermark = (int)shown.Find(kWatermark).size();
    EXPECT_EQ(screen->width * kItemHeight - 5, watermark);
    EXPECT_TRUE(shown.Find(RGB(224, 224, 224)).empty());
}

TEST_F(PaintTest, HiddenBoardLeavesOnlyTheWatermark)
{
    g_item.showText = 0;
    g_item.showImage = 0;
    SetBoardPixel(30, 40, RGB(255, 0, 1));
    Image shown = Repaint();
    EXPECT_EQ(0, shown.CountOther(kWatermark, 0, 0, shown.width, shown.height));
}

// ---------------------------------------------------------------------------
// The page text. Glyph shapes are the font's; what is checked is where the
// text-coloured pixels lie and which colour they have.

TEST_F(PaintTest, TextStartsAtTheTopLeftMarginInTheThemeColour)
{
    g_item.useThemeTextColor = 1;
    g_item.textColorRGB = {200, 60, 10};
    ShowPageText(L"HHHH");
    Image shown = Repaint();
    ExpectPageTextAt(shown, kThemeText, normal.text, screen->fontHeight[kEightPoints]);
    EXPECT_TRUE(shown.Find(kChosenText).empty()) << "the chosen colour is not used";
}

TEST_F(PaintTest, TextStartsBelowTheToolbarInEditMode)
{
    g_item.graphicsEditMode = 1;
    ShowPageText(L"HHHH");
    ExpectPageTextAt(Repaint(), kThemeText, edit.text, screen->fontHeight[kEightPoints]);
}

TEST_F(PaintTest, ChosenTextColourReplacesTheThemesAndHiddenTextDrawsNothing)
{
    g_item.useThemeTextColor = 0;
    g_item.textColorRGB = {200, 60, 10};
    ShowPageText(L"HHHH");
    Image shown = Repaint();
    ExpectPageTextAt(shown, kChosenText, normal.text, screen->fontHeight[kEightPoints]);
    EXPECT_TRUE(shown.Find(kThemeText).empty()) << "the theme's colour is not used";

    g_item.showText = 0;
    shown = Repaint();
    EXPECT_EQ(0, shown.CountOther(kWatermark, 0, 0, shown.width, shown.height));
}

TEST_F(PaintTest, TextGrowsWithTheFontSize)
{
    int previous = 0;
    for (int i = 0; i < 4; i++) {
        int points = kFontPoints[i];
        ShowPageText(L"HHHH", points);
        SCOPED_TRACE(testing::Message() << points << " points");
        RECT box = ExpectPageTextAt(Repaint(), kThemeText, normal.text, screen->fontHeight[i]);
        ASSERT_LT(box.left, box.right);
        int height = box.bottom - box.top;
        EXPECT_GT(height, previous);
        previous = height;
    }
}

// ---------------------------------------------------------------------------
// The toolbar of graphics edit mode.

TEST_F(PaintTest, ToolbarIconsSitAtTheirButtonsWithTheWatermarkBetween)
{
    g_item.graphicsEditMode = 1;
    Image shown = Repaint();
    ExpectIconAt(shown, Icon(IDI_CORNER_SMALL, IDI_CORNER_LARGE), CELL_CORNER, "corner mark");
    ExpectIconAt(shown, Icon(IDI_PEN_ON_SMALL, IDI_PEN_ON_LARGE), CELL_PEN, "pen button");
    ExpectIconAt(shown, Icon(IDI_ERASER_OFF_SMALL, IDI_ERASER_OFF_LARGE), CELL_ERASER, "eraser button");
    ExpectIconAt(shown, Icon(IDI_STAMP_OFF_SMALL, IDI_STAMP_OFF_LARGE), CELL_STAMP, "stamp button");
    ExpectIconAt(shown, Icon(IDI_CLEAR_SMALL, IDI_CLEAR_LARGE), CELL_CLEAR, "clear button");
    ExpectIconAt(shown, Icon(IDI_TEXT_SHOWN_SMALL, IDI_TEXT_SHOWN_LARGE), CELL_TEXT_TOGGLE, "text toggle");
    ExpectIconAt(shown, Icon(IDI_IMAGE_SHOWN_SMALL, IDI_IMAGE_SHOWN_LARGE), CELL_IMAGE_TOGGLE, "picture toggle");
    ExpectWatermarkBetweenCells(shown, false);      // no save button
    // The band's top and the rows down to the Board.
    EXPECT_EQ(0, shown.CountOther(kWatermark, 0, 0, screen->width, edit.toolbarTop)) << "row 0";
    EXPECT_EQ(0, shown.CountOther(kWatermark, 0, edit.toolbarTop + edit.iconSize, screen->width,
                                  edit.board.top))
        << "rows between the toolbar and the Board";
}

TEST_F(PaintTest, ButtonsFollowTheToolAndTheShowSettings)
{
    g_item.graphicsEditMode = 1;
    struct Shown {
        ItemCell cell;
        int small, large;       // the icon of each set
    };
    const struct {
        int tool, showText, showImage;
        Shown icons[4];
    } rows[] = {
        {TOOL_ERASER, 0, 1, {{CELL_PEN, IDI_PEN_OFF_SMALL, IDI_PEN_OFF_LARGE},
                             {CELL_ERASER, IDI_ERASER_ON_SMALL, IDI_ERASER_ON_LARGE},
                             {CELL_STAMP, IDI_STAMP_OFF_SMALL, IDI_STAMP_OFF_LARGE},
                             {CELL_TEXT_TOGGLE, IDI_TEXT_HIDDEN_SMALL, IDI_TEXT_HIDDEN_LARGE}}},
        {TOOL_STAMP, 1, 0, {{CELL_PEN, IDI_PEN_OFF_SMALL, IDI_PEN_OFF_LARGE},
                            {CELL_ERASER, IDI_ERASER_OFF_SMALL, IDI_ERASER_OFF_LARGE},
                            {CELL_STAMP, IDI_STAMP_ON_SMALL, IDI_STAMP_ON_LARGE},
                            {CELL_IMAGE_TOGGLE, IDI_IMAGE_HIDDEN_SMALL, IDI_IMAGE_HIDDEN_LARGE}}},
    };
    for (const auto &row : rows) {
        g_item.interactionState = row.tool;
        g_item.showText = row.showText;
        g_item.showImage = row.showImage;
        Image shown = Repaint();
        for (const Shown &icon : row.icons)
            ExpectIconAt(shown, Icon(icon.small, icon.large), icon.cell, "button");
    }
}

TEST_F(PaintTest, PenAndStampSwatchesAreFilledInsideTheirFrames)
{
    g_item.graphicsEditMode = 1;
    g_item.penColorRGB = kPen;
    g_item.stampColorRGB = kStamp;
    Image shown = Repaint();
    ExpectSwatch(shown, CELL_PEN_COLOR, Ref(kPen), "pen swatch");
    ExpectSwatch(shown, CELL_STAMP_COLOR, Ref(kStamp), "stamp swatch");
    // Each swatch's lower half-button shows the half-button mark over the
    // watermark.
    int size = edit.iconSize;
    Image mark = IconOverWatermark(Icon(IDI_LOWER_MARK_SMALL, IDI_LOWER_MARK_LARGE), size);
    for (ItemCell cell : {CELL_PEN_WIDTH, CELL_ERASER_WIDTH, CELL_SHAPE}) {
        const LayoutRect &half = edit.cells[cell];
        int markTop = half.top - edit.toolbarTop;
        ASSERT_GT(mark.CountOther(kWatermark, 0, markTop, half.right - half.left, size), 0);
        int wrong = 0;
        for (int y = half.top; y < half.bottom; y++)
            for (int x = half.left; x < half.right; x++)
                wrong += shown.At(x, y) != mark.At(x - half.left, y - edit.toolbarTop);
        EXPECT_EQ(0, wrong) << "lower half-button at x " << half.left;
    }
}

TEST_F(PaintTest, TransparentEraserLeavesItsSwatchEmptyPinkFillsIt)
{
    g_item.graphicsEditMode = 1;
    g_item.eraserColorRGB = kBoardGrey;
    Image shown = Repaint();
    ExpectSwatch(shown, CELL_ERASER_COLOR, kWatermark, "Transparent eraser swatch");

    g_item.eraserColorRGB = kPink;
    shown = Repaint();
    ExpectSwatch(shown, CELL_ERASER_COLOR, Ref(kPink), "Pink eraser swatch");
}

TEST_F(PaintTest, SaveButtonShowsOnlyWhileTheBoardIsDirty)
{
    g_item.graphicsEditMode = 1;
    const LayoutRect &save = edit.cells[CELL_SAVE];
    g_item.boardDirty = 0;
    Image shown = Repaint();
    EXPECT_EQ(0, shown.CountOther(kWatermark, save.left, 0, save.right, save.bottom));

    g_item.boardDirty = 1;
    shown = Repaint();
    ExpectIconAt(shown, Icon(IDI_SAVE_SMALL, IDI_SAVE_LARGE), CELL_SAVE, "save button");
    // Its red face, and the watermark on both sides.
    int c = (save.left + save.right) / 2;
    EXPECT_EQ(RGB(255, 0, 0), shown.At(c, 3)) << "face at " << Where(c, 3);
    EXPECT_GT(shown.Find(RGB(255, 0, 0), save.left, save.top, save.right, save.bottom).size(),
              (size_t)(edit.iconSize * edit.iconSize / 2));
    ExpectWatermarkBetweenCells(shown, true);
}

// ---------------------------------------------------------------------------
// The stroke preview: during a stroke the item repaints without erasing and
// draws only the dot of the newest pen point (and the toolbar).

// Offsets (dx, dy) from the pen point of every pixel in a picture whose row
// `originRow`, column `originColumn` is the pen point; '#' marks a pixel.
std::set<std::pair<int, int>> Shape(std::initializer_list<const char *> rows, int originColumn,
                                    int originRow)
{
    std::set<std::pair<int, int>> shape;
    int y = 0;
    for (const char *row : rows) {
        for (int x = 0; row[x]; x++)
            if (row[x] == '#')
                shape.insert({x - originColumn, y - originRow});
        y++;
    }
    return shape;
}

class StrokePreviewTest : public PaintTest {
protected:
    // Paints one stroke move at (x, y) over a cleared item; returns the
    // offsets of the pixels of `color` below the toolbar and checks that
    // nothing else there changed.
    std::set<std::pair<int, int>> PreviewAt(int x, int y, COLORREF color)
    {
        ClearItem(kCleared);
        g_item.strokeActive = 1;
        g_item.lastPenX = x;
        g_item.lastPenY = y;
        Image shown = RepaintWithoutErase();
        g_item.strokeActive = 0;
        std::set<std::pair<int, int>> dots;
        int top = edit.board.top;
        for (const POINT &p : shown.Find(color, 0, top, shown.width, shown.height))
            dots.insert({p.x - x, p.y - y});
        int others = shown.CountOther(kCleared, 0, top, shown.width, shown.height) - (int)dots.size();
        EXPECT_EQ(0, others) << "pixels other than the dot changed below the toolbar";
        return dots;
    }

    void SetUp() override
    {
        PaintTest::SetUp();
        if (HasFatalFailure())
            return;
        g_item.graphicsEditMode = 1;
        g_item.penColorRGB = kPen;
        // A Board mark and the page text inside the cleared area: neither
        // may show during a stroke.
        SetBoardPixel(60, 60, RGB(255, 0, 1));
        ShowPageText(L"HHHH");
    }
};

const std::set<std::pair<int, int>> kDot1 = {{0, 0}};
const std::set<std::pair<int, int>> kDot2 = Shape({".#.",
                                                   "###",
                                                   "##."}, 1, 2);
const std::set<std::pair<int, int>> kDot3 = Shape({".###.",
                                                   "#####",
                                                   "#####",
                                                   "#####",
                                                   "####."}, 2, 3);

TEST_F(StrokePreviewTest, PenDotsOfWidthOneTwoAndThree)
{
    ASSERT_EQ(6u, kDot2.size());
    ASSERT_EQ(22u, kDot3.size());
    g_item.interactionState = TOOL_PEN;
    const int x = 100, y = 120;
    g_item.penWidth = 1;
    EXPECT_EQ(kDot1, PreviewAt(x, y, Ref(kPen)));
    g_item.penWidth = 2;
    EXPECT_EQ(kDot2, PreviewAt(x, y, Ref(kPen)));
    g_item.penWidth = 3;
    EXPECT_EQ(kDot3, PreviewAt(x, y, Ref(kPen)));
}

TEST_F(StrokePreviewTest, EraserDotInTheEraserColour)
{
    g_item.interactionState = TOOL_ERASER;
    g_item.penWidth = 3;
    g_item.eraserWidth = 2;
    g_item.eraserColorRGB = kPink;
    EXPECT_EQ(kDot2, PreviewAt(100, 120, Ref(kPink)));
    // A Transparent eraser previews in the Board's grey, not see-through.
    g_item.eraserColorRGB = kBoardGrey;
    EXPECT_EQ(kDot2, PreviewAt(100, 120, Ref(kBoardGrey)));
}

TEST_F(StrokePreviewTest, NoDotAtTheLeftEdgeOrWithTheBoardHidden)
{
    g_item.interactionState = TOOL_PEN;
    g_item.penWidth = 2;
    EXPECT_TRUE(PreviewAt(0, 120, Ref(kPen)).empty()) << "lastPenX 0";
    EXPECT_EQ(kDot2, PreviewAt(1, 120, Ref(kPen))) << "lastPenX 1";
    g_item.showImage = 0;
    EXPECT_TRUE(PreviewAt(100, 120, Ref(kPen)).empty()) << "Board hidden";
}

}  // namespace
