// The real inkpad_app.exe on a device-sized screen (run once on the small
// and once on the large one): its main window fills the screen below the
// shell's navigation bar down to its menu bar, and both dialogs lie on the
// screen with every control whole; the full-screen About dialog has no
// caption of its own and asks for the bar's "ok".
#include "app_driver.h"
#include "editor_test_support.h"
#include "../common/dc_pixels.h"
#include "platform/device_screen.h"

#include <algorithm>

namespace {

const int kPageText = 1000;
const UINT kAboutCommand = 40002;

RECT Screen()
{
    return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

RECT WindowRect(HWND window)
{
    RECT r = {};
    GetWindowRect(window, &r);
    return r;
}

// The client area of `window` in screen coordinates.
RECT ClientOnScreen(HWND window)
{
    RECT r = {};
    GetClientRect(window, &r);
    MapWindowPoints(window, nullptr, (POINT *)&r, 2);
    return r;
}

bool Contains(const RECT &outer, const RECT &inner)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom && inner.right > inner.left && inner.bottom > inner.top;
}

std::string Describe(const RECT &r)
{
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ")-(" + std::to_string(r.right) +
           ", " + std::to_string(r.bottom) + ")";
}

// Every visible control of `dialog` lies whole inside its client area and on
// the screen below the navigation bar.
void ExpectControlsWhole(HWND dialog)
{
    RECT client = ClientOnScreen(dialog);
    RECT screen = Screen();
    screen.top = NavigationBarHeight();
    int visible = 0;
    for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
        if (!IsWindowVisible(control))
            continue;
        visible++;
        RECT r = WindowRect(control);
        SCOPED_TRACE("control " + std::to_string(GetDlgCtrlID(control)) + " at " + Describe(r));
        EXPECT_TRUE(Contains(client, r)) << "inside the dialog's client area " << Describe(client);
        EXPECT_TRUE(Contains(screen, r)) << "on the screen";
    }
    EXPECT_GT(visible, 0);
}

// `window` spans the screen from the navigation bar down to `bar`, which
// spans the screen's width at its bottom.
void ExpectBetweenNavigationBarAndMenuBar(const RECT &window, const RECT &bar)
{
    RECT screen = Screen();
    EXPECT_EQ(screen.left, window.left);
    EXPECT_EQ(NavigationBarHeight(), window.top);
    EXPECT_EQ(screen.right, window.right);
    EXPECT_EQ(bar.top, window.bottom);
    EXPECT_EQ(screen.left, bar.left);
    EXPECT_EQ(screen.right, bar.right);
    EXPECT_EQ(screen.bottom, bar.bottom);
}

class EditorScreenTest : public ItemKeyTest {
protected:
    void TearDown() override
    {
        editor.Terminate();
        ItemKeyTest::TearDown();
    }

    HWND StartEditor()
    {
        EXPECT_TRUE(editor.Start(L"1"));
        return editor.WaitForMainWindow();
    }

    EditorProcess editor;
};

// The device's navigation bar is 26 pixels high on the small screen (96 dpi)
// and twice that on the large one (192 dpi).
TEST(ScreenTest, NavigationBarHeightFollowsTheScreensDpi)
{
    int width = GetSystemMetrics(SM_CXSCREEN);
    ASSERT_TRUE(width == 240 || width == 480) << "a device's screen, not " << width;
    EXPECT_EQ(width == 240 ? 26 : 52, NavigationBarHeight());
    RECT below = ScreenBelowNavigationBar();
    EXPECT_EQ(NavigationBarHeight(), below.top);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), below.bottom);
}

TEST_F(EditorScreenTest, MainWindowFillsTheScreenBelowTheNavigationBarDownToItsMenuBar)
{
    HWND window = StartEditor();
    ASSERT_TRUE(window);
    HWND bar = FindOwnedWindow(L"menu_worker", window, editor.Id());
    ASSERT_TRUE(bar);
    // The window is visible from its creation on; the start-up shortens it
    // by the bar's height a moment later.
    WaitUntil([&] { return WindowRect(window).bottom == WindowRect(bar).top; });
    RECT windowRect = WindowRect(window), barRect = WindowRect(bar);
    SCOPED_TRACE("window " + Describe(windowRect) + ", menu bar " + Describe(barRect));

    ExpectBetweenNavigationBarAndMenuBar(windowRect, barRect);
    // No caption or frame of its own: the client area is the whole window.
    RECT client = ClientOnScreen(window);
    EXPECT_TRUE(EqualRect(&windowRect, &client)) << "client " << Describe(client);
    // Its title is the navigation bar's, with no "ok" beside it.
    EXPECT_FALSE(WantsNavigationDoneButton(window));
}

TEST_F(EditorScreenTest, EditDialogLiesOnTheScreenWithBothButtonsWhole)
{
    HWND window = StartEditor();
    ASSERT_TRUE(window);
    TapClient(window, 60, 120);
    HWND dialog = WaitForDialog(window, L"Edit text");
    ASSERT_TRUE(dialog);
    RECT screen = Screen(), dialogRect = WindowRect(dialog);
    std::printf("screen %ldx%ld: edit dialog %s, %ldx%ld\n", screen.right, screen.bottom,
                Describe(dialogRect).c_str(), dialogRect.right - dialogRect.left,
                dialogRect.bottom - dialogRect.top);
    // At the top of the main window's client area, its caption kept below
    // the navigation bar.
    EXPECT_EQ(0, dialogRect.left);
    EXPECT_EQ(NavigationBarHeight(), dialogRect.top);
    screen.top = NavigationBarHeight();
    EXPECT_TRUE(Contains(screen, dialogRect)) << Describe(dialogRect);
    for (int id : {IDOK, IDCANCEL, kPageText})
        ASSERT_TRUE(IsWindowVisible(GetDlgItem(dialog, id))) << "control " << id;
    ExpectControlsWhole(dialog);
    // Not full screen: it keeps its caption; its own buttons end it.
    EXPECT_EQ((LONG)WS_CAPTION, GetWindowLongW(dialog, GWL_STYLE) & WS_CAPTION);
    EXPECT_FALSE(WantsNavigationDoneButton(dialog));
    // Side by side below the text, in template order.
    RECT ok = WindowRect(GetDlgItem(dialog, IDOK)), cancel = WindowRect(GetDlgItem(dialog, IDCANCEL));
    RECT text = WindowRect(GetDlgItem(dialog, kPageText));
    EXPECT_LT(ok.right, cancel.left);
    EXPECT_GE(ok.top, text.bottom);
    ASSERT_TRUE(PressDialogButton(dialog, IDCANCEL));
}

TEST_F(EditorScreenTest, AboutDialogCoversTheScreenBelowTheNavigationBarAboveItsOwnBar)
{
    HWND window = StartEditor();
    ASSERT_TRUE(window);
    PostMessageW(window, WM_COMMAND, kAboutCommand, 0);
    HWND about = WaitForDialog(window, L"Inkleaf");
    ASSERT_TRUE(about);
    HWND bar = FindOwnedWindow(L"menu_worker", about, editor.Id());
    ASSERT_TRUE(bar) << "an empty menu bar of its own";
    RECT screen = Screen(), aboutRect = WindowRect(about), barRect = WindowRect(bar);
    std::printf("screen %ldx%ld: About dialog %s, its bar %s\n", screen.right, screen.bottom,
                Describe(aboutRect).c_str(), Describe(barRect).c_str());
    ExpectBetweenNavigationBarAndMenuBar(aboutRect, barRect);
    ExpectControlsWhole(about);
    // Its caption is the navigation bar's title: none of its own, and the
    // bar's "ok" for it, seen from this other process as the bar sees it.
    RECT client = ClientOnScreen(about);
    EXPECT_TRUE(EqualRect(&aboutRect, &client)) << "client " << Describe(client);
    EXPECT_TRUE(WantsNavigationDoneButton(about));
    // What the "ok" sends closes it, and only that: "uscreen" stays unwritten.
    PostMessageW(about, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(about); }));
    EXPECT_FALSE(ReadStored(L"uscreen").exists);
}

// The pixels of `rect` of the screen, read in one go.
std::vector<COLORREF> ScreenPixels(const RECT &rect)
{
    HDC screen = GetDC(nullptr);
    std::vector<COLORREF> pixels =
        ReadDcPixels(screen, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    ReleaseDC(nullptr, screen);
    return pixels;
}

int CountOf(const std::vector<COLORREF> &pixels, COLORREF color)
{
    return (int)std::count(pixels.begin(), pixels.end(), color);
}

// Once the edit dialog has closed, the editor shows the text just written,
// not the pixels from before the dialog: Wine's X11 driver restores a
// window's uncovered part from what it last painted and asks for no repaint.
TEST_F(EditorScreenTest, TheEditorShowsTheNewTextOnceTheEditDialogCloses)
{
    HWND window = StartEditor();
    ASSERT_TRUE(window);
    HWND bar = FindOwnedWindow(L"menu_worker", window, editor.Id());
    ASSERT_TRUE(bar);
    ASSERT_TRUE(WaitUntil([&] { return WindowRect(window).bottom == WindowRect(bar).top; }))
        << "the start-up has fitted the window above its bar";
    RECT client = ClientOnScreen(window);
    const COLORREF ink = RGB(0, 0, 0), paper = RGB(255, 255, 255);
    const int area = (client.right - client.left) * (client.bottom - client.top);
    int before = 0;
    // The window has painted once its white background covers most of it;
    // until then the screen under it may be any colour, black included.
    ASSERT_TRUE(WaitUntil([&] {
        std::vector<COLORREF> shown = ScreenPixels(client);
        before = CountOf(shown, ink);
        return CountOf(shown, paper) > area / 2;
    })) << "the editor painted its window";
    ASSERT_GT(before, 200) << "the start-up text shows";
    TapClient(window, 60, 120);
    HWND dialog = WaitForDialog(window, L"Edit text");
    ASSERT_TRUE(dialog);
    SetControlText(GetDlgItem(dialog, kPageText), L"x");
    ASSERT_TRUE(PressDialogButton(dialog, IDOK));
    int after = before;
    EXPECT_TRUE(WaitUntil([&] { return (after = CountOf(ScreenPixels(client), ink)) < before / 2; }))
        << after << " text pixels, as many as before (" << before << ")";
    EXPECT_GT(after, 0);
}
}  // namespace
