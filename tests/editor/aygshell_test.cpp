// The AYGSHELL stand-ins: what the editor relies on from them.
#include "editor_test_support.h"
#include "platform/device.h"
#include "platform/device_screen.h"
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
    RECT area = ScreenBelowNavigationBar();
    GetWindowRect(owner, &after);
    EXPECT_TRUE(EqualRect(&area, &after));
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

// A modeless dialog with a caption, a frame and a system menu.
HWND CaptionedDialog()
{
    TemplateBuilder b;
    b.Header(WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 100, 60).Word(0).Word(0).String(u"captioned");
    return CreateDialogIndirectParamW(GetModuleHandleW(nullptr), (LPCDLGTEMPLATEW)b.bytes.data(), nullptr,
                                      PlainDialogProc, 0);
}

// A full-screen dialog has no caption or frame of its own: the navigation
// bar shows its title, which it keeps. A dialog sized otherwise keeps both.
TEST(InitDialogTest, FullScreenDialogsLoseTheirCaptionOthersKeepIt)
{
    struct Case {
        const char *what;
        DWORD flags;
        bool fullScreen;
    } cases[] = {
        {"SIZEDLGFULLSCREEN", SHIDIF_SIZEDLGFULLSCREEN, true},
        {"FULLSCREENNOMENUBAR", SHIDIF_FULLSCREENNOMENUBAR, true},
        {"the About dialog's flags", SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN, true},
        {"SIZEDLG", SHIDIF_SIZEDLG, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        HWND dialog = CaptionedDialog();
        ASSERT_TRUE(dialog);
        SHINITDLGINFO info = {SHIDIM_FLAGS, dialog, c.flags};
        EXPECT_TRUE(SHInitDialog(&info));
        RECT area = ScreenBelowNavigationBar(), window, client;
        GetWindowRect(dialog, &window);
        GetClientRect(dialog, &client);
        EXPECT_TRUE(EqualRect(&area, &window)) << "the screen below the navigation bar";
        DWORD style = (DWORD)GetWindowLongW(dialog, GWL_STYLE);
        if (c.fullScreen) {
            EXPECT_EQ(0u, style & (WS_CAPTION | WS_BORDER | WS_DLGFRAME));
            EXPECT_EQ(area.right - area.left, client.right) << "no frame";
            EXPECT_EQ(area.bottom - area.top, client.bottom) << "no caption";
        } else {
            EXPECT_EQ((DWORD)WS_CAPTION, style & WS_CAPTION);
            EXPECT_LT(client.bottom, area.bottom - area.top) << "its caption takes a part";
        }
        wchar_t title[32] = {};
        GetWindowTextW(dialog, title, 32);
        EXPECT_STREQ(L"captioned", title) << "the title the navigation bar shows";
        DestroyWindow(dialog);
    }
}

// The navigation bar's "ok" for a window: asked for through the dialog
// set-up or the extended style, refused by the style bit.
TEST(InitDialogTest, DoneButtonIsAskedForAndCanBeRefused)
{
    struct Case {
        const char *what;
        DWORD style, exStyle, initFlags;
        bool wants;
    } cases[] = {
        {"a plain window", WS_POPUP, 0, 0, false},
        {"set up without DONEBUTTON", WS_POPUP, 0, SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_EMPTYMENU, false},
        {"set up with DONEBUTTON", WS_POPUP, 0, SHIDIF_DONEBUTTON, true},
        {"WS_EX_CAPTIONOKBTN", WS_POPUP, WS_EX_CAPTIONOKBTN, 0, true},
        {"WS_NONAVDONEBUTTON and DONEBUTTON", WS_POPUP | WS_NONAVDONEBUTTON, 0, SHIDIF_DONEBUTTON, false},
        {"WS_NONAVDONEBUTTON and WS_EX_CAPTIONOKBTN", WS_POPUP | WS_NONAVDONEBUTTON, WS_EX_CAPTIONOKBTN, 0,
         false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        HWND window = CreateWindowExW(c.exStyle, L"STATIC", L"", c.style, 0, 0, 50, 50, nullptr, nullptr,
                                      GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(window);
        if (c.initFlags) {
            SHINITDLGINFO info = {SHIDIM_FLAGS, window, c.initFlags};
            EXPECT_TRUE(SHInitDialog(&info));
        }
        EXPECT_EQ(c.wants, WantsNavigationDoneButton(window));
        DestroyWindow(window);
        EXPECT_FALSE(WantsNavigationDoneButton(window)) << "a window that is gone";
    }
    EXPECT_FALSE(WantsNavigationDoneButton(nullptr));

    // The About template asks for it itself, before any set-up.
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(IDD_ABOUT), RT_DIALOG);
    ASSERT_TRUE(found);
    HWND about = CreateDialogIndirectParamW(instance, (LPCDLGTEMPLATEW)LockResource(LoadResource(instance, found)),
                                            nullptr, PlainDialogProc, 0);
    ASSERT_TRUE(about);
    EXPECT_TRUE(WantsNavigationDoneButton(about));
    DestroyWindow(about);
}

// The device's rules for top-level windows, which this test program has
// too: CW_USEDEFAULT fills the screen below the navigation bar, a window that
// asks for no caption gets none; child windows and given places stay.
TEST(TopLevelWindowTest, DefaultPlaceIsTheScreenBelowTheNavigationBar)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HWND window = CreateWindowExW(0, L"STATIC", L"", WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
    ASSERT_TRUE(window);
    RECT area = ScreenBelowNavigationBar();
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
// it lies on the screen below the navigation bar, and is moved onto it
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

TEST(TopLevelWindowTest, DialogsKeepTheirPlaceOnTheScreenBelowTheNavigationBar)
{
    HWND owner = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 100, 200, 300, 300, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(owner);
    PlacedDialog small = ShowPlacedDialog(owner, 40);
    EXPECT_EQ(100, small.clientOrigin.x);
    EXPECT_EQ(200, small.clientOrigin.y);

    // At the top of its owner's client area, its caption would cover the bar.
    const int bar = NavigationBarHeight();
    MoveWindow(owner, 0, bar, 300, 300, FALSE);
    PlacedDialog top = ShowPlacedDialog(owner, 40);
    EXPECT_EQ(0, top.rect.left);
    EXPECT_EQ(bar, top.rect.top);

    PlacedDialog tall = ShowPlacedDialog(owner, 2000);     // taller than the screen
    EXPECT_EQ(bar, tall.rect.top) << "its top stays below the navigation bar";
    DestroyWindow(owner);
}

}  // namespace
