// The real inkpad_app.exe, started in the prefix and used as a person would:
// start-up with its page number, the edit dialog and the registry, a second
// start, the accelerators, the menu bar and the About dialog.
#include "app_driver.h"
#include "editor_test_support.h"
#include "platform/device_screen.h"

namespace {

const int kPageText = 1000;     // the edit control of the edit dialog

class EditorAppTest : public ItemKeyTest {
protected:
    void TearDown() override
    {
        editor.Terminate();
        ItemKeyTest::TearDown();
    }

    // Starts the editor and returns its main window.
    HWND StartEditor(const std::wstring &arguments)
    {
        EXPECT_TRUE(editor.Start(arguments));
        HWND window = editor.WaitForMainWindow();
        EXPECT_TRUE(window) << "no main window for \"" << std::string(arguments.begin(), arguments.end())
                            << "\"";
        return window;
    }

    // Taps the main window and returns the edit dialog that opens.
    HWND OpenEditDialog(HWND window)
    {
        TapClient(window, 60, 120);
        HWND dialog = WaitForDialog(window, L"Edit text");
        EXPECT_TRUE(dialog) << "a tap opens the edit dialog";
        return dialog;
    }

    // Starts the editor and taps its main window (in *window): the edit
    // dialog that opens.
    HWND StartEditing(const std::wstring &arguments, HWND *window)
    {
        *window = StartEditor(arguments);
        return *window ? OpenEditDialog(*window) : nullptr;
    }

    // Ends the program as its menu-bar OK does and expects exit code 0.
    void CloseEditor(HWND window)
    {
        PostMessageW(window, WM_COMMAND, 40000, 0);
        EXPECT_EQ(0u, editor.WaitForExit());
    }

    EditorProcess editor;
};

TEST_F(EditorAppTest, WithoutAPageTheErrorTextIsShownAndOkChangesNoValue)
{
    for (int page = 1; page <= 5; page++)
        StoreText((L"ptext" + std::to_wstring(page)).c_str(), L"page " + std::to_wstring(page));
    StoreText(L"uscreen", L"0");
    const auto before = ReadAllStored();

    for (const wchar_t *arguments : {L"", L"0", L"6", L"-1", L"word"}) {
        SCOPED_TRACE(testing::Message() << "command line \"" << std::string(arguments, arguments + wcslen(arguments)) << "\"");
        HWND window = StartEditor(arguments);
        ASSERT_TRUE(window);
        EXPECT_FALSE(FindOwnedWindow(L"#32770", nullptr, editor.Id())) << "no message box, ever";
        HWND dialog = OpenEditDialog(window);
        ASSERT_TRUE(dialog);
        EXPECT_EQ(kExpectedErrorText, ControlText(GetDlgItem(dialog, kPageText)));
        ASSERT_TRUE(PressDialogButton(dialog, IDOK));
        EXPECT_TRUE(before == ReadAllStored()) << "OK wrote a value";
        CloseEditor(window);
    }
}

// Command lines no item writes: very long ones, numbers beyond 32 bits,
// control characters and text outside Latin. Each shows the error text
// (or a page, for a leading valid digit) and changes no stored value.
TEST_F(EditorAppTest, StrangeCommandLinesNeitherCrashNorWrite)
{
    StoreText(L"ptext1", L"page one");
    const auto before = ReadAllStored();
    const std::wstring lines[] = {
        std::wstring(30000, L'9'),                    // far beyond 32 bits
        L"4294967297",                                // 2^32 + 1
        L"-2147483648",
        std::wstring(20000, L'x') + L"1",
        L"\t\x01\x7f\u00e9\u4e2d\u6587",
        L"\"1\"",
        std::wstring(5000, L' ') + L"%s%n%d",
    };
    for (const std::wstring &line : lines) {
        SCOPED_TRACE(testing::Message() << "command line of " << line.size() << " characters");
        HWND window, dialog = StartEditing(line, &window);
        ASSERT_TRUE(dialog);
        EXPECT_EQ(kExpectedErrorText, ControlText(GetDlgItem(dialog, kPageText)));
        ASSERT_TRUE(PressDialogButton(dialog, IDOK));
        EXPECT_TRUE(before == ReadAllStored()) << "OK wrote a value";
        CloseEditor(window);
    }
}

TEST_F(EditorAppTest, WithoutAPageTheKeyIsOpenedButNoValueWritten)
{
    HWND window, dialog = StartEditing(L"0", &window);
    ASSERT_TRUE(dialog);
    SetControlText(GetDlgItem(dialog, kPageText), L"typed anyway");
    ASSERT_TRUE(PressDialogButton(dialog, IDOK));
    CloseEditor(window);
    EXPECT_TRUE(ItemKeyExists());
    EXPECT_TRUE(ReadAllStored().empty());
}

TEST_F(EditorAppTest, PageThreeIsShownAndOkWritesOnlyPageThree)
{
    StoreText(L"ptext2", L"second page");
    StoreText(L"ptext3", L"Third page\r\nsecond line");
    HWND window, dialog = StartEditing(L"3", &window);
    ASSERT_TRUE(dialog);
    HWND edit = GetDlgItem(dialog, kPageText);
    EXPECT_EQ(L"Third page\r\nsecond line", ControlText(edit));
    SetControlText(edit, L"Changed\r\ntext");
    ASSERT_TRUE(PressDialogButton(dialog, IDOK));

    EXPECT_EQ(L"Changed\r\ntext", ReadStored(L"ptext3").Text());
    EXPECT_EQ((DWORD)REG_SZ, ReadStored(L"ptext3").type);
    EXPECT_EQ(L"second page", ReadStored(L"ptext2").Text());
    EXPECT_EQ(2u, ReadAllStored().size()) << "no other value written";

    // The item may change the page meanwhile: the dialog starts from the stored text.
    StoreText(L"ptext3", L"pasted by the item");
    dialog = OpenEditDialog(window);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(L"pasted by the item", ControlText(GetDlgItem(dialog, kPageText)));
    ASSERT_TRUE(PressDialogButton(dialog, IDCANCEL));
    CloseEditor(window);
}

TEST_F(EditorAppTest, BlankDigitAndLettersArePageTwo)
{
    StoreText(L"ptext2", L"two");
    StoreText(L"ptext1", L"one");
    HWND window, dialog = StartEditing(L" 2abc", &window);
    ASSERT_TRUE(dialog);
    HWND edit = GetDlgItem(dialog, kPageText);
    EXPECT_EQ(L"two", ControlText(edit));
    SetControlText(edit, L"two edited");
    ASSERT_TRUE(PressDialogButton(dialog, IDOK));
    EXPECT_EQ(L"two edited", ReadStored(L"ptext2").Text());
    EXPECT_EQ(L"one", ReadStored(L"ptext1").Text());
    CloseEditor(window);
}

// A window of the test that takes the foreground away from the editor.
class OtherProgram {
public:
    OtherProgram()
    {
        window = CreateWindowExW(0, L"STATIC", L"other program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                 300, 200, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    ~OtherProgram() { DestroyWindow(window); }
    bool TakeForeground()
    {
        SetForegroundWindow(window);
        return WaitUntil([&] { return GetForegroundWindow() == window; });
    }
    HWND window;
};

TEST_F(EditorAppTest, SecondStartBringsTheRunningEditorForwardAndEnds)
{
    StoreText(L"ptext3", L"page three");
    StoreText(L"ptext5", L"page five");
    HWND window = StartEditor(L"3");
    ASSERT_TRUE(window);
    OtherProgram other;
    ASSERT_TRUE(other.TakeForeground());

    EditorProcess second;
    ASSERT_TRUE(second.Start(L"5"));
    EXPECT_EQ(0u, second.WaitForExit());
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == window; }))
        << "the running editor comes to the front";
    EXPECT_TRUE(editor.Running());

    // With its edit dialog open, the dialog comes along.
    HWND dialog = OpenEditDialog(window);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(L"page three", ControlText(GetDlgItem(dialog, kPageText))) << "still on its page";
    ASSERT_TRUE(other.TakeForeground());
    EditorProcess third;
    ASSERT_TRUE(third.Start(L"1"));
    EXPECT_EQ(0u, third.WaitForExit());
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == dialog; }))
        << "the open dialog comes to the front";
    ASSERT_TRUE(PressDialogButton(dialog, IDCANCEL));
    EXPECT_EQ(L"page five", ReadStored(L"ptext5").Text());
    CloseEditor(window);
}

TEST_F(EditorAppTest, TypingStopsAtTheLimitAndOkKeepsTheFirst999Characters)
{
    HWND window, dialog = StartEditing(L"4", &window);
    ASSERT_TRUE(dialog);
    HWND edit = GetDlgItem(dialog, kPageText);
    SetControlText(edit, L"");
    TapWindow(edit);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == dialog; }));
    // 19 lines of 48 letters and Enter (a line break counts 2) make 950;
    // then 55 letters of which the box takes 50.
    std::wstring typed, kept;
    for (int line = 0; line < 19; line++) {
        std::wstring letters;
        for (int i = 0; i < 48; i++)
            letters += (wchar_t)(L'a' + (line + i) % 26);
        typed += letters + L"\r";
        kept += letters + L"\r\n";
    }
    for (int i = 0; i < 55; i++) {
        typed += (wchar_t)(L'A' + i % 26);
        if (i < 50)
            kept += (wchar_t)(L'A' + i % 26);
    }
    ASSERT_EQ(1000u, kept.size());
    TypeText(typed);
    EXPECT_TRUE(WaitUntil([&] { return ControlText(edit).size() == 1000; }, 30000))
        << "the edit box holds " << ControlText(edit).size() << " characters";
    // Ctrl+Home after the typing: once the caret is at the start, every
    // key before it, the refused ones too, has been handled.
    INPUT keys[4] = {};
    for (INPUT &key : keys)
        key.type = INPUT_KEYBOARD;
    keys[0].ki.wVk = keys[3].ki.wVk = VK_CONTROL;
    keys[1].ki.wVk = keys[2].ki.wVk = VK_HOME;
    keys[2].ki.dwFlags = keys[3].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(4, keys, sizeof(INPUT));
    EXPECT_TRUE(WaitUntil([&] { return SendMessageW(edit, EM_GETSEL, 0, 0) == 0; }));
    EXPECT_EQ(kept, ControlText(edit));
    ASSERT_TRUE(PressDialogButton(dialog, IDOK));
    EXPECT_EQ(kept.substr(0, 999), ReadStored(L"ptext4").Text());
    CloseEditor(window);
}

TEST_F(EditorAppTest, OkWithAnEmptyEditStoresOneSpace)
{
    StoreText(L"ptext1", L"something");
    HWND window, dialog = StartEditing(L"1", &window);
    ASSERT_TRUE(dialog);
    SetControlText(GetDlgItem(dialog, kPageText), L"");
    ASSERT_TRUE(PressDialogButton(dialog, IDOK));
    StoredValue stored = ReadStored(L"ptext1");
    EXPECT_EQ(L" ", stored.Text());
    // The editor passes 2 bytes (page_exchange_test checks that); Wine
    // stores a terminator after them because the buffer has one there.
    ASSERT_GE(stored.data.size(), 2u);
    EXPECT_EQ(' ', stored.data[0]);
    EXPECT_EQ(0, stored.data[1]);
    EXPECT_TRUE(stored.data.size() == 2 || (stored.data.size() == 4 && stored.data[2] == 0 && stored.data[3] == 0))
        << stored.data.size() << " bytes";
    CloseEditor(window);
}

TEST_F(EditorAppTest, CancelWritesNothingAndKeepsTheStoredText)
{
    StoreText(L"ptext5", L"keep me");   // exactly 14 bytes: a rewrite would add Wine's terminator
    const auto before = ReadAllStored();
    HWND window, dialog = StartEditing(L"5", &window);
    ASSERT_TRUE(dialog);
    SetControlText(GetDlgItem(dialog, kPageText), L"thrown away");
    ASSERT_TRUE(PressDialogButton(dialog, IDCANCEL));
    EXPECT_TRUE(before == ReadAllStored());
    dialog = OpenEditDialog(window);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(L"keep me", ControlText(GetDlgItem(dialog, kPageText)));
    ASSERT_TRUE(PressDialogButton(dialog, IDCANCEL));
    EXPECT_TRUE(before == ReadAllStored());
    CloseEditor(window);
}

TEST_F(EditorAppTest, ControlAOpensAboutAndControlQCloses)
{
    HWND window = StartEditor(L"2");
    ASSERT_TRUE(window);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == window; }));
    PressWithControl('A');
    HWND about = WaitForDialog(window, L"Inkleaf");
    ASSERT_TRUE(about) << "Ctrl+A opens About";

    // Full screen below the navigation bar, above an empty menu bar of its own.
    RECT area = ScreenBelowNavigationBar();
    RECT dialogRect, barRect;
    GetWindowRect(about, &dialogRect);
    HWND bar = FindOwnedWindow(L"menu_worker", about, editor.Id());
    ASSERT_TRUE(bar);
    GetWindowRect(bar, &barRect);
    EXPECT_EQ(area.left, dialogRect.left);
    EXPECT_EQ(area.top, dialogRect.top);
    EXPECT_EQ(area.right, dialogRect.right);
    EXPECT_EQ(dialogRect.bottom, barRect.top);
    EXPECT_EQ(area.bottom, barRect.bottom);

    ASSERT_TRUE(PressDialogButton(about, IDOK));
    EXPECT_FALSE(ReadStored(L"uscreen").exists) << "only WM_CLOSE signals the item";
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == window; }));
    PressWithControl('Q');
    EXPECT_EQ(0u, editor.WaitForExit()) << "Ctrl+Q closes";
}

TEST_F(EditorAppTest, AboutClosedThroughWmCloseWritesUscreenOne)
{
    StoreText(L"uscreen", L"0");
    StoreText(L"ptext2", L"two");
    HWND window = StartEditor(L"2");
    ASSERT_TRUE(window);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == window; }));
    PressWithControl('A');
    HWND about = WaitForDialog(window, L"Inkleaf");
    ASSERT_TRUE(about);
    PostMessageW(about, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(about); }));
    StoredValue uscreen = ReadStored(L"uscreen");
    EXPECT_EQ(L"1", uscreen.Text());
    EXPECT_EQ((DWORD)REG_SZ, uscreen.type);
    EXPECT_EQ(L"two", ReadStored(L"ptext2").Text());
    EXPECT_EQ(2u, ReadAllStored().size());
    CloseEditor(window);
}

TEST_F(EditorAppTest, MenuBarLiesBelowTheWindowAndItsButtonsWork)
{
    HWND window = StartEditor(L"1");
    ASSERT_TRUE(window);
    HWND bar = FindOwnedWindow(L"menu_worker", window, editor.Id());
    ASSERT_TRUE(bar) << "a menu bar window owned by the main window";
    RECT windowRect, barRect;
    GetWindowRect(window, &windowRect);
    GetWindowRect(bar, &barRect);
    EXPECT_EQ(windowRect.bottom, barRect.top) << "the window ends where the bar begins";
    EXPECT_EQ(windowRect.left, barRect.left);
    EXPECT_EQ(windowRect.right, barRect.right);
    EXPECT_GT(barRect.bottom - barRect.top, 0);

    // HELP opens the Help popup; its entry opens About.
    int barHeight = barRect.bottom - barRect.top;
    TapScreen(POINT{barRect.right - 20, barRect.top + barHeight / 2});
    ASSERT_TRUE(ChooseFromOpenMenu(1));
    HWND about = WaitForDialog(window, L"Inkleaf");
    ASSERT_TRUE(about) << "Help > About";
    ASSERT_TRUE(PressDialogButton(about, IDOK));

    // OK ends the program.
    TapScreen(POINT{barRect.left + 20, barRect.top + barHeight / 2});
    EXPECT_EQ(0u, editor.WaitForExit()) << "the menu bar's OK closes";
}

TEST_F(EditorAppTest, PercentSignsTravelUnchanged)
{
    const std::wstring text = L"100% done: %d %s %n %% %1!s!";
    StoreText(L"ptext1", text);
    HWND window, dialog = StartEditing(L"1", &window);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(text, ControlText(GetDlgItem(dialog, kPageText)));
    ASSERT_TRUE(PressDialogButton(dialog, IDOK));
    EXPECT_EQ(text, ReadStored(L"ptext1").Text());
    CloseEditor(window);
}

TEST_F(EditorAppTest, StoredTextReadsTheSameWithAndWithoutTerminator)
{
    StoreText(L"ptext1", L"same text", false);
    StoreText(L"ptext2", L"same text", true);
    for (const wchar_t *page : {L"1", L"2"}) {
        SCOPED_TRACE(testing::Message() << "page " << (char)page[0]);
        HWND window, dialog = StartEditing(page, &window);
        ASSERT_TRUE(dialog);
        EXPECT_EQ(L"same text", ControlText(GetDlgItem(dialog, kPageText)));
        ASSERT_TRUE(PressDialogButton(dialog, IDCANCEL));
        CloseEditor(window);
    }
}

}  // namespace
