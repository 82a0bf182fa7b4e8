// RelayoutDialog and RefreshControl on real dialogs: controls are knocked
// out of place, then put back from the template in the dialog's own units.
#include "editor_test_support.h"
#include "editor/dialog_template.h"
#include "editor/dialogs.h"
#include "editor/editor_state.h"
#include "editor/relayout.h"
#include "editor/resources/editor_resource.h"

namespace {

const WORD kUnnamed = 0xFFFF;      // GetDlgItem finds id -1 controls by their 16-bit id

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

std::vector<BYTE> TemplateBytes(UINT id)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(id), RT_DIALOG);
    const BYTE *bytes = (const BYTE *)LockResource(LoadResource(instance, found));
    return std::vector<BYTE>(bytes, bytes + SizeofResource(instance, found));
}

class RelayoutTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        instance = GetModuleHandleW(nullptr);
        SHInitExtraControls();
    }
    void TearDown() override
    {
        for (HWND d : dialogs)
            DestroyWindow(d);
    }
    HWND Create(const std::vector<BYTE> &bytes, DLGPROC procedure = PlainDialogProc)
    {
        HWND d = CreateDialogIndirectParamW(instance, (const DLGTEMPLATE *)bytes.data(), nullptr,
                                            procedure, 0);
        if (d)
            dialogs.push_back(d);
        return d;
    }
    HWND Create(UINT id) { return Create(TemplateBytes(id)); }

    // Where a template rectangle lands in this dialog's dialog units.
    static RECT Expected(HWND dialog, int x, int y, int cx, int cy)
    {
        RECT r = {x, y, x + cx, y + cy};
        MapDialogRect(dialog, &r);
        return r;
    }
    static RECT Placed(HWND dialog, HWND control)
    {
        RECT r;
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, dialog, (POINT *)&r, 2);
        return r;
    }
    static void KnockOut(HWND control) { MoveWindow(control, 0, 0, 3, 3, FALSE); }
    static std::wstring Text(HWND control)
    {
        wchar_t text[300] = {};
        GetWindowTextW(control, text, 300);
        return text;
    }

    HINSTANCE instance = nullptr;
    std::vector<HWND> dialogs;
};

void ExpectRect(const RECT &expected, const RECT &actual, const char *what)
{
    EXPECT_EQ(expected.left, actual.left) << what;
    EXPECT_EQ(expected.top, actual.top) << what;
    EXPECT_EQ(expected.right, actual.right) << what;
    EXPECT_EQ(expected.bottom, actual.bottom) << what;
}

TEST_F(RelayoutTest, AboutTemplatePlacesBothControlsInTheDialogsNewUnits)
{
    // The same template with a larger font: other dialog units.
    std::vector<BYTE> bytes = TemplateBytes(IDD_ABOUT);
    DialogHeader header;
    ASSERT_TRUE(ReadDialogHeader(bytes.data(), bytes.size(), &header));
    ASSERT_TRUE(header.hasFont);
    bytes[header.typeface.textOffset - 2] = 14;
    HWND larger = Create(bytes);
    HWND original = Create(IDD_ABOUT);
    ASSERT_TRUE(larger && original);
    RECT small = Expected(original, 14, 45, 123, 88);
    RECT large = Expected(larger, 14, 45, 123, 88);
    ASSERT_GT(large.right - large.left, small.right - small.left) << "the units differ";

    HWND icon = GetDlgItem(larger, IDC_ABOUT_ICON);
    HWND text = GetDlgItem(larger, kUnnamed);
    ASSERT_TRUE(icon && text);
    KnockOut(icon);
    KnockOut(text);
    SetWindowTextW(text, L"scribbled over");
    SendMessageW(icon, STM_SETIMAGE, IMAGE_ICON, 0);

    EXPECT_EQ(TRUE, RelayoutDialog(instance, larger, IDD_ABOUT));
    ExpectRect(Expected(larger, 12, 11, 20, 20), Placed(larger, icon), "icon");
    ExpectRect(large, Placed(larger, text), "text");
    EXPECT_EQ(0u, Text(text).rfind(L"Inkleaf\nVersion 1.09a\n\n", 0)) << "template text again";
    EXPECT_TRUE(SendMessageW(icon, STM_GETIMAGE, IMAGE_ICON, 0)) << "icon 101 shown again";
}

TEST_F(RelayoutTest, AboutDialogLaysItselfOutWhenItsSizeChanges)
{
    ASSERT_TRUE(InitEditorState(instance, L"1"));
    HWND about = Create(TemplateBytes(IDD_ABOUT), AboutDialogProc);
    ASSERT_TRUE(about);
    RECT area, r;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    GetWindowRect(about, &r);
    EXPECT_EQ(area.right - area.left, r.right - r.left) << "full screen";
    HWND text = GetDlgItem(about, kUnnamed);
    KnockOut(text);
    KnockOut(GetDlgItem(about, IDC_ABOUT_ICON));
    // The screen turns: the dialog is given another size.
    MoveWindow(about, 0, 0, r.bottom - r.top, r.right - r.left, TRUE);
    ExpectRect(Expected(about, 14, 45, 123, 88), Placed(about, text), "text");
    ExpectRect(Expected(about, 12, 11, 20, 20), Placed(about, GetDlgItem(about, IDC_ABOUT_ICON)), "icon");
    FreeEditorBuffers();
}

TEST_F(RelayoutTest, TwoUnnamedControlsStillMoveButGiveFalse)
{
    HWND d = Create(901);
    ASSERT_TRUE(d);
    HWND unnamed = GetDlgItem(d, kUnnamed);
    HWND named = GetDlgItem(d, 300);
    KnockOut(unnamed);
    KnockOut(named);
    EXPECT_EQ(FALSE, RelayoutDialog(instance, d, 901));
    ExpectRect(Expected(d, 10, 50, 60, 10), Placed(d, named), "named control");
    // Both id -1 items find the first such control, and both moves of it
    // go into the one deferred batch: the later one is where it ends.
    ExpectRect(Expected(d, 10, 30, 60, 10), Placed(d, unnamed), "first id -1 control");
}

TEST_F(RelayoutTest, MissingControlGivesFalseAndLaterControlsAreStillPlaced)
{
    HWND d = Create(903);             // 902 without its button 302
    ASSERT_TRUE(d);
    HWND alpha = GetDlgItem(d, 301), gamma = GetDlgItem(d, 303);
    KnockOut(alpha);
    KnockOut(gamma);
    SetWindowTextW(gamma, L"changed");
    EXPECT_EQ(FALSE, RelayoutDialog(instance, d, 902));
    ExpectRect(Expected(d, 10, 10, 60, 10), Placed(d, alpha), "before the gap");
    ExpectRect(Expected(d, 10, 50, 60, 10), Placed(d, gamma), "after the gap");
    EXPECT_EQ(L"Gamma", Text(gamma));
    // Buttons get their template text back too.
    HWND full = Create(902);
    SetWindowTextW(GetDlgItem(full, 302), L"pressed");
    EXPECT_EQ(TRUE, RelayoutDialog(instance, full, 902));
    EXPECT_EQ(L"Beta", Text(GetDlgItem(full, 302)));
}

TEST_F(RelayoutTest, StaticIconKeepsItsIconWhenTheResourceIsMissing)
{
    HWND d = Create(905);
    ASSERT_TRUE(d);
    HICON own = CreateIcon(nullptr, 16, 16, 1, 1, std::vector<BYTE>(32, 0xFF).data(),
                           std::vector<BYTE>(32, 0).data());
    ASSERT_TRUE(own);
    SendDlgItemMessageW(d, 310, STM_SETIMAGE, IMAGE_ICON, (LPARAM)own);
    EXPECT_EQ(TRUE, RelayoutDialog(instance, d, 904));     // icon 999 does not exist
    EXPECT_EQ((LRESULT)own, SendDlgItemMessageW(d, 310, STM_GETIMAGE, IMAGE_ICON, 0));
    ICONINFO info;
    ASSERT_TRUE(GetIconInfo(own, &info)) << "the shown icon was not destroyed";
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);

    // With the resource present the icon is reloaded and the old one freed.
    EXPECT_EQ(TRUE, RelayoutDialog(instance, d, 905));
    HICON shown = (HICON)SendDlgItemMessageW(d, 310, STM_GETIMAGE, IMAGE_ICON, 0);
    EXPECT_EQ(LoadIconW(instance, MAKEINTRESOURCEW(IDI_APP)), shown);
    EXPECT_FALSE(GetIconInfo(own, &info)) << "the replaced icon is destroyed";
    // Reloading the same shared icon leaves it usable.
    EXPECT_EQ(TRUE, RelayoutDialog(instance, d, 905));
    EXPECT_TRUE(GetIconInfo(shown, &info));
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
}

TEST_F(RelayoutTest, ListAndComboSelectionsAreKeptAndNoneStaysNone)
{
    HWND d = Create(906);
    ASSERT_TRUE(d);
    HWND list = GetDlgItem(d, 320), combo = GetDlgItem(d, 321);
    for (int i = 0; i < 100; i++) {
        std::wstring entry = L"entry " + std::to_wstring(i);
        SendMessageW(list, LB_ADDSTRING, 0, (LPARAM)entry.c_str());
        SendMessageW(combo, CB_ADDSTRING, 0, (LPARAM)entry.c_str());
    }
    EXPECT_EQ(TRUE, RelayoutDialog(instance, d, 906));
    EXPECT_EQ(LB_ERR, SendMessageW(list, LB_GETCURSEL, 0, 0)) << "no selection is made up";
    EXPECT_EQ(CB_ERR, SendMessageW(combo, CB_GETCURSEL, 0, 0));

    SendMessageW(list, LB_SETCURSEL, 80, 0);
    SendMessageW(list, LB_SETTOPINDEX, 0, 0);
    SendMessageW(combo, CB_SETCURSEL, 7, 0);
    EXPECT_EQ(TRUE, RelayoutDialog(instance, d, 906));
    EXPECT_EQ(80, SendMessageW(list, LB_GETCURSEL, 0, 0));
    EXPECT_GT(SendMessageW(list, LB_GETTOPINDEX, 0, 0), 0) << "the selection is scrolled into view";
    EXPECT_EQ(7, SendMessageW(combo, CB_GETCURSEL, 0, 0));
}

TEST_F(RelayoutTest, MissingMalformedOrExtendedTemplatesGiveFalseAndMoveNothing)
{
    HWND d = Create(920);
    ASSERT_TRUE(d);
    HWND first = GetDlgItem(d, 330);
    KnockOut(first);
    for (UINT id : {921u, 922u, 12345u}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(FALSE, RelayoutDialog(instance, d, id));
        RECT r = Placed(d, first);
        EXPECT_EQ(3, r.right - r.left) << "nothing moved";
    }
    EXPECT_EQ(TRUE, RelayoutDialog(instance, d, 920));
    ExpectRect(Expected(d, 5, 5, 40, 10), Placed(d, first), "well-formed twin");
}

}  // namespace
