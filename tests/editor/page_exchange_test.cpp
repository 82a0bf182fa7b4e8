// The editor's registry exchange with the item (ReadPageText, WritePageText,
// SetUscreen) and the edit dialog that drives it, inside the test process:
// what the editor passes to the registry is seen separately from what Wine
// stores.
#include "editor_test_support.h"
#include "editor/dialogs.h"
#include "editor/page_exchange.h"
#include "common/item_registry.h"
#include "../common/registry_write_recorder.h"
#include <memory>
#include "editor/resources/editor_resource.h"
#include <string.h>

namespace {

class PageExchangeTest : public ItemKeyTest {
protected:
    std::unique_ptr<RegistryWriteRecorder> recorder;
    void SetUp() override
    {
        ItemKeyTest::SetUp();
        ASSERT_TRUE(InitEditorState(GetModuleHandleW(nullptr), L"3"));
        recorder.reset(new RegistryWriteRecorder);
    }
    void TearDown() override
    {
        recorder.reset();
        FreeEditorBuffers();
        ItemKeyTest::TearDown();
    }
    void SetBuffer(const std::wstring &text)
    {
        ASSERT_LT(text.size(), 1000u);
        memcpy(g_editor.textBuffer, text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    }
    std::wstring Buffer() const { return g_editor.textBuffer; }
    // The editor's last write, and the only one: `text` to value `name` as
    // two bytes a character, no terminator; Wine stored it.
    void ExpectOnlyWrite(const wchar_t *name, const std::wstring &text)
    {
        ASSERT_EQ(1u, g_writes.size());
        EXPECT_EQ(name, g_writes[0].name);
        EXPECT_EQ(2 * text.size(), g_writes[0].data.size());
        EXPECT_EQ(text, g_writes[0].Text());
        EXPECT_EQ(text, ReadStored(name).Text());
    }
};

TEST_F(PageExchangeTest, WritePassesTwiceTheCharactersWithoutTerminator)
{
    SetBuffer(L"abc");
    WritePageText();
    ExpectOnlyWrite(L"ptext3", L"abc");
    EXPECT_EQ((DWORD)REG_SZ, ReadStored(L"ptext3").type);

    std::wstring longest(999, L'x');
    SetBuffer(longest);
    WritePageText();
    ASSERT_EQ(2u, g_writes.size());
    EXPECT_EQ(1998u, g_writes[1].data.size());
    EXPECT_EQ(longest, ReadStored(L"ptext3").Text());
}

TEST_F(PageExchangeTest, OutsideOneToFiveTheKeyIsOpenedButNoPageReadOrWritten)
{
    for (int page = 1; page <= 5; page++)
        StoreText((L"ptext" + std::to_wstring(page)).c_str(), L"stored");
    for (int page : {0, 6, -1}) {
        SCOPED_TRACE(page);
        g_editor.editorPage = page;
        SetBuffer(L"in memory");
        auto before = ReadAllStored();
        ReadPageText();
        EXPECT_EQ(L"in memory", Buffer());
        EXPECT_TRUE(g_writes.empty()) << "a read writes nothing";
        EXPECT_EQ(before, ReadAllStored()) << "the key is left as it was";
        WritePageText();
        EXPECT_TRUE(g_writes.empty());
    }
    DeleteItemKey();
    g_editor.editorPage = 0;
    WritePageText();
    EXPECT_TRUE(ItemKeyExists()) << "the key is opened (created) even when nothing is written";
    EXPECT_TRUE(ReadAllStored().empty());
}

TEST_F(PageExchangeTest, TextWithAndWithoutTerminatorReadsTheSame)
{
    StoreText(L"ptext3", L"plain", false);
    ReadPageText();
    EXPECT_EQ(L"plain", Buffer());
    SetBuffer(L"");
    StoreText(L"ptext3", L"plain", true);
    ReadPageText();
    EXPECT_EQ(L"plain", Buffer());
    // A NUL inside the data ends the text there.
    StoreRaw(L"ptext3", REG_SZ, L"ab\0cd", 10);
    ReadPageText();
    EXPECT_EQ(L"ab", Buffer());
    EXPECT_TRUE(g_writes.empty()) << "reading writes nothing";
}

TEST_F(PageExchangeTest, AtMost999CharactersAreRead)
{
    std::wstring longest(999, L'y');
    StoreText(L"ptext3", longest);
    ReadPageText();
    EXPECT_EQ(longest, Buffer());
    SetBuffer(L"kept");
    StoreText(L"ptext3", std::wstring(1000, L'z'), false);
    ReadPageText();
    EXPECT_EQ(L"kept", Buffer()) << "1000 characters do not fit";
    StoreText(L"ptext3", std::wstring(1000, L'z'), true);
    ReadPageText();
    EXPECT_EQ(L"kept", Buffer());
    StoreText(L"ptext3", std::wstring(5000, L'z'), true);
    ReadPageText();
    EXPECT_EQ(L"kept", Buffer());
}

TEST_F(PageExchangeTest, MissingOrNonTextValuesLeaveTheBufferAlone)
{
    SetBuffer(L"kept");
    ReadPageText();
    EXPECT_EQ(L"kept", Buffer()) << "missing value";
    DWORD number = 0x00410041;     // "AA" if it were taken as text
    StoreRaw(L"ptext3", REG_DWORD, &number, sizeof(number));
    ReadPageText();
    EXPECT_EQ(L"kept", Buffer()) << "REG_DWORD";
    StoreRaw(L"ptext3", REG_BINARY, L"AB", 4);
    ReadPageText();
    EXPECT_EQ(L"kept", Buffer()) << "REG_BINARY";
}

TEST_F(PageExchangeTest, PercentSignsAreCopiedVerbatim)
{
    const std::wstring text = L"%d%s %n %% %1!s! %";
    StoreText(L"ptext3", text);
    ReadPageText();
    EXPECT_EQ(text, Buffer());
    WritePageText();
    ExpectOnlyWrite(L"ptext3", text);
}

TEST_F(PageExchangeTest, SetUscreenPassesOneAsTwoBytes)
{
    g_editor.editorPage = 0;        // no page needed
    SetUscreen();
    ExpectOnlyWrite(L"uscreen", L"1");
    EXPECT_EQ(1u, ReadAllStored().size());
}

// The edit dialog from its template, modeless so that the test can drive it.
class EditDialogTest : public PageExchangeTest {
protected:
    HWND Open()
    {
        SHInitExtraControls();
        HINSTANCE instance = GetModuleHandleW(nullptr);
        HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(IDD_EDIT_TEXT), RT_DIALOG);
        const DLGTEMPLATE *dialogTemplate = (const DLGTEMPLATE *)LockResource(LoadResource(instance, found));
        dialog = CreateDialogIndirectParamW(instance, dialogTemplate, nullptr, EditDialogProc, 0);
        return dialog;
    }
    void TearDown() override
    {
        if (dialog)
            DestroyWindow(dialog);
        PageExchangeTest::TearDown();
    }
    HWND Edit() const { return GetDlgItem(dialog, IDC_PAGE_TEXT); }
    void Press(int id) { SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
    HWND dialog = nullptr;
};

TEST_F(EditDialogTest, OpensWithTheStoredTextAndItsLimit)
{
    StoreText(L"ptext3", L"stored now");
    SetBuffer(L"older text");
    ASSERT_TRUE(Open());
    wchar_t text[64];
    GetWindowTextW(Edit(), text, 64);
    EXPECT_STREQ(L"stored now", text);
    EXPECT_EQ(1000, SendMessageW(Edit(), EM_GETLIMITTEXT, 0, 0));
    EXPECT_TRUE(GetDlgItem(dialog, IDOK) && GetDlgItem(dialog, IDCANCEL));
}

TEST_F(EditDialogTest, OkWithAnEmptyEditPassesOneSpaceOfTwoBytes)
{
    StoreText(L"ptext3", L"something");
    ASSERT_TRUE(Open());
    SetWindowTextW(Edit(), L"");
    Press(IDOK);
    ExpectOnlyWrite(L"ptext3", L" ");
    EXPECT_EQ(L" ", Buffer());
    EXPECT_FALSE(IsWindowVisible(dialog)) << "the dialog ended";
}

TEST_F(EditDialogTest, OkKeepsTheFirst999Characters)
{
    ASSERT_TRUE(Open());
    std::wstring full;
    for (int i = 0; i < 1000; i++)
        full += (wchar_t)(L'A' + i % 26);
    SetWindowTextW(Edit(), full.c_str());
    Press(IDOK);
    ExpectOnlyWrite(L"ptext3", full.substr(0, 999));
    EXPECT_EQ(full.substr(0, 999), Buffer());
}

TEST_F(EditDialogTest, CancelWritesNothingAndTheBufferKeepsTheReadText)
{
    StoreText(L"ptext3", L"as stored");
    ASSERT_TRUE(Open());
    SetWindowTextW(Edit(), L"changed");
    Press(IDCANCEL);
    EXPECT_TRUE(g_writes.empty());
    EXPECT_EQ(L"as stored", Buffer());
    EXPECT_FALSE(IsWindowVisible(dialog));
}

TEST_F(EditDialogTest, WithoutAPageOkWritesNothing)
{
    g_editor.editorPage = 0;
    ASSERT_TRUE(Open());
    wchar_t text[300];
    GetWindowTextW(Edit(), text, 300);
    EXPECT_EQ(std::wstring(kExpectedErrorText), text);
    SetWindowTextW(Edit(), L"typed");
    Press(IDOK);
    EXPECT_TRUE(g_writes.empty());
    EXPECT_TRUE(ReadAllStored().empty());
}

}  // namespace
