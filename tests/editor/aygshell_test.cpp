// The AYGSHELL stand-ins: what the editor relies on from them.
#include "editor_test_support.h"
#include "platform/device.h"
#include "editor/resources/editor_resource.h"
#include "template_builder.h"

namespace {

class ShellStandInTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        owner = CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 400,
                                nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(owner);
    }
    void TearDown() override { DestroyWindow(owner); }
    SHMENUBARINFO Info(UINT id)
    {
        SHMENUBARINFO info = {};
        info.cbSize = sizeof(info);
        info.hwndParent = owner;
        info.nToolBarId = id;
        info.hInstRes = GetModuleHandleW(nullptr);
        info.hwndMB = (HWND)0xdeadbeef;
        return info;
    }
    HWND owner = nullptr;
};

TEST_F(ShellStandInTest, MenuBarFromTheResourceLiesOverTheOwnersBottomEdge)
{
    SHMENUBARINFO info = Info(IDR_MENU_BAR);
    ASSERT_TRUE(SHCreateMenuBar(&info));
    ASSERT_TRUE(IsWindow(info.hwndMB));
    EXPECT_EQ(owner, GetWindow(info.hwndMB, GW_OWNER));
    EXPECT_TRUE(IsWindowVisible(info.hwndMB));
    RECT ownerRect, barRect;
    GetWindowRect(owner, &ownerRect);
    GetWindowRect(info.hwndMB, &barRect);
    EXPECT_EQ(ownerRect.bottom, barRect.bottom);
    EXPECT_EQ(ownerRect.left, barRect.left);
    EXPECT_EQ(ownerRect.right, barRect.right);
    HMENU help = (HMENU)SendMessageW(info.hwndMB, SHCMBM_GETSUBMENU, 0, 0);
    ASSERT_TRUE(help);
    EXPECT_EQ(IDM_ABOUT, (int)GetMenuItemID(help, 0));
}

TEST_F(ShellStandInTest, MenuBarButtonsSendTheirCommandToTheOwner)
{
    SHMENUBARINFO info = Info(IDR_MENU_BAR);
    ASSERT_TRUE(SHCreateMenuBar(&info));
    RECT client;
    GetClientRect(info.hwndMB, &client);
    LPARAM left = MAKELPARAM(5, client.bottom / 2);
    SendMessageW(info.hwndMB, WM_LBUTTONDOWN, MK_LBUTTON, left);
    SendMessageW(info.hwndMB, WM_LBUTTONUP, 0, left);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, owner, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(IDM_OK, LOWORD(msg.wParam));
    // Released outside the pressed button: nothing.
    SendMessageW(info.hwndMB, WM_LBUTTONDOWN, MK_LBUTTON, left);
    SendMessageW(info.hwndMB, WM_LBUTTONUP, 0, MAKELPARAM(client.right - 5, client.bottom / 2));
    EXPECT_FALSE(PeekMessageW(&msg, owner, WM_COMMAND, WM_COMMAND, PM_REMOVE));
}

TEST_F(ShellStandInTest, MenuBarCreationFailsCleanly)
{
    SHMENUBARINFO info = Info(IDR_MENU_BAR);
    info.cbSize = 35;
    EXPECT_FALSE(SHCreateMenuBar(&info)) << "wrong size";
    info = Info(777);
    EXPECT_FALSE(SHCreateMenuBar(&info)) << "missing resource";
    EXPECT_FALSE(info.hwndMB);
    info = Info(930);
    EXPECT_FALSE(SHCreateMenuBar(&info)) << "three buttons promised, one present";
    EXPECT_FALSE(info.hwndMB);
    info = Info(IDR_MENU_BAR);
    info.hwndParent = nullptr;
    EXPECT_FALSE(SHCreateMenuBar(&info));
    EXPECT_FALSE(SHCreateMenuBar(nullptr));
}

TEST_F(ShellStandInTest, ActivationGivesTheFocusBack)
{
    HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, owner, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    SHACTIVATEINFO info = {};
    info.cbSize = sizeof(info);
    SetFocus(edit);
    EXPECT_TRUE(SHHandleWMActivate(owner, WA_INACTIVE, 0, &info, 0));
    EXPECT_EQ(edit, info.hwndLastFocus);
    SetFocus(nullptr);
    EXPECT_TRUE(SHHandleWMActivate(owner, WA_ACTIVE, 0, &info, 0));
    EXPECT_EQ(edit, GetFocus());
    // Without a remembered focus the window itself gets it: its keys reach
    // the accelerators.
    info.hwndLastFocus = nullptr;
    SetFocus(nullptr);
    EXPECT_TRUE(SHHandleWMActivate(owner, WA_CLICKACTIVE, 0, &info, 0));
    EXPECT_EQ(owner, GetFocus());
    info.cbSize = 16;
    EXPECT_FALSE(SHHandleWMActivate(owner, WA_ACTIVE, 0, &info, 0));
    EXPECT_FALSE(SHHandleWMSettingChange(owner, 0, 0, &info));
}

TEST_F(ShellStandInTest, SipPrefClassExistsAfterInitExtraControls)
{
    EXPECT_TRUE(SHInitExtraControls());
    EXPECT_TRUE(SHInitExtraControls()) << "a second call succeeds as well";
    WNDCLASSW wc;
    EXPECT_TRUE(GetClassInfoW(GetModuleHandleW(nullptr), L"SIPPREF", &wc));
}

TEST_F(ShellStandInTest, InitDialogNeedsItsMask)
{
    SHINITDLGINFO info = {};
    info.hDlg = owner;
    info.dwFlags = SHIDIF_SIZEDLGFULLSCREEN;
    RECT before, after;
    GetWindowRect(owner, &before);
    EXPECT_FALSE(SHInitDialog(&info));
    GetWindowRect(owner, &after);
    EXPECT_TRUE(EqualRect(&before, &after));
    info.dwMask = SHIDIM_FLAGS;
    EXPECT_TRUE(SHInitDialog(&info));
    // The screen below the shell's 20-pixel title strip.
    RECT area = {0, 20, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    GetWindowRect(owner, &after);
    EXPECT_TRUE(EqualRect(&area, &after));
}

// The device's rules for top-level windows, which this test program has
// too: CW_USEDEFAULT fills the screen below the title strip, a window that
// asks for no caption gets none; child windows and given places stay.
TEST(TopLevelWindowTest, DefaultPlaceIsTheScreenBelowTheTitleStrip)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    ASSERT_TRUE(window);
    RECT area = {0, 20, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    RECT windowRect, client;
    GetWindowRect(window, &windowRect);
    GetClientRect(window, &client);
    EXPECT_TRUE(EqualRect(&area, &windowRect));
    EXPECT_EQ(area.right - area.left, client.right) << "no frame";
    EXPECT_EQ(area.bottom - area.top, client.bottom) << "no caption";

    HWND child = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT, 30, 40,
                                 window, nullptr, instance, nullptr);
    ASSERT_TRUE(child);
    RECT childRect;
    GetClientRect(child, &childRect);
    EXPECT_EQ(30, childRect.right);
    EXPECT_EQ(40, childRect.bottom);
    DestroyWindow(window);

    HWND placed = CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 10, 30, 200, 100, nullptr, nullptr,
                                  instance, nullptr);
    ASSERT_TRUE(placed);
    GetWindowRect(placed, &windowRect);
    RECT given = {10, 30, 210, 130};
    EXPECT_TRUE(EqualRect(&given, &windowRect));
    EXPECT_TRUE(GetWindowLongW(placed, GWL_STYLE) & WS_CAPTION) << "a caption asked for is kept";
    DestroyWindow(placed);
}

// A dialog keeps the system's place (its client area at its owner's) while
// it lies on the screen below the title strip, and is moved onto it
// otherwise; its procedure sees the caller's value at WM_INITDIALOG and
// every message after.
struct PlacedDialog {
    LPARAM initValue = 0;
    bool sawCommand = false;
    RECT rect = {};
    POINT clientOrigin = {};
};

INT_PTR CALLBACK RecordingDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    PlacedDialog *seen = (PlacedDialog *)GetWindowLongPtrW(dialog, GWLP_USERDATA);
    if (message == WM_INITDIALOG) {
        seen = (PlacedDialog *)lParam;
        SetWindowLongPtrW(dialog, GWLP_USERDATA, lParam);
        seen->initValue = lParam;
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        return TRUE;
    }
    if (message == WM_COMMAND && seen) {
        seen->sawCommand = true;
        GetWindowRect(dialog, &seen->rect);
        seen->clientOrigin = POINT{0, 0};
        ClientToScreen(dialog, &seen->clientOrigin);
        EndDialog(dialog, 7);
        return TRUE;
    }
    return FALSE;
}

PlacedDialog ShowPlacedDialog(HWND owner, int16_t heightUnits)
{
    TemplateBuilder b;
    b.Header(WS_POPUP | WS_CAPTION, 0, 100, heightUnits).Word(0).Word(0).String(u"placed");
    PlacedDialog seen;
    EXPECT_EQ(7, DialogBoxIndirectParamW(GetModuleHandleW(nullptr), (LPCDLGTEMPLATEW)b.bytes.data(), owner,
                                         RecordingDialogProc, (LPARAM)&seen));
    EXPECT_EQ((LPARAM)&seen, seen.initValue);
    EXPECT_TRUE(seen.sawCommand);
    return seen;
}

TEST(TopLevelWindowTest, DialogsKeepTheirPlaceOnTheScreenBelowTheTitleStrip)
{
    HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 100, 200, 300, 300, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(owner);
    PlacedDialog small = ShowPlacedDialog(owner, 40);
    EXPECT_EQ(100, small.clientOrigin.x);
    EXPECT_EQ(200, small.clientOrigin.y);

    // At the top of its owner's client area, its caption would cover the strip.
    MoveWindow(owner, 0, 20, 300, 300, FALSE);
    PlacedDialog top = ShowPlacedDialog(owner, 40);
    EXPECT_EQ(0, top.rect.left);
    EXPECT_EQ(20, top.rect.top);

    PlacedDialog tall = ShowPlacedDialog(owner, 2000);     // taller than the screen
    EXPECT_EQ(20, tall.rect.top) << "its top stays below the title strip";
    DestroyWindow(owner);
}

}  // namespace
