// The stylus on the item: corner popups, toolbar, strokes and the save button.
#include "test_support.h"
#include "item/board_file.h"
#include "item/board_primitives.h"
#include "item/item_window.h"
#include "item/pen_input.h"
#include "item/settings_store.h"
#include <set>
#include <utility>

namespace {

typedef std::set<std::pair<int, int>> Pixels;

class PenInputTest : public ItemTest {
protected:
    void SetUp() override
    {
        ItemTest::SetUp();
        ASSERT_TRUE(CreateItem());
        MoveWindow(item, 0, 0, 480, 640, FALSE);
        StoreText(L"cheight", L"640");
        g_item.itemHeight = 640;
        g_item.graphicsEditMode = 1;
        g_item.penWidth = 1;
        g_item.penColorRGB = {255, 0, 0};
    }
    // Messages as the window procedure gets them (metrics of this screen).
    void Down(int x, int y) { SendMessageW(item, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y)); }
    void Move(int x, int y) { SendMessageW(item, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y)); }
    void Up(int x, int y) { SendMessageW(item, WM_LBUTTONUP, 0, MAKELPARAM(x, y)); }
    // Board pixels in the pen colour, as (column, stored row).
    Pixels RedPixels()
    {
        Pixels red;
        for (int r = 0; r < 640; r++)
            for (int c = 0; c < 640; c++) {
                PixelBytes p = BoardPixelAt(c, r);
                if (p.red == 255 && p.green == 0 && p.blue == 0)
                    red.insert({c, r});
            }
        return red;
    }
    // The stored row of an item point's dot.
    int Row(int itemY) { return 640 - (itemY - g_item.layout.board.top); }
};

TEST_F(PenInputTest, ATapGivesOneDot)
{
    Down(100, 100);
    EXPECT_EQ(1, g_item.strokeActive);
    Up(100, 100);
    EXPECT_EQ(0, g_item.strokeActive);
    EXPECT_EQ(0, g_item.strokePointCount);
    EXPECT_EQ((Pixels{{100, Row(100)}}), RedPixels());
    EXPECT_EQ(1, g_item.boardDirty);
    EXPECT_EQ(nullptr, GetCapture());
}

TEST_F(PenInputTest, SlopedStrokesGiveExactlyTheirElevenDots)
{
    Down(100, 100);
    Move(110, 103);
    Up(110, 103);
    Pixels expected;
    const int ys[] = {100, 100, 100, 100, 101, 101, 101, 102, 102, 102, 103};
    for (int i = 0; i <= 10; i++)
        expected.insert({100 + i, Row(ys[i])});
    EXPECT_EQ(expected, RedPixels());

    FillBoard(g_item.boardBitmap);
    Down(100, 100);
    Move(103, 110);
    Up(103, 110);
    expected.clear();
    const int xs[] = {100, 100, 100, 100, 101, 101, 101, 102, 102, 102, 103};
    for (int i = 0; i <= 10; i++)
        expected.insert({xs[i], Row(100 + i)});
    EXPECT_EQ(expected, RedPixels());
}

TEST_F(PenInputTest, AStrokeOntoTheToolbarIsDiscardedAndItsPenUpActsOnNothing)
{
    int textToggle = ToolbarCell(CELL_TEXT_TOGGLE).left + 4;
    Down(textToggle, 200);
    Move(textToggle, 100);
    Move(textToggle, 5);                 // onto the text toggle
    EXPECT_EQ(1, g_item.strokeCancelled);
    Up(textToggle, 5);
    EXPECT_EQ(1, g_item.showText) << "the pen-up did not toggle the text";
    EXPECT_TRUE(RedPixels().empty());
    EXPECT_EQ(0, g_item.boardDirty);
    EXPECT_EQ(0, g_item.strokeCancelled);
}

TEST_F(PenInputTest, MovesBeyondTheBufferAreDroppedAndThePenUpDotStands)
{
    Down(20, 100);
    for (int i = 1; i <= 1600; i++)
        Move(20 + (i % 2), 100 + i / 4);   // points wander down slowly
    EXPECT_EQ(STROKE_CAPACITY, g_item.strokePointCount);
    int lastStoredY = g_item.strokeY[STROKE_CAPACITY - 1];
    Up(300, 500);
    Pixels red = RedPixels();
    EXPECT_TRUE(red.count({300, Row(500)})) << "the lone pen-up dot";
    EXPECT_TRUE(red.count({g_item.strokeX[STROKE_CAPACITY - 1], Row(lastStoredY)}));
    for (auto &p : red)
        EXPECT_TRUE(p.first <= 21 || (p.first == 300 && p.second == Row(500))) << p.first;
}

TEST_F(PenInputTest, SecondPenDownThrowsThePointsAway)
{
    Down(100, 100);
    Move(101, 101);
    Down(200, 200);                      // a pen-up went missing
    EXPECT_EQ(0, g_item.strokeActive);
    EXPECT_EQ(0, g_item.strokePointCount);
    Up(200, 200);
    EXPECT_EQ((Pixels{{200, Row(200)}}), RedPixels()) << "only the pen-up dot";
}

TEST_F(PenInputTest, ShapeToolStampsOnlyInsideTheStampArea)
{
    g_item.interactionState = TOOL_STAMP;
    g_item.penWidth = 2;
    g_item.lastPenX = -1;
    Down(10, 200);                       // inside the board area, not the stamp area
    EXPECT_EQ(-1, g_item.lastPenX);
    EXPECT_EQ(0, g_item.boardDirty);
    EXPECT_FALSE(GetUpdateRect(item, nullptr, FALSE)) << "no repaint";
    Down(2, 200);                        // outside the board area: repaint
    EXPECT_TRUE(GetUpdateRect(item, nullptr, FALSE));
    ValidateRect(item, nullptr);
    Down(200, 200);
    EXPECT_EQ(200, g_item.lastPenX);
    EXPECT_EQ(1, g_item.boardDirty);
    EXPECT_EQ(0, g_item.strokeActive) << "stamps never start a stroke";
}

TEST_F(PenInputTest, SaveButtonSavesOnlyChangesAndKeepsThemMarkedWhenNoFolderTakesThem)
{
    std::wstring file = BoardFolder(2) + L"\\inkleaf_board.bmp";
    UpdateWindow(item);
    FILETIME before, after;
    HANDLE h = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    GetFileTime(h, nullptr, nullptr, &before);
    CloseHandle(h);
    int save = ToolbarCell(CELL_SAVE).left + 4;
    Down(save, 5);
    ValidateRect(item, nullptr);
    Up(save, 5);
    EXPECT_FALSE(GetUpdateRect(item, nullptr, FALSE)) << "nothing changed: no repaint";

    Down(100, 100);
    Up(100, 100);
    ASSERT_EQ(1, g_item.boardDirty);
    // No folder takes the file: the changes stay marked.
    std::wstring moved = L"T:\\program files\\elsewhere";
    ASSERT_TRUE(MoveFileW(BoardFolder(2).c_str(), moved.c_str()));
    Down(save, 5);
    Up(save, 5);
    EXPECT_EQ(1, g_item.boardDirty);
    ASSERT_TRUE(MoveFileW(moved.c_str(), BoardFolder(2).c_str()));
    Sleep(20);
    Down(save, 5);
    Up(save, 5);
    EXPECT_EQ(0, g_item.boardDirty);
    std::vector<BYTE> saved = ReadWholeFile(file);
    ASSERT_EQ(1228854u, saved.size());
    size_t at = 54 + ((size_t)Row(100) * 640 + 100) * 3;
    EXPECT_EQ(255, saved[at + 2]);
    h = CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    GetFileTime(h, nullptr, nullptr, &after);
    CloseHandle(h);
    EXPECT_NE(0, CompareFileTime(&before, &after));
}

TEST_F(PenInputTest, TogglesFlipAndSaveTheSettings)
{
    int image = ToolbarCell(CELL_IMAGE_TOGGLE).left + 2, text = ToolbarCell(CELL_TEXT_TOGGLE).left + 2;
    Up(text, 3);
    EXPECT_EQ(0, g_item.showText);
    EXPECT_EQ(L"2", ReadStored(L"showtext").Text());
    Up(image, 3);
    EXPECT_EQ(0, g_item.showImage);
    EXPECT_EQ(L"2", ReadStored(L"showimage").Text());
    Down(100, 100);                      // no Board shown: no stroke
    EXPECT_EQ(0, g_item.strokeActive);
    Up(image, 3);
    EXPECT_EQ(1, g_item.showImage);
}

TEST_F(PenInputTest, NormalModeTapsOutsideTheCornerOnlyCapture)
{
    g_item.graphicsEditMode = 0;
    Down(100, 100);
    EXPECT_EQ(item, GetCapture());
    EXPECT_EQ(0, g_item.strokeActive);
    Up(ToolbarCell(CELL_SAVE).left + 2, 3);
    EXPECT_EQ(nullptr, GetCapture());
    EXPECT_TRUE(RedPixels().empty());
    EXPECT_EQ(1, g_item.showText);
}

TEST_F(PenInputTest, WithoutABoardEveryPointIsOutside)
{
    SendMessageW(item, WM_DESTROY, 0, 0);    // releases the Board
    EXPECT_FALSE(InsideBoardArea(100, 100, 640, 640));
    EXPECT_FALSE(InsideStampArea(100, 100, 640, 640));
    Down(100, 100);
    EXPECT_EQ(0, g_item.strokeActive);
    Up(100, 100);
    EXPECT_EQ(0, g_item.boardDirty);
}

TEST_F(PenInputTest, CornerTapOpensTheCornerPopupOfTheMode)
{
    g_item.menuContext = MENU_CONTEXT_PEN_COLOR;
    PopupMenuDriver chooser({});
    Down(3, 3);
    ASSERT_TRUE(chooser.Wait());
    EXPECT_EQ(g_item.graphicsItemMenu, chooser.Menu());
    EXPECT_EQ(MENU_CONTEXT_NONE, g_item.menuContext);
    Up(3, 3);
    g_item.graphicsEditMode = 0;
    PopupMenuDriver second({L"To Graphics Edit mode(&G)"});
    Down(3, 3);
    ASSERT_TRUE(second.Wait());
    EXPECT_EQ(g_item.itemMenu, second.Menu());
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
    EXPECT_EQ(1, g_item.graphicsEditMode);
    EXPECT_EQ(L"1", ReadStored(L"contdisp").Text());
}

// Small-screen toolbar: the metrics of a 240-pixel screen, with the pen
// messages handed over directly so that the screen's own width is not used.
class SmallToolbarTest : public PenInputTest {
protected:
    HMENU PopupOfPenUp(int x, int y)
    {
        ApplyLayoutMetrics(240);
        PopupMenuDriver chooser({});
        OnPenUp(item, 0, MAKELPARAM(x, y));
        return chooser.Wait() ? chooser.Menu() : nullptr;
    }
};

TEST_F(SmallToolbarTest, EdgesAreSharedAndTestedInOrder)
{
    g_item.interactionState = TOOL_ERASER;
    ApplyLayoutMetrics(240);
    // A copy: the popups' messages lay the item out again for this screen.
    const ItemLayout small = g_item.layout;
    const LayoutRect &pen = small.cells[CELL_PEN], &penColor = small.cells[CELL_PEN_COLOR],
                     &penWidth = small.cells[CELL_PEN_WIDTH], &eraserWidth = small.cells[CELL_ERASER_WIDTH],
                     &shape = small.cells[CELL_SHAPE], &clear = small.cells[CELL_CLEAR];
    // The pen button's right edge line is the colour half-buttons' left one.
    OnPenUp(item, 0, MAKELPARAM(pen.right, penColor.top + 4));
    EXPECT_EQ(TOOL_PEN, g_item.interactionState) << "the upper shared line belongs to the pen button";
    EXPECT_EQ(g_item.penWidthMenu, PopupOfPenUp(pen.right, penWidth.top));
    EXPECT_EQ(MENU_CONTEXT_PEN_WIDTH, g_item.menuContext);
    EXPECT_EQ(g_item.penWidthMenu, PopupOfPenUp(penWidth.left + 5, penWidth.top));
    EXPECT_EQ(g_item.penColorMenu, PopupOfPenUp(penColor.left + 5, penColor.top + 4));
    EXPECT_EQ(g_item.eraserWidthMenu, PopupOfPenUp(eraserWidth.left + 4, eraserWidth.top + 3));
    EXPECT_EQ(TOOL_ERASER, g_item.interactionState);
    EXPECT_EQ(g_item.shapeMenu, PopupOfPenUp(shape.left + 3, shape.top + 5));
    EXPECT_EQ(TOOL_STAMP, g_item.interactionState);
    EXPECT_EQ(g_item.clearBoardMenu, PopupOfPenUp(clear.left + 8, clear.top + 7));
    EXPECT_EQ(MENU_CONTEXT_CLEAR_BOARD, g_item.menuContext);
    EXPECT_EQ(TOOL_STAMP, g_item.interactionState) << "clear keeps the tool";
}

}  // namespace
