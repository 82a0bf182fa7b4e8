// The resources of the built inkpad_app.exe, read from the program file as
// the device's loader and shell read them.
#include "editor_test_support.h"
#include "editor/dialog_template.h"

namespace {

// A template field as text: "#number" or the string.
std::wstring FieldText(const std::vector<BYTE> &bytes, const TemplateField &field)
{
    if (field.isNumber)
        return L"#" + std::to_wstring(field.number);
    return std::wstring((const wchar_t *)(bytes.data() + field.textOffset), field.textLength);
}

class ProgramResources : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        program = LoadLibraryExW(EditorProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    }
    static void TearDownTestSuite() { FreeLibrary(program); }
    void SetUp() override { ASSERT_TRUE(program) << "inkpad_app.exe next to the tests"; }

    static std::vector<BYTE> Bytes(LPCWSTR name, LPCWSTR type)
    {
        HRSRC found = FindResourceW(program, name, type);
        if (!found)
            return {};
        const BYTE *p = (const BYTE *)LockResource(LoadResource(program, found));
        return std::vector<BYTE>(p, p + SizeofResource(program, found));
    }
    static std::wstring String(UINT id)
    {
        wchar_t text[100] = {};
        LoadStringW(program, id, text, 100);
        return text;
    }
    static HMODULE program;
};
HMODULE ProgramResources::program = nullptr;

TEST_F(ProgramResources, StringsIconMenuAndHighResolutionFlag)
{
    EXPECT_EQ(L"inkpad_app", String(1));
    EXPECT_EQ(L"INKPAD_APP", String(2));
    EXPECT_EQ(L"OK", String(103));
    EXPECT_EQ(L"HELP", String(104));

    // The program icon has an image of each size the device's LoadIcon asks
    // for: 16 in lists, 32 at 96 dpi, 64 at 192 dpi.
    std::vector<BYTE> group = Bytes(MAKEINTRESOURCEW(101), RT_GROUP_ICON);
    ASSERT_EQ(6u + 3 * 14u, group.size()) << "a group of three images";
    EXPECT_EQ(3, group[4] | group[5] << 8);
    std::vector<int> sizes;
    for (size_t i = 0; i < 3; ++i) {
        const BYTE *entry = group.data() + 6 + 14 * i;
        EXPECT_EQ(entry[0], entry[1]) << "square image " << i;
        EXPECT_EQ(16, entry[2]) << "16 colours in image " << i;
        EXPECT_EQ(4, entry[6] | entry[7] << 8) << "4 bits per pixel in image " << i;
        sizes.push_back(entry[0]);
    }
    EXPECT_EQ((std::vector<int>{16, 32, 64}), sizes);

    HMENU menu = LoadMenuW(program, MAKEINTRESOURCEW(102));
    ASSERT_TRUE(menu);
    wchar_t text[32];
    EXPECT_EQ(1, GetMenuItemCount(menu));
    GetMenuStringW(menu, 0, text, 32, MF_BYPOSITION);
    EXPECT_STREQ(L"Help", text);
    HMENU help = GetSubMenu(menu, 0);
    ASSERT_TRUE(help);
    EXPECT_EQ(1, GetMenuItemCount(help));
    EXPECT_EQ(40002u, GetMenuItemID(help, 0));
    GetMenuStringW(help, 0, text, 32, MF_BYPOSITION);
    EXPECT_STREQ(L"About", text);
    DestroyMenu(menu);

    EXPECT_EQ((std::vector<BYTE>{1, 0}), Bytes(L"HI_RES_AWARE", L"CEUX"));
}

// Each size loads an icon of that size, from the image made for it.
TEST_F(ProgramResources, ProgramIconAtEachSystemSize)
{
    std::vector<BYTE> group = Bytes(MAKEINTRESOURCEW(101), RT_GROUP_ICON);
    ASSERT_FALSE(group.empty());
    for (int n : {16, 32, 64}) {
        SCOPED_TRACE(n);
        int id = LookupIconIdFromDirectoryEx(group.data(), TRUE, n, n, 0);
        std::vector<BYTE> image = Bytes(MAKEINTRESOURCEW(id), RT_ICON);
        ASSERT_GE(image.size(), sizeof(BITMAPINFOHEADER));
        EXPECT_EQ(n, ((const BITMAPINFOHEADER *)image.data())->biWidth) << "the image chosen is drawn at n";

        HICON icon = (HICON)LoadImageW(program, MAKEINTRESOURCEW(101), IMAGE_ICON, n, n, 0);
        ASSERT_TRUE(icon);
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bitmap = {};
        ASSERT_TRUE(GetObjectW(info.hbmColor, sizeof bitmap, &bitmap));
        EXPECT_EQ(n, bitmap.bmWidth);
        EXPECT_EQ(n, bitmap.bmHeight);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
}

TEST_F(ProgramResources, MenuBarDataAndAccelerators)
{
    std::vector<BYTE> bar = Bytes(MAKEINTRESOURCEW(102), RT_RCDATA);
    const WORD expected[] = {102, 2,
                             0xFFFE, 40000, 0x04, 0x10, 103, 0, 0xFFFF,
                             0xFFFE, 40001, 0x04, 0x18, 104, 0, 0};
    ASSERT_EQ(sizeof(expected), bar.size());
    EXPECT_EQ(0, memcmp(expected, bar.data(), sizeof(expected)));

    HACCEL table = LoadAcceleratorsW(program, MAKEINTRESOURCEW(2));
    ASSERT_TRUE(table);
    ACCEL keys[4];
    ASSERT_EQ(2, CopyAcceleratorTableW(table, keys, 4));
    const BYTE flags = FVIRTKEY | FCONTROL | FNOINVERT;
    EXPECT_EQ(flags, keys[0].fVirt & ~0x80);
    EXPECT_EQ('A', keys[0].key);
    EXPECT_EQ(40002, keys[0].cmd);
    EXPECT_EQ(flags, keys[1].fVirt & ~0x80);
    EXPECT_EQ('Q', keys[1].key);
    EXPECT_EQ(40000, keys[1].cmd);
    DestroyAcceleratorTable(table);
}

struct ExpectedControl {
    WORD id;
    const wchar_t *className;   // "#128" for a numbered class
    const wchar_t *title;
    short x, y, cx, cy;
    DWORD styleBits;            // must be set
    DWORD absentBits;           // must be clear
    bool titleBegins = false;   // the title need only begin with `title`
};

void ExpectDialog(const std::vector<BYTE> &bytes, const wchar_t *caption, short cx, short cy,
                  DWORD exStyle, const std::vector<ExpectedControl> &controls)
{
    DialogHeader header;
    ASSERT_TRUE(ReadDialogHeader(bytes.data(), bytes.size(), &header));
    EXPECT_EQ((DWORD)(WS_POPUP | WS_CAPTION | DS_SETFONT),
              header.style & (WS_POPUP | WS_CAPTION | WS_CHILD | DS_SETFONT));
    EXPECT_EQ(exStyle, header.exStyle);
    EXPECT_EQ(cx, header.cx);
    EXPECT_EQ(cy, header.cy);
    EXPECT_EQ(caption, FieldText(bytes, header.title));
    EXPECT_EQ(8, header.pointSize);
    EXPECT_EQ(L"MS Shell Dlg", FieldText(bytes, header.typeface));
    ASSERT_EQ(controls.size(), header.itemCount);
    size_t offset = header.itemsOffset;
    for (const ExpectedControl &c : controls) {
        DialogItem item;
        ASSERT_TRUE(ReadDialogItem(bytes.data(), bytes.size(), &offset, &item));
        SCOPED_TRACE(testing::Message() << "control " << (short)c.id);
        EXPECT_EQ(c.id, item.id);
        EXPECT_EQ(c.className, FieldText(bytes, item.classField));
        std::wstring title = FieldText(bytes, item.title);
        EXPECT_EQ(c.title, c.titleBegins ? title.substr(0, wcslen(c.title)) : title);
        EXPECT_EQ(c.x, item.x);
        EXPECT_EQ(c.y, item.y);
        EXPECT_EQ(c.cx, item.cx);
        EXPECT_EQ(c.cy, item.cy);
        EXPECT_EQ(c.styleBits | WS_CHILD, item.style & (c.styleBits | WS_CHILD));
        EXPECT_EQ(0u, item.style & c.absentBits);
    }
}

TEST_F(ProgramResources, AboutDialog)
{
    ExpectDialog(Bytes(MAKEINTRESOURCEW(106), RT_DIALOG), L"Inkleaf", 210, 146, 0x80000000u,
                 {{201, L"#130", L"#101", 12, 11, 20, 20, WS_VISIBLE | SS_ICON, 0},
                  {0xFFFF, L"#130", L"Inkleaf\nVersion 1.09a\n\n", 14, 45, 123, 88, WS_VISIBLE, 0, true}});
}

TEST_F(ProgramResources, EditDialog)
{
    const DWORD editStyle = ES_MULTILINE | ES_WANTRETURN | ES_AUTOHSCROLL | WS_VSCROLL | WS_BORDER |
                            WS_TABSTOP | WS_VISIBLE;
    ExpectDialog(Bytes(MAKEINTRESOURCEW(129), RT_DIALOG), L"Edit text", 159, 106, 0,
                 {{1, L"#128", L"OK", 44, 85, 50, 14, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_VISIBLE, 0},
                  {2, L"#128", L"Cancel", 102, 85, 50, 14, WS_TABSTOP | WS_VISIBLE, BS_DEFPUSHBUTTON},
                  {1000, L"#129", L"", 7, 7, 145, 72, editStyle, 0},
                  {0xFFFF, L"SIPPREF", L"", -10, -10, 6, 6, 0, WS_VISIBLE}});
}

}  // namespace
