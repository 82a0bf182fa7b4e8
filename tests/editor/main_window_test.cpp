// The editor's main window inside the test process: what it paints, where
// its menu bar goes, and what its end releases.
#include "editor_test_support.h"
#include "editor/app_start.h"
#include "editor/main_window.h"
#include "editor/command_line.h"
#include "editor/resources/editor_resource.h"
#include <string.h>

namespace {

// Pixels of a client-sized 32-bit top-down DIB.
struct Pixels {
    int width = 0, height = 0;
    std::vector<DWORD> bits;
    bool operator==(const Pixels &o) const { return width == o.width && height == o.height && bits == o.bits; }
};

// Runs `draw` on a white DIB of the given size and returns its pixels.
template <typename Draw> Pixels DrawIntoDib(int width, int height, Draw draw)
{
    Pixels p;
    p.width = width;
    p.height = height;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
    bi.bmiHeader.biWidth = width;
    bi.bmiHeader.biHeight = -height;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void *bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP dib = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(dc, dib);
    RECT all = {0, 0, width, height};
    FillRect(dc, &all, (HBRUSH)GetStockObject(WHITE_BRUSH));
    draw(dc);
    GdiFlush();
    p.bits.assign((DWORD *)bits, (DWORD *)bits + width * height);
    SelectObject(dc, old);
    DeleteObject(dib);
    DeleteDC(dc);
    return p;
}

// What the window shows: the hint centred at the top and the text 40 pixels
// lower, left-aligned, one line per line break.
Pixels ExpectedWindow(int width, int height, const wchar_t *text)
{
    return DrawIntoDib(width, height, [&](HDC dc) {
        RECT r = {0, 0, width, height};
        DrawTextW(dc, L"(Tap to edit text)", -1, &r, DT_CENTER);
        r.top += 40;
        DrawTextW(dc, text, -1, &r, 0);
    });
}

Pixels CaptureClient(HWND window)
{
    RECT client;
    GetClientRect(window, &client);
    HDC windowDC = GetDC(window);
    Pixels p = DrawIntoDib(client.right, client.bottom, [&](HDC dc) {
        BitBlt(dc, 0, 0, client.right, client.bottom, windowDC, 0, 0, SRCCOPY);
    });
    ReleaseDC(window, windowDC);
    return p;
}

class MainWindowTest : public ItemKeyTest {
protected:
    // Start-up up to the main window, with resources from `resources` (the
    // test program's own copy of the editor's by default).
    HWND Start(LPCWSTR commandLine, HINSTANCE resources = nullptr)
    {
        HINSTANCE self = GetModuleHandleW(nullptr);
        EXPECT_TRUE(InitEditorState(self, commandLine));
        SHInitExtraControls();
        LoadStringW(self, IDS_APP_TITLE, g_editor.title, EDITOR_NAME_UNITS);
        LoadStringW(self, IDS_APP_CLASS, g_editor.className, EDITOR_NAME_UNITS);
        if (resources)
            g_editor.instance = resources;
        classInstance = g_editor.instance;
        EXPECT_TRUE(RegisterMainWindowClass());
        window = CreateMainWindow();
        EXPECT_TRUE(window);
        return window;
    }
    void TearDown() override
    {
        if (IsWindow(window))
            DestroyWindow(window);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
        UnregisterClassW(L"INKPAD_APP", classInstance);
        FreeEditorBuffers();
        ItemKeyTest::TearDown();
    }
    // The rest of the start-up (above the menu bar, shown), then the pixels.
    Pixels Shown()
    {
        FitAboveMenuBar(window);
        ShowWindow(window, SW_SHOWNORMAL);
        UpdateWindow(window);
        return CaptureClient(window);
    }
    Pixels Expected(const wchar_t *text)
    {
        RECT client;
        GetClientRect(window, &client);
        return ExpectedWindow(client.right, client.bottom, text);
    }
    HWND window = nullptr;
    HINSTANCE classInstance = nullptr;
};

TEST_F(MainWindowTest, ShowsTheHintAndTheStoredPageBelowIt)
{
    StoreText(L"ptext3", L"First line of page 3\r\nSecond line");
    ASSERT_TRUE(Start(L"3"));
    Pixels shown = Shown();
    EXPECT_TRUE(Expected(L"First line of page 3\r\nSecond line") == shown);
    EXPECT_FALSE(Expected(kExpectedErrorText) == shown);
}

TEST_F(MainWindowTest, WithoutAPageShowsTheErrorText)
{
    StoreText(L"ptext1", L"page one");
    ASSERT_TRUE(Start(L"0"));
    EXPECT_TRUE(Expected(kExpectedErrorText) == Shown());
}

TEST_F(MainWindowTest, TheWindowIsShortenedSoThatTheMenuBarLiesBelowIt)
{
    ASSERT_TRUE(Start(L"1"));
    ASSERT_TRUE(g_editor.menuBar);
    EXPECT_EQ(window, GetWindow(g_editor.menuBar, GW_OWNER));
    RECT before, after, bar;
    GetWindowRect(window, &before);
    GetWindowRect(g_editor.menuBar, &bar);
    FitAboveMenuBar(window);
    GetWindowRect(window, &after);
    EXPECT_EQ(before.left, after.left);
    EXPECT_EQ(before.top, after.top);
    EXPECT_EQ(before.right, after.right);
    EXPECT_EQ(before.bottom - (bar.bottom - bar.top), after.bottom);
    EXPECT_EQ(after.bottom, bar.top);
}

TEST_F(MainWindowTest, WithoutAMenuBarTheWindowKeepsItsFullHeight)
{
    // A module without the menu-bar resource makes its creation fail.
    ASSERT_TRUE(Start(L"1", GetModuleHandleW(L"kernel32.dll")));
    EXPECT_FALSE(g_editor.menuBar);
    RECT before, after;
    GetWindowRect(window, &before);
    FitAboveMenuBar(window);
    GetWindowRect(window, &after);
    EXPECT_TRUE(EqualRect(&before, &after));
}

TEST_F(MainWindowTest, DestroyFreesTheBuffersAndTheMenuBarAndQuitsWithZero)
{
    ASSERT_TRUE(Start(L"2"));
    HWND bar = g_editor.menuBar;
    ASSERT_TRUE(bar);
    DestroyWindow(window);
    EXPECT_FALSE(g_editor.textBuffer);
    EXPECT_FALSE(g_editor.readBuffer);
    EXPECT_FALSE(IsWindow(bar));
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(0u, msg.wParam);
}

TEST(PageFromCommandLine, DecimalWithWhiteSpaceAndSign)
{
    EXPECT_EQ(3, PageFromCommandLine(L"3"));
    EXPECT_EQ(2, PageFromCommandLine(L" 2abc"));
    EXPECT_EQ(2, PageFromCommandLine(L"\t+2"));
    EXPECT_EQ(-1, PageFromCommandLine(L"-1"));
    EXPECT_EQ(0, PageFromCommandLine(L""));
    EXPECT_EQ(0, PageFromCommandLine(L"word"));
    EXPECT_EQ(0, PageFromCommandLine(L"4294967299")) << "beyond 32 bits is no page";
    EXPECT_EQ(0, PageFromCommandLine(nullptr));
}

}  // namespace
