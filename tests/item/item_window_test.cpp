// The item window and the Today-screen protocol.
#include "test_support.h"
#include "item/item_window.h"
#include "item/scaling.h"
#include "item/settings_store.h"

namespace {

class ItemWindowTest : public ItemTest {};

TEST(Scaling, MulDivRoundRoundsHalfAwayFromZero)
{
    EXPECT_EQ(32, MulDivRound(16, 192, 96));
    EXPECT_EQ(22, MulDivRound(16, 131, 96));
    EXPECT_EQ(16, MulDivRound(16, 96, 96));
    EXPECT_EQ(-22, MulDivRound(-16, 131, 96));
    EXPECT_EQ(2, MulDivRound(3, 1, 2));
    EXPECT_EQ(-2, MulDivRound(-3, 1, 2));
    EXPECT_EQ(0, MulDivRound(16, -1, 96));      // no screen DC: the cached -1
}

TEST_F(ItemWindowTest, CreationReportsHeightOnceThenNothingIsPending)
{
    ASSERT_TRUE(CreateItem());
    EXPECT_EQ(item, g_item.itemWindow);
    EXPECT_EQ(1, g_item.refreshPending);
    listItem.cyp = 12345;
    EXPECT_EQ(TRUE, SendMessageW(item, WM_TODAYCUSTOM_QUERYREFRESHCACHE, (WPARAM)&listItem, 0));
    EXPECT_EQ(200u, listItem.cyp);
    listItem.cyp = 777;
    EXPECT_EQ(FALSE, SendMessageW(item, WM_TODAYCUSTOM_QUERYREFRESHCACHE, (WPARAM)&listItem, 0));
    EXPECT_EQ(777u, listItem.cyp);
    EXPECT_EQ(L"200", ReadStored(L"cheight").Text());
    EXPECT_EQ(L"1", ReadStored(L"cpage").Text());
}

TEST_F(ItemWindowTest, QueryWithoutItemOrShellDoesNothing)
{
    ASSERT_TRUE(CreateItem());
    StoreText(L"fonts", L"20");
    EXPECT_EQ(FALSE, SendMessageW(item, WM_TODAYCUSTOM_QUERYREFRESHCACHE, 0, 0));
    EXPECT_EQ(1, g_item.refreshPending);
    SetShellReady(false);
    EXPECT_EQ(FALSE, SendMessageW(item, WM_TODAYCUSTOM_QUERYREFRESHCACHE, (WPARAM)&listItem, 0));
    EXPECT_EQ(1, g_item.refreshPending);
    EXPECT_EQ(8, g_item.fontSize) << "no reload while the shell is not ready";
    SetShellReady(true);
    EXPECT_EQ(TRUE, SendMessageW(item, WM_TODAYCUSTOM_QUERYREFRESHCACHE, (WPARAM)&listItem, 0));
    EXPECT_EQ(20, g_item.fontSize);
}

TEST_F(ItemWindowTest, UscreenFromTheEditorForcesExactlyOneRefresh)
{
    ASSERT_TRUE(CreateItem());
    SendMessageW(item, WM_TODAYCUSTOM_QUERYREFRESHCACHE, (WPARAM)&listItem, 0);
    StoreText(L"uscreen", L"1");
    StoreText(L"cheight", L"260");
    EXPECT_EQ(TRUE, SendMessageW(item, WM_TODAYCUSTOM_QUERYREFRESHCACHE, (WPARAM)&listItem, 0));
    EXPECT_EQ(260u, listItem.cyp);
    StoredValue uscreen = ReadStored(L"uscreen");
    EXPECT_EQ(L"0", uscreen.Text());
    EXPECT_EQ(FALSE, SendMessageW(item, WM_TODAYCUSTOM_QUERYREFRESHCACHE, (WPARAM)&listItem, 0));
}

TEST_F(ItemWindowTest, EraseAsksTheTodayScreenForItsWatermark)
{
    ASSERT_TRUE(CreateItem());
    MoveWindow(item, 0, 0, 240, 120, FALSE);
    HDC dc = GetDC(item);
    g_today.watermarkRequests = 0;
    EXPECT_EQ(1, SendMessageW(item, WM_ERASEBKGND, (WPARAM)dc, 0));
    EXPECT_EQ(1, g_today.watermarkRequests);
    EXPECT_EQ(dc, g_today.lastWatermark.hdc);
    EXPECT_EQ(item, g_today.lastWatermark.hwnd);
    EXPECT_EQ(0, g_today.lastWatermark.rc.left);
    EXPECT_EQ(0, g_today.lastWatermark.rc.top);
    EXPECT_EQ(240, g_today.lastWatermark.rc.right);
    EXPECT_EQ(120, g_today.lastWatermark.rc.bottom);
    ReleaseDC(item, dc);
}

TEST_F(ItemWindowTest, WindowIsAVisibleChildNamedAfterTheItem)
{
    ASSERT_TRUE(CreateItem());
    wchar_t name[64] = {}, cls[64] = {};
    GetWindowTextW(item, name, 64);
    GetClassNameW(item, cls, 64);
    EXPECT_STREQ(L"inkleaf_item", name);
    EXPECT_STREQ(L"inkleaf_item", cls);
    EXPECT_EQ(TodayWindow(), GetParent(item));
    LONG style = GetWindowLongW(item, GWL_STYLE);
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_TRUE(style & WS_VISIBLE);
}

TEST_F(ItemWindowTest, ANewWindowContinuesFromTheStateInMemory)
{
    ASSERT_TRUE(CreateItem());
    ASSERT_TRUE(g_item.boardBitmap);
    g_item.penWidth = 7;
    g_item.fontSize = 14;
    SaveSettings();
    DestroyWindow(item);
    EXPECT_EQ(nullptr, g_item.boardBitmap);
    EXPECT_EQ(nullptr, g_item.boardDC);
    EXPECT_EQ(nullptr, g_item.compositeDC);
    ASSERT_TRUE(CreateItem());
    EXPECT_EQ(7, g_item.penWidth);
    EXPECT_EQ(14, g_item.fontSize);
    EXPECT_TRUE(g_item.boardBitmap);
    EXPECT_EQ(1, g_item.refreshPending);
}

TEST_F(ItemWindowTest, CreationResolvesStoredColoursAndSetsMenuChecks)
{
    StoreText(L"ptext1", L"stored");
    StoreText(L"tcolor", L"13");
    ASSERT_TRUE(CreateItem());
    EXPECT_EQ(0, g_item.useThemeTextColor);
    EXPECT_EQ(239, g_item.textColorRGB.red);
    EXPECT_EQ(143, g_item.textColorRGB.green);
    EXPECT_EQ(156, g_item.textColorRGB.blue);
    EXPECT_EQ(255, g_item.penColorRGB.green);       // green pen at load
    EXPECT_EQ(0, g_item.penColorRGB.red);
    EXPECT_EQ(224, g_item.eraserColorRGB.red);      // transparent eraser
    EXPECT_TRUE(GetMenuState(g_item.textColorMenu, 40080, MF_BYCOMMAND) & MF_CHECKED);   // Pink
    EXPECT_TRUE(GetMenuState(g_item.penColorMenu, 40057, MF_BYCOMMAND) & MF_CHECKED);    // Green
    EXPECT_TRUE(GetMenuState(g_item.eraserMenu, 40118, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_TRUE(GetMenuState(g_item.clearBoardMenu, 40118, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_TRUE(GetMenuState(g_item.penWidthMenu, 40076, MF_BYCOMMAND) & MF_CHECKED);    // 2
    EXPECT_TRUE(GetMenuState(g_item.eraserWidthMenu, 40083, MF_BYCOMMAND) & MF_CHECKED); // 5
    EXPECT_TRUE(GetMenuState(g_item.stampColorMenu, 40056, MF_BYCOMMAND) & MF_CHECKED);  // Yellow
    EXPECT_TRUE(GetMenuState(g_item.shapeMenu, 40098, MF_BYCOMMAND) & MF_CHECKED);       // Star - S
    EXPECT_FALSE(GetMenuState(g_item.textColorMenu, 40070, MF_BYCOMMAND) & MF_CHECKED);
}

}  // namespace
