// The screen turned under a running item, as the Today stand-in turns it
// (host/screen_rotation.cpp): the display takes the other orientation, and
// the Today screen lays the item out again across the new width. After the
// turn every toolbar cell and the corner answer a tap at their centre, a
// stroke lands on the Board and on the screen where the stylus was, and
// neither the Board nor the texts changed. Runs on each of the six screens
// (on a square one the size stays).
#include "test_support.h"
#include "common/dc_pixels.h"
#include "item/board_primitives.h"
#include <vector>

namespace {

const int kItemHeight = 200;
const COLORREF kPenGreen = RGB(0, 255, 0);
// How long a tap that must open no popup is watched for one.
const DWORD kNoPopupMs = 300;

SIZE ScreenSize()
{
    return SIZE{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

// Turns the display to the other orientation; false when it did not take it.
bool TurnDisplay()
{
    SIZE before = ScreenSize();
    DEVMODEW mode = {};
    mode.dmSize = sizeof(mode);
    mode.dmPelsWidth = (DWORD)before.cy;
    mode.dmPelsHeight = (DWORD)before.cx;
    mode.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT;
    return ChangeDisplaySettingsExW(nullptr, &mode, nullptr, 0, nullptr) == DISP_CHANGE_SUCCESSFUL &&
           ScreenSize().cx == before.cy && ScreenSize().cy == before.cx;
}

std::vector<unsigned char> BoardBytes()
{
    BoardPixels board;
    if (!GetBoardPixels(g_item.boardBitmap, &board))
        return {};
    const unsigned char *bits = board.bits;
    return std::vector<unsigned char>(bits, bits + (size_t)board.width * 3 * board.height);
}

// Runs what is posted (the command a popup's choice sends).
void Pump()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
}

POINT Centre(const LayoutRect &r)
{
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

class RotationTest : public ItemTest {
protected:
    void SetUp() override
    {
        ItemTest::SetUp();
        upright = ScreenSize();
        ScreenSizedTodayWindow();
        ASSERT_TRUE(CreateItem());
        LayOutAsTheTodayScreen();
        PopupMenuDriver choose({L"To Graphics Edit mode(&G)"});
        Tap(Centre(g_item.layout.cells[CELL_CORNER]));
        ASSERT_TRUE(choose.Wait()) << choose.Error().c_str();
        Pump();
        ASSERT_EQ(1, g_item.graphicsEditMode);
    }
    void TearDown() override
    {
        if (ScreenSize().cx != upright.cx)
            TurnDisplay();
        ItemTest::TearDown();
    }
    // What the Today screen does at its start and after a turn: the item
    // across the screen below the navigation bar, at the height it reports.
    void LayOutAsTheTodayScreen()
    {
        SIZE screen = ScreenSize();
        SetWindowPos(TodayWindow(), HWND_TOP, 0, 0, screen.cx, screen.cy, SWP_SHOWWINDOW);
        int barHeight = g_item.layout.navigationBar.bottom;
        MoveWindow(item, 0, barHeight, screen.cx, kItemHeight, TRUE);
        SendMessageW(item, WM_TODAYCUSTOM_QUERYREFRESHCACHE, (WPARAM)&listItem, 0);
        UpdateWindow(item);
    }
    void Turn()
    {
        ASSERT_TRUE(TurnDisplay());
        LayOutAsTheTodayScreen();
    }
    void Tap(POINT p)
    {
        SendMessageW(item, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
        SendMessageW(item, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    }
    void Stroke(int x0, int y0, int x1, int y1)
    {
        SendMessageW(item, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x0, y0));
        SendMessageW(item, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x1, y1));
        SendMessageW(item, WM_LBUTTONUP, 0, MAKELPARAM(x1, y1));
        UpdateWindow(item);
    }
    SIZE upright = {};
};

TEST_F(RotationTest, TheBoardAndTheTextsAreAsTheyWereAndAStrokeLandsUnderTheStylus)
{
    Stroke(40, 80, 120, 90);
    std::vector<unsigned char> board = BoardBytes();
    std::map<std::wstring, StoredValue> stored = ReadAllStored();
    std::vector<std::wstring> pages;
    for (int page = 0; page < PAGE_COUNT; page++)
        pages.push_back(g_item.pageText[page]);

    Turn();
    EXPECT_EQ(board, BoardBytes());
    EXPECT_EQ(stored, ReadAllStored());
    for (int page = 0; page < PAGE_COUNT; page++)
        EXPECT_EQ(pages[page], g_item.pageText[page]) << "page " << page + 1;

    // The pen (green, width 2) at item (150, 120): on the Board its point
    // lies the toolbar's height higher, and the screen shows it under the
    // stylus, below the navigation bar.
    const int x = 150, y = 120;
    Stroke(x, y, x, y);
    PixelBytes dot = BoardPixelAt(x, 640 - (y - g_item.layout.toolbarHeight));
    EXPECT_EQ(0, dot.blue);
    EXPECT_EQ(255, dot.green);
    EXPECT_EQ(0, dot.red);
    POINT screen = {x, y};
    ClientToScreen(item, &screen);
    EXPECT_EQ(g_item.layout.navigationBar.bottom + y, screen.y);
    // The X screen settles after the turn on its own time: look again,
    // letting the window's messages run, for up to a second.
    HDC dc = GetDC(nullptr);
    COLORREF shown = 0;
    for (int look = 0; look < 20 && (shown = ReadDcPixels(dc, screen.x, screen.y, 1, 1)[0]) != kPenGreen; look++) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        UpdateWindow(item);
        Sleep(50);
    }
    EXPECT_EQ(kPenGreen, shown);
    ReleaseDC(nullptr, dc);
}

// What a tap on each cell does: the popup it opens, or, for a cell that
// acts at once, the field it changes and the value it leaves.
struct CellAnswer {
    ItemCell cell;
    HMENU ItemState::*popup;
    int ItemState::*field;
    int value;
};

const CellAnswer kAnswers[] = {
    {CELL_CORNER, &ItemState::graphicsItemMenu, nullptr, 0},
    {CELL_PEN_COLOR, &ItemState::penColorMenu, &ItemState::interactionState, TOOL_PEN},
    {CELL_PEN_WIDTH, &ItemState::penWidthMenu, &ItemState::interactionState, TOOL_PEN},
    {CELL_ERASER, nullptr, &ItemState::interactionState, TOOL_ERASER},
    {CELL_ERASER_COLOR, &ItemState::eraserMenu, &ItemState::interactionState, TOOL_ERASER},
    {CELL_ERASER_WIDTH, &ItemState::eraserWidthMenu, &ItemState::interactionState, TOOL_ERASER},
    {CELL_STAMP, nullptr, &ItemState::interactionState, TOOL_STAMP},
    {CELL_STAMP_COLOR, &ItemState::stampColorMenu, &ItemState::interactionState, TOOL_STAMP},
    {CELL_SHAPE, &ItemState::shapeMenu, &ItemState::interactionState, TOOL_STAMP},
    {CELL_PEN, nullptr, &ItemState::interactionState, TOOL_PEN},
    {CELL_CLEAR, &ItemState::clearBoardMenu, nullptr, 0},
    {CELL_TEXT_TOGGLE, nullptr, &ItemState::showText, 0},
    {CELL_IMAGE_TOGGLE, nullptr, &ItemState::showImage, 0},
    {CELL_TEXT_TOGGLE, nullptr, &ItemState::showText, 1},
    {CELL_IMAGE_TOGGLE, nullptr, &ItemState::showImage, 1},
    {CELL_SAVE, nullptr, &ItemState::boardDirty, 0},
};

TEST_F(RotationTest, EveryToolbarCellAndTheCornerAnswerATapAtTheirCentre)
{
    Stroke(40, 80, 120, 90);            // the save button shows
    Turn();
    ASSERT_EQ(1, g_item.boardDirty);
    for (const CellAnswer &answer : kAnswers) {
        const LayoutRect cell = g_item.layout.cells[answer.cell];
        // The cell lies on the item, inside the screen.
        if (RectIsEmpty(cell) || cell.right > ScreenSize().cx) {
            ADD_FAILURE() << "cell " << answer.cell << " is not on the screen";
            continue;
        }
        // A cell that acts at once opens no popup: one that opens is closed
        // again and fails it.
        PopupMenuDriver close({}, answer.popup ? 5000 : kNoPopupMs);
        Tap(Centre(cell));
        EXPECT_EQ(answer.popup != nullptr, close.Wait()) << "cell " << answer.cell << ": " << close.Error().c_str();
        if (answer.popup) {
            EXPECT_EQ(g_item.*answer.popup, close.Menu()) << "cell " << answer.cell;
        }
        if (answer.field) {
            EXPECT_EQ(answer.value, g_item.*answer.field) << "cell " << answer.cell;
        }
    }
}

}  // namespace
