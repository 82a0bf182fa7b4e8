// The popup commands, sent as the menus send them.
#include "test_support.h"
#include "../common/colour_labels.h"
#include "item/board_primitives.h"
#include "item/commands.h"
#include "item/install_folders.h"
#include "item/item_commands.h"
#include "item/library.h"
#include "item/menus.h"
#include "item/stamp_shapes.h"

namespace {

// Runs the probe program with `args` and waits for it.
DWORD RunProbe(const std::wstring &args)
{
    std::wstring command = L"\"" + BinaryDir() + L"\\clipboard_probe.exe\" " + args;
    STARTUPINFOW si = {sizeof(si)};
    PROCESS_INFORMATION pi;
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return 0xFFFF;
    WaitForSingleObject(pi.hProcess, 20000);
    DWORD code = 0xFFFE;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return code;
}

std::wstring ReadUtf16File(const std::wstring &path)
{
    std::vector<BYTE> bytes = ReadWholeFile(path);
    return std::wstring((const wchar_t *)bytes.data(), bytes.size() / 2);
}

bool Checked(HMENU menu, UINT id)
{
    return GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED;
}

class CommandsTest : public ItemTest {
protected:
    void SetUp() override
    {
        ItemTest::SetUp();
        ASSERT_TRUE(CreateItem());
    }
    LRESULT Command(UINT id) { return SendMessageW(item, WM_COMMAND, id, 0); }
    PixelBytes Pixel(int c, int r) { return BoardPixelAt(c, r); }
};

TEST_F(CommandsTest, EditModeCommandsSwitchAndSave)
{
    Command(IDM_ENTER_EDIT_MODE);
    EXPECT_EQ(1, g_item.graphicsEditMode);
    EXPECT_EQ(L"1", ReadStored(L"contdisp").Text());
    Command(IDM_EXIT_EDIT_MODE);
    EXPECT_EQ(0, g_item.graphicsEditMode);
    EXPECT_EQ(L"2", ReadStored(L"contdisp").Text());
}

TEST_F(CommandsTest, TextSizeAndItemHeightStayWithinTheirBounds)
{
    g_item.fontSize = 30;
    Command(IDM_LARGER_TEXT);
    EXPECT_EQ(30, g_item.fontSize);
    EXPECT_EQ(L"30", ReadStored(L"fonts").Text()) << "saved all the same";
    g_item.fontSize = 3;
    Command(IDM_SMALLER_TEXT);
    EXPECT_EQ(3, g_item.fontSize);
    Command(IDM_LARGER_TEXT);
    EXPECT_EQ(4, g_item.fontSize);

    g_item.refreshPending = 0;
    g_item.itemHeight = 630;
    Command(IDM_LARGER_WINDOW);
    EXPECT_EQ(640, g_item.itemHeight);
    EXPECT_EQ(1, g_item.refreshPending);
    g_item.itemHeight = 50;
    Command(IDM_SMALLER_WINDOW);
    EXPECT_EQ(40, g_item.itemHeight);
    EXPECT_EQ(L"40", ReadStored(L"cheight").Text());
    Command(IDM_SMALLER_WINDOW);
    EXPECT_EQ(40, g_item.itemHeight);
    Command(IDM_LARGER_WINDOW);
    EXPECT_EQ(60, g_item.itemHeight);
}

TEST_F(CommandsTest, ColourFollowsThePopupOpenedLast)
{
    g_item.menuContext = MENU_CONTEXT_PEN_COLOR;
    Command(IDM_COLOR_RED);
    EXPECT_EQ(3, g_item.penColorIndex);
    EXPECT_EQ(255, g_item.penColorRGB.red);
    EXPECT_TRUE(Checked(g_item.penColorMenu, IDM_COLOR_RED));
    EXPECT_FALSE(Checked(g_item.penColorMenu, IDM_COLOR_GREEN));
    // The corner tap resets the context: "Blue" then is the text colour.
    g_item.interactionState = TOOL_ERASER;
    PopupMenuDriver chooser({});
    SendMessageW(item, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    ASSERT_TRUE(chooser.Wait());
    SendMessageW(item, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    Command(IDM_COLOR_BLUE);
    EXPECT_EQ(7, g_item.textColorIndex);
    EXPECT_EQ(255, g_item.textColorRGB.blue);
    EXPECT_EQ(0, g_item.useThemeTextColor);
    EXPECT_EQ(255, g_item.penColorRGB.red) << "the pen stays red";
    EXPECT_EQ(TOOL_PEN, g_item.interactionState);
    EXPECT_EQ(L"7", ReadStored(L"tcolor").Text());
    EXPECT_TRUE(Checked(g_item.textColorMenu, IDM_COLOR_BLUE));
    Command(IDM_COLOR_THEME_TEXT);
    EXPECT_EQ(1, g_item.useThemeTextColor);
    EXPECT_EQ(255, g_item.textColorRGB.blue);
    EXPECT_TRUE(Checked(g_item.textColorMenu, IDM_COLOR_THEME_TEXT));
    EXPECT_FALSE(Checked(g_item.textColorMenu, IDM_COLOR_BLUE));
}

TEST_F(CommandsTest, StampAndEraserColoursSelectTheirTools)
{
    g_item.menuContext = MENU_CONTEXT_STAMP_COLOR;
    Command(IDM_COLOR_PURPLE);
    EXPECT_EQ(TOOL_STAMP, g_item.interactionState);
    EXPECT_EQ(255, g_item.stampColorRGB.blue);
    EXPECT_TRUE(Checked(g_item.stampColorMenu, IDM_COLOR_PURPLE));
    g_item.menuContext = MENU_CONTEXT_ERASER_COLOR;
    Command(IDM_COLOR_PINK);
    EXPECT_EQ(TOOL_ERASER, g_item.interactionState);
    EXPECT_EQ(239, g_item.eraserColorRGB.red);
    EXPECT_TRUE(Checked(g_item.eraserMenu, IDM_COLOR_PINK));
    EXPECT_TRUE(Checked(g_item.clearBoardMenu, IDM_COLOR_PINK));
    EXPECT_EQ(0, g_item.boardDirty) << "choosing an eraser does not clear";
    Command(IDM_TRANSPARENT);
    EXPECT_EQ(224, g_item.eraserColorRGB.red);
    EXPECT_TRUE(Checked(g_item.eraserMenu, IDM_TRANSPARENT));
    EXPECT_FALSE(Checked(g_item.eraserMenu, IDM_COLOR_PINK));
    // "Transparent" from the pen colour popup only repaints.
    g_item.menuContext = MENU_CONTEXT_PEN_COLOR;
    g_item.penColorRGB = {1, 2, 3};
    Command(IDM_TRANSPARENT);
    EXPECT_EQ(1, g_item.penColorRGB.red);
}

TEST_F(CommandsTest, ClearingFillsTheBoardAndSharesTheEraserChecks)
{
    g_item.menuContext = MENU_CONTEXT_CLEAR_BOARD;
    Command(IDM_COLOR_BLUE);
    EXPECT_EQ(255, Pixel(0, 0).blue);
    EXPECT_EQ(0, Pixel(639, 639).red);
    EXPECT_EQ(1, g_item.boardDirty);
    EXPECT_EQ(255, g_item.eraserColorRGB.blue);
    EXPECT_TRUE(Checked(g_item.eraserMenu, IDM_COLOR_BLUE));
    EXPECT_TRUE(Checked(g_item.clearBoardMenu, IDM_COLOR_BLUE));
    EXPECT_EQ(MENU_CONTEXT_CLEAR_BOARD, g_item.menuContext);
    EXPECT_FALSE(Checked(g_item.clearBoardMenu, IDM_CLEAR_WITH_ERASER));

    // "Use current eraser" with the Transparent eraser: the background grey.
    g_item.menuContext = MENU_CONTEXT_ERASER_COLOR;
    Command(IDM_TRANSPARENT);
    g_item.menuContext = MENU_CONTEXT_CLEAR_BOARD;
    Command(IDM_CLEAR_WITH_ERASER);
    EXPECT_EQ(224, Pixel(320, 320).red);
    EXPECT_EQ(224, Pixel(320, 320).blue);
    EXPECT_EQ(MENU_CONTEXT_NONE, g_item.menuContext);
    // Outside the clear popup it only resets the context.
    g_item.eraserColorRGB = {0, 0, 0};
    Command(IDM_CLEAR_WITH_ERASER);
    EXPECT_EQ(224, Pixel(320, 320).red);
}

// Every identifier of the colour, width and shape lists, by its label.
TEST_F(CommandsTest, EveryListIdentifierActsAsItsLabelSays)
{
    const LabelledColour *colors = kLabelledColours;
    wchar_t label[64];
    for (int i = 0; i < 17; i++) {
        UINT id = GetMenuItemID(g_item.penColorMenu, i);
        GetMenuStringW(g_item.penColorMenu, i, label, 64, MF_BYPOSITION);
        EXPECT_EQ(std::string(colors[i].label), std::string(label, label + wcslen(label)));
        EXPECT_EQ(id, GetMenuItemID(g_item.stampColorMenu, i));
        EXPECT_EQ(id, GetMenuItemID(g_item.textColorMenu, i));
        EXPECT_EQ(id, GetMenuItemID(g_item.eraserMenu, i + 1));
        EXPECT_EQ(id, GetMenuItemID(g_item.clearBoardMenu, i + 2));
        g_item.menuContext = MENU_CONTEXT_PEN_COLOR;
        Command(id);
        EXPECT_EQ(colors[i].red, g_item.penColorRGB.red) << colors[i].label;
        EXPECT_EQ(colors[i].green, g_item.penColorRGB.green) << colors[i].label;
        EXPECT_EQ(colors[i].blue, g_item.penColorRGB.blue) << colors[i].label;
        EXPECT_TRUE(Checked(g_item.penColorMenu, id));
    }
    for (int i = 0; i < 10; i++) {
        g_item.menuContext = MENU_CONTEXT_PEN_WIDTH;
        Command(GetMenuItemID(g_item.penWidthMenu, i));
        EXPECT_EQ(i + 1, g_item.penWidth);
        GetMenuStringW(g_item.penWidthMenu, i, label, 64, MF_BYPOSITION);
        EXPECT_EQ(std::to_wstring(i + 1), label);
    }
    const int shapes[12] = {SHAPE_STAR_S, SHAPE_STAR_L, SHAPE_HEART_S, SHAPE_HEART_L,
                            SHAPE_CIRCLE_OUTLINE_S, SHAPE_CIRCLE_OUTLINE_L, SHAPE_CIRCLE_FILLED_S,
                            SHAPE_CIRCLE_FILLED_L, SHAPE_SQUARE_OUTLINE_S, SHAPE_SQUARE_OUTLINE_L,
                            SHAPE_SQUARE_FILLED_S, SHAPE_SQUARE_FILLED_L};
    for (int i = 0; i < 12; i++) {
        Command(GetMenuItemID(g_item.shapeMenu, i));
        EXPECT_EQ(shapes[i], g_item.shapeIndex) << i;
    }
    EXPECT_EQ(0, g_item.boardDirty) << "no list command drew";
}

TEST_F(CommandsTest, WidthsAndShapesFollowTheirPopupAndAreNotKept)
{
    Command(IDM_WIDTH_7);
    EXPECT_EQ(2, g_item.penWidth) << "no width popup open";
    g_item.menuContext = MENU_CONTEXT_PEN_WIDTH;
    Command(IDM_WIDTH_7);
    EXPECT_EQ(7, g_item.penWidth);
    EXPECT_TRUE(Checked(g_item.penWidthMenu, IDM_WIDTH_7));
    g_item.menuContext = MENU_CONTEXT_ERASER_WIDTH;
    Command(IDM_WIDTH_10);
    EXPECT_EQ(10, g_item.eraserWidth);
    EXPECT_TRUE(Checked(g_item.eraserWidthMenu, IDM_WIDTH_10));
    EXPECT_FALSE(Checked(g_item.eraserWidthMenu, IDM_WIDTH_5));
    Command(IDM_HEART_L);
    EXPECT_EQ(5, g_item.shapeIndex);
    EXPECT_TRUE(Checked(g_item.shapeMenu, IDM_HEART_L));
    EXPECT_FALSE(Checked(g_item.shapeMenu, IDM_STAR_S));
    DestroyWindow(item);
    ReloadLibrary();
    EXPECT_EQ(2, g_item.penWidth);
    EXPECT_EQ(5, g_item.eraserWidth);
    EXPECT_EQ(1, g_item.shapeIndex);
}

TEST_F(CommandsTest, CopyPutsThePageWhereAnotherProgramReadsIt)
{
    wcscpy(g_item.pageText[0], L"copied %s text\r\nline two");
    EXPECT_EQ(0, Command(IDM_COPY));
    ASSERT_EQ(0u, RunProbe(L"get T:\\clip.txt"));
    EXPECT_EQ(L"copied %s text\r\nline two", ReadUtf16File(L"T:\\clip.txt"));
    DeleteFileW(L"T:\\clip.txt");
}

TEST_F(CommandsTest, PasteTakesWhatAnotherProgramPut)
{
    ASSERT_EQ(0u, RunProbe(L"set \"from elsewhere\""));
    Command(IDM_PASTE);
    EXPECT_STREQ(L"from elsewhere", g_item.pageText[0]);
    EXPECT_EQ(L"from elsewhere", ReadStored(L"ptext1").Text());
    // 999 units replace the page, 1000 leave it.
    ASSERT_EQ(0u, RunProbe(L"set " + std::wstring(999, L'r')));
    Command(IDM_PASTE);
    EXPECT_EQ(std::wstring(999, L'r'), std::wstring(g_item.pageText[0]));
    wcscpy(g_item.pageText[0], L"kept");
    ASSERT_EQ(0u, RunProbe(L"set " + std::wstring(1000, L'r')));
    Command(IDM_PASTE);
    EXPECT_STREQ(L"kept", g_item.pageText[0]);
    EXPECT_EQ(L"kept", ReadStored(L"ptext1").Text()) << "saved all the same";
}

// Text without a terminator is read only to the end of its block. (Wine,
// like desktop Windows, puts a terminator into the last unit of such text
// when it is set, so the item sees one unit less; it never reads further.)
TEST_F(CommandsTest, PasteReadsTextWithoutTerminatorOnlyToTheEndOfItsBlock)
{
    for (int units : {5, 999, 1000}) {
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, units * sizeof(wchar_t));
        wchar_t *text = (wchar_t *)GlobalLock(memory);
        for (int i = 0; i < units; i++)
            text[i] = L'r';
        GlobalUnlock(memory);
        ASSERT_TRUE(OpenClipboard(nullptr));
        EmptyClipboard();
        ASSERT_TRUE(SetClipboardData(CF_UNICODETEXT, memory));
        CloseClipboard();
        ASSERT_LE(GlobalSize(memory), (SIZE_T)units * 2 + 8) << "the block is not padded much";
        wcscpy(g_item.pageText[0], L"before");
        Command(IDM_PASTE);
        size_t length = wcslen(g_item.pageText[0]);
        EXPECT_GE(length, (size_t)units - 1);
        EXPECT_LE(length, (size_t)units) << "nothing past the block";
        EXPECT_EQ(std::wstring(length, L'r'), std::wstring(g_item.pageText[0]));
    }
    wcscpy(g_item.pageText[0], L"x");
    ASSERT_EQ(0u, RunProbe(L"set rrrrr"));
    Command(IDM_PASTE_TO_END);
    EXPECT_STREQ(L"x\r\nrrrrr", g_item.pageText[0]);
}

TEST_F(CommandsTest, PasteToEndAppendsOnlyWhatFits)
{
    std::wstring page(500, L'p');
    wcscpy(g_item.pageText[0], page.c_str());
    ASSERT_EQ(0u, RunProbe(L"set " + std::wstring(498, L'r')));
    g_item.refreshPending = 0;
    Command(IDM_PASTE_TO_END);
    EXPECT_EQ(page, std::wstring(g_item.pageText[0])) << "500 + 498 + 2 = 1000 does not fit";
    EXPECT_EQ(1, g_item.refreshPending);
    ASSERT_EQ(0u, RunProbe(L"set " + std::wstring(497, L'r')));
    Command(IDM_PASTE_TO_END);
    EXPECT_EQ(page + L"\r\n" + std::wstring(497, L'r'), std::wstring(g_item.pageText[0]));
    EXPECT_EQ(999u, ReadStored(L"ptext1").Text().size());
}

TEST_F(CommandsTest, EmptyClipboardChangesNothing)
{
    OpenClipboard(nullptr);
    EmptyClipboard();
    CloseClipboard();
    wcscpy(g_item.pageText[0], L"unchanged");
    Command(IDM_PASTE);
    Command(IDM_PASTE_TO_END);
    EXPECT_STREQ(L"unchanged", g_item.pageText[0]);
    EXPECT_FALSE(ReadStored(L"ptext1").Text() == L"") ;
}

TEST(EditorPath, FollowsTheFolderOfTheBoard)
{
    const wchar_t *fallback = L"\\program files\\inkleaf_item\\inkpad_app.exe";
    const struct { int index; const wchar_t *ownFolder, *path; } cases[] = {
        {2, L"", L"\\program Files\\inkleaf_item\\inkpad_app.exe"},
        {1, L"", L"\\Programmi\\inkleaf_item\\inkpad_app.exe"},
        {12, L"", L"\\Programmes\\inkleaf_item\\inkpad_app.exe"},
        {0, L"", fallback},
        {13, L"", fallback},
        // Installed on a storage card: position 0 is the DLL's own folder.
        {0, L"\\Storage Card\\Program Files\\inkleaf_item",
         L"\\Storage Card\\Program Files\\inkleaf_item\\inkpad_app.exe"},
        {2, L"\\Storage Card\\Program Files\\inkleaf_item",
         L"\\program Files\\inkleaf_item\\inkpad_app.exe"},
    };
    for (const auto &c : cases) {
        wcscpy(g_item.ownFolder, c.ownFolder);
        WCHAR path[MAX_PATH];
        EditorPath(c.index, path);
        EXPECT_STREQ(c.path, path) << c.index;
    }
    g_item.ownFolder[0] = 0;
}

TEST(InstallFolders, TheTwelveAreKnownWithOrWithoutADriveLetter)
{
    const struct { const wchar_t *folder; bool listed; } cases[] = {
        {L"\\program files\\inkleaf_item", true},
        {L"C:\\Program Files\\inkleaf_item", true},
        {L"\\Programmi\\INKLEAF_ITEM", true},
        {L"\\Storage Card\\Program Files\\inkleaf_item", false},
        {L"C:\\Storage Card\\Program Files\\inkleaf_item", false},
        {L"\\Programmi", false},
        {L"\\Windows", false},
        {L"", false},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.listed, IsListedInstallFolder(c.folder)) << c.folder;
}

// The editor is started for real: a program standing in for it at the
// chosen path records its command line.
TEST_F(CommandsTest, EditTextStartsTheEditorWithThePageNumber)
{
    std::wstring editor = BoardFolder(2) + L"\\inkpad_app.exe";
    ASSERT_TRUE(CopyFileW((BinaryDir() + L"\\clipboard_probe.exe").c_str(), editor.c_str(), FALSE));
    DeleteFileW(L"T:\\probe_args.txt");
    g_item.currentPage = 3;
    g_item.refreshPending = 0;
    ASSERT_EQ(2, g_item.installFolderIndex);
    Command(IDM_EDIT_TEXT);
    EXPECT_STREQ(L"3", g_item.pageArgText);
    EXPECT_EQ(1, g_item.refreshPending);
    std::wstring args;
    for (int i = 0; i < 200 && args.empty(); i++) {
        Sleep(25);
        args = ReadUtf16File(L"T:\\probe_args.txt");
    }
    EXPECT_NE(std::wstring::npos, args.find(L"inkpad_app.exe")) << std::string(args.begin(), args.end());
    EXPECT_EQ(L" 3", args.substr(args.size() - 2));
    // Nothing there: the item reports nothing itself. (Wine's shell, asked
    // without SEE_MASK_FLAG_NO_UI, shows its own message, answered here.)
    DeleteFileW(editor.c_str());
    g_item.installFolderIndex = 13;
    g_item.refreshPending = 0;
    {
        MessageBoxWatcher boxes;
        Command(IDM_EDIT_TEXT);
    }
    EXPECT_EQ(1, g_item.refreshPending);
    DeleteFileW(L"T:\\probe_args.txt");
}

}  // namespace
