// The settings store against Wine's real registry.
#include "test_support.h"
#include "item/library.h"
#include "item/settings_store.h"
#include "common/item_registry.h"
#include "../common/import_slot_patch.h"
#include "../common/registry_write_recorder.h"
#include "platform/import_slot.h"
#include <memory>
#include <map>

namespace {

class SettingsStoreTest : public ItemTest {
protected:
    std::unique_ptr<RegistryWriteRecorder> recorder;
    void SetUp() override
    {
        ItemTest::SetUp();
        recorder.reset(new RegistryWriteRecorder);
    }
    void TearDown() override
    {
        recorder.reset();
        ItemTest::TearDown();
    }
    // Stores a complete set of values, as a previous run would have left.
    void StoreEveryValue()
    {
        for (int page = 1; page <= 5; page++)
            StoreText(PageValueName(page), L"stored page " + std::to_wstring(page));
        StoreText(L"cpage", L"1");
        StoreText(L"fonts", L"8");
        StoreText(L"tcolor", L"17");
        StoreText(L"cheight", L"200");
        StoreText(L"contdisp", L"2");
        StoreText(L"showtext", L"1");
        StoreText(L"showimage", L"1");
    }
};

TEST_F(SettingsStoreTest, FirstStartStoresBuiltInTextsAndDefaultsWithoutTerminators)
{
    LoadSettingsAtCreate();

    std::map<std::wstring, std::wstring> expected = {
        {L"fonts", L"8"}, {L"tcolor", L"17"}, {L"cheight", L"200"}, {L"cpage", L"1"},
        {L"contdisp", L"2"}, {L"showtext", L"1"}, {L"showimage", L"1"},
    };
    for (int page = 1; page <= 5; page++)
        expected[PageValueName(page)] = kPageTextsAtAttach[page - 1];
    for (const auto &e : expected) {
        StoredValue v = ReadStored(e.first.c_str());
        ASSERT_TRUE(v.exists) << e.first;
        EXPECT_EQ((DWORD)REG_SZ, v.type) << e.first;
        EXPECT_EQ(e.second, v.Text()) << e.first;
    }
    // Every write passes exactly twice the characters: "cheight" is 6 bytes.
    ASSERT_FALSE(g_writes.empty());
    for (const PassedWrite &w : g_writes) {
        EXPECT_EQ(w.Text().size() * 2, w.data.size()) << w.name;
        EXPECT_EQ(std::wstring::npos, w.Text().find(L'\0')) << w.name;
    }
    for (const PassedWrite &w : g_writes) {
        if (w.name == L"cheight") {
            EXPECT_EQ(6u, w.data.size());
        }
    }
    EXPECT_FALSE(ReadStored(L"uscreen").exists);
    EXPECT_EQ(1, g_item.refreshPending);
    EXPECT_EQ(1, g_item.currentPage);
}

TEST_F(SettingsStoreTest, SaveSettingsWritesInOrderAndCheightOnlyInRange)
{
    g_item.currentPage = 3;
    SaveSettings();
    std::vector<std::wstring> names;
    for (const PassedWrite &w : g_writes)
        names.push_back(w.name);
    std::vector<std::wstring> order = {L"ptext3", L"fonts", L"tcolor", L"cheight", L"cpage",
                                       L"contdisp", L"showtext", L"showimage"};
    EXPECT_EQ(order, names);

    g_writes.clear();
    g_item.itemHeight = 9;
    g_item.currentPage = 0;
    SaveSettings();
    for (const PassedWrite &w : g_writes) {
        EXPECT_NE(L"cheight", w.name);
        EXPECT_EQ(std::wstring::npos, w.name.find(L"ptext"));
    }
    g_writes.clear();
    g_item.itemHeight = 10;
    SaveSettings();
    EXPECT_EQ(L"10", ReadStored(L"cheight").Text());
}

// RegQueryValueExW failing, out of memory, for the value g_failedName.
typedef LONG(WINAPI *QueryValueFn)(HKEY, LPCWSTR, DWORD *, DWORD *, BYTE *, DWORD *);
extern "C" QueryValueFn queryValueSlot __asm__(IMPORT_SLOT(RegQueryValueExW, 24));
QueryValueFn g_query;
const wchar_t *g_failedName;
LONG WINAPI FailingQuery(HKEY key, LPCWSTR name, DWORD *reserved, DWORD *type, BYTE *data, DWORD *bytes)
{
    if (name && wcscmp(name, g_failedName) == 0)
        return ERROR_NOT_ENOUGH_MEMORY;
    return g_query(key, name, reserved, type, data, bytes);
}

TEST_F(SettingsStoreTest, AValueTheRegistryFailsToReadIsNotWrittenOver)
{
    for (const wchar_t *name : {L"ptext2", L"cpage", L"fonts", L"showtext"}) {
        ReloadLibrary();
        StoreEveryValue();
        StoreText(L"fonts", L"12");
        g_failedName = name;
        g_query = PatchImportSlot(queryValueSlot, FailingQuery);
        g_writes.clear();
        LoadSettingsAtCreate();
        PatchImportSlot(queryValueSlot, g_query);
        EXPECT_TRUE(g_writes.empty()) << name;
        EXPECT_EQ(L"stored page 2", ReadStored(L"ptext2").Text()) << name;
        EXPECT_EQ(L"12", ReadStored(L"fonts").Text()) << name;
    }
}

TEST_F(SettingsStoreTest, LaterStartLoadsEveryPageAndTheStoredSettings)
{
    StoreEveryValue();
    StoreText(L"cpage", L"4");
    StoreText(L"fonts", L"12");
    StoreText(L"cheight", L"300");
    StoreText(L"tcolor", L"3");
    StoreText(L"contdisp", L"1");     // edit mode is never restored at creation
    StoreText(L"showtext", L"2");
    StoreText(L"showimage", L"0");
    LoadSettingsAtCreate();
    for (int page = 1; page <= 5; page++)
        EXPECT_STREQ((L"stored page " + std::to_wstring(page)).c_str(), g_item.pageText[page - 1]);
    EXPECT_EQ(4, g_item.currentPage);
    EXPECT_EQ(12, g_item.fontSize);
    EXPECT_EQ(300, g_item.itemHeight);
    EXPECT_EQ(3, g_item.textColorIndex);
    EXPECT_EQ(1, g_item.graphicsEditMode);
    EXPECT_EQ(0, g_item.showText);
    EXPECT_EQ(0, g_item.showImage);
    EXPECT_TRUE(g_writes.empty()) << "a later start writes nothing";
}

TEST_F(SettingsStoreTest, OutOfRangeAndNonNumbersLeaveFieldsUnchanged)
{
    StoreEveryValue();
    struct Case { LPCWSTR value; LPCWSTR text; int *field; int expected; };
    const Case cases[] = {
        {L"cpage", L"7", &g_item.currentPage, 1},
        {L"cpage", L"0", &g_item.currentPage, 1},
        {L"fonts", L"31", &g_item.fontSize, 8},
        {L"fonts", L"2", &g_item.fontSize, 8},
        {L"fonts", L"abc", &g_item.fontSize, 8},
        {L"cheight", L"641", &g_item.itemHeight, 200},
        {L"cheight", L"39", &g_item.itemHeight, 200},
        {L"cheight", L"4294967496", &g_item.itemHeight, 200},   // 2^32 + 200
        {L"fonts", L"12345678", &g_item.fontSize, 8},
        {L"fonts", L"1234567890", &g_item.fontSize, 8},         // does not fit 9 characters
        {L"tcolor", L"18", &g_item.textColorIndex, 18},
        {L"tcolor", L"19", &g_item.textColorIndex, 17},
        {L"tcolor", L"blue", &g_item.textColorIndex, 0},        // not a number reads 0
        {L"fonts", L"  +9x", &g_item.fontSize, 9},
        {L"cheight", L"-200", &g_item.itemHeight, 200},
    };
    for (const Case &c : cases) {
        ReloadLibrary();
        StoreEveryValue();
        StoreText(c.value, c.text);
        LoadSettingsAtCreate();
        EXPECT_EQ(c.expected, *c.field) << c.value << L" = " << c.text;
    }
}

TEST_F(SettingsStoreTest, FlagsAreOnOnlyForOne)
{
    const LPCWSTR texts[] = {L"0", L"2", L"yes", L"", L" 1", L"000000001", L"1x", L"-1"};
    const bool on[] = {false, false, false, false, true, true, true, false};
    for (size_t i = 0; i < sizeof(texts) / sizeof(texts[0]); i++) {
        StoreEveryValue();
        StoreText(L"showtext", texts[i]);
        StoreText(L"showimage", texts[i]);
        StoreText(L"contdisp", texts[i]);
        g_item.showText = g_item.showImage = g_item.graphicsEditMode = -1;
        ReadShowText();
        ReadShowImage();
        ReadEditMode();
        EXPECT_EQ(on[i] ? 1 : 0, g_item.showText) << texts[i];
        EXPECT_EQ(on[i] ? 1 : 0, g_item.showImage) << texts[i];
        EXPECT_EQ(on[i] ? 1 : 0, g_item.graphicsEditMode) << texts[i];
    }
}

TEST_F(SettingsStoreTest, PageTextsOf999RoundTripAnd1000AreRefused)
{
    StoreEveryValue();
    std::wstring longest(999, L'x');
    longest[0] = L'%';
    longest[1] = L'd';
    wcscpy(g_item.pageText[1], longest.c_str());
    g_item.currentPage = 2;
    SaveSettings();
    ASSERT_FALSE(g_writes.empty());
    EXPECT_EQ(L"ptext2", g_writes[0].name);
    EXPECT_EQ(1998u, g_writes[0].data.size());
    EXPECT_EQ(longest, ReadStored(L"ptext2").Text());
    wcscpy(g_item.pageText[1], L"changed in memory");
    LoadPageText(2);
    EXPECT_EQ(longest, std::wstring(g_item.pageText[1]));

    StoreText(L"ptext2", std::wstring(1000, L'y'));
    LoadPageText(2);
    EXPECT_EQ(longest, std::wstring(g_item.pageText[1])) << "1000 characters are not read";
    StoreText(L"ptext2", std::wstring(999, L'y'), true);
    LoadPageText(2);
    EXPECT_EQ(std::wstring(999, L'y'), std::wstring(g_item.pageText[1])) << "999 with terminator";
}

TEST_F(SettingsStoreTest, TextReadsTheSameWithOrWithoutTerminatorAndVerbatim)
{
    StoreEveryValue();
    StoreText(L"ptext1", L"100% %s %d\r\nline", true);
    LoadPageText(1);
    EXPECT_STREQ(L"100% %s %d\r\nline", g_item.pageText[0]);
    StoreText(L"ptext1", L"no terminator", false);
    LoadPageText(1);
    EXPECT_STREQ(L"no terminator", g_item.pageText[0]);
    // Text stops at an embedded NUL.
    StoreRaw(L"ptext1", REG_SZ, L"ab\0cd", 10);
    LoadPageText(1);
    EXPECT_STREQ(L"ab", g_item.pageText[0]);
    // An odd byte count keeps the whole characters only.
    StoreRaw(L"ptext1", REG_SZ, L"odd!", 7);
    LoadPageText(1);
    EXPECT_STREQ(L"odd", g_item.pageText[0]);
    EXPECT_EQ(0, g_item.settingsReadFailed);
}

TEST_F(SettingsStoreTest, ValuesOfOtherTypesFailTheRead)
{
    StoreEveryValue();
    DWORD number = 12;
    StoreRaw(L"fonts", REG_DWORD, &number, 4);
    StoreRaw(L"ptext1", REG_BINARY, L"bin", 6);
    StoreRaw(L"cpage", REG_MULTI_SZ, L"3\0\0", 6);
    wcscpy(g_item.pageText[0], L"kept");
    LoadPageText(1);
    EXPECT_STREQ(L"kept", g_item.pageText[0]);
    EXPECT_EQ(1, g_item.settingsReadFailed);
    ReadFontSize();
    EXPECT_EQ(8, g_item.fontSize);
    ReadCurrentPage();
    EXPECT_EQ(1, g_item.savedPage);
    EXPECT_EQ(1, g_item.settingsReadFailed);
}

TEST_F(SettingsStoreTest, SharedReadFailureFlagFollowsTheLatestOfItsFiveReads)
{
    StoreEveryValue();
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, ITEM_KEY_PATH, L"showimage");
    ReadShowImage();
    EXPECT_EQ(1, g_item.settingsReadFailed);
    ReadFontSize();                // not one of the five: leaves the flag
    EXPECT_EQ(1, g_item.settingsReadFailed);
    ReadShowText();
    EXPECT_EQ(0, g_item.settingsReadFailed);
    LoadPageText(2);               // only page 1 shares the flag
    RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, ITEM_KEY_PATH, L"ptext2");
    LoadPageText(2);
    EXPECT_EQ(0, g_item.settingsReadFailed);
}

// A start that finds values it cannot read (missing, too long, of another
// type) writes those values alone, with the built-in text or the current
// setting; every page and setting it can read stays as the user left it.
TEST_F(SettingsStoreTest, AStartRestoresOnlyTheValuesItCannotRead)
{
    DWORD number = 3;
    const std::wstring tooLong(1000, L'y');
    struct Case {
        LPCWSTR name;
        DWORD type;          // REG_NONE: the value is missing
        const void *data;
        DWORD bytes;
    };
    const Case cases[] = {
        {L"ptext1", REG_NONE, nullptr, 0},
        {L"ptext1", REG_SZ, tooLong.c_str(), 2000},
        {L"ptext1", REG_DWORD, &number, 4},
        {L"ptext1", REG_BINARY, L"bin", 6},
        {L"ptext4", REG_SZ, tooLong.c_str(), 2000},
        {L"showimage", REG_NONE, nullptr, 0},
        {L"cpage", REG_MULTI_SZ, L"3\0\0", 6},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::wstring(c.name) + L" of type " + std::to_wstring(c.type));
        ReloadLibrary();
        StoreEveryValue();
        StoreText(L"cpage", L"2");
        StoreText(L"showtext", L"2");
        StoreText(L"fonts", L"12");
        if (c.type == REG_NONE)
            RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, ITEM_KEY_PATH, c.name);
        else
            StoreRaw(c.name, c.type, c.data, c.bytes);
        std::map<std::wstring, StoredValue> before = ReadAllStored();
        g_writes.clear();
        LoadSettingsAtCreate();
        ASSERT_EQ(1u, g_writes.size());
        EXPECT_EQ(c.name, g_writes[0].name);
        std::map<std::wstring, StoredValue> after = ReadAllStored();
        for (const auto &value : before) {
            if (value.first != c.name) {
                EXPECT_TRUE(after[value.first] == value.second) << value.first;
            }
        }
        for (int page = 1; page <= 5; page++) {
            std::wstring stored = L"stored page " + std::to_wstring(page);
            if (PageValueName(page) == std::wstring(c.name))
                stored = kPageTextsAtAttach[page - 1];
            EXPECT_EQ(stored, g_item.pageText[page - 1]) << page;
            EXPECT_EQ(stored, after[PageValueName(page)].Text()) << page;
        }
        EXPECT_EQ(0, g_item.showText);
        EXPECT_EQ(12, g_item.fontSize);
    }
    EXPECT_EQ(L"1", ReadStored(L"cpage").Text()) << "an unreadable page number: page 1";
}

TEST_F(SettingsStoreTest, UscreenGivesOneRefreshAndIsAcknowledged)
{
    StoreEveryValue();
    StoreText(L"uscreen", L"1");
    g_item.refreshPending = 0;
    ReloadSettings();
    EXPECT_EQ(1, g_item.refreshPending);
    EXPECT_EQ(1, g_item.uscreenPending);
    ClearUscreen();
    EXPECT_EQ(L"0", ReadStored(L"uscreen").Text());
    ASSERT_EQ(1u, g_writes.size());
    EXPECT_EQ(L"uscreen", g_writes[0].name);
    EXPECT_EQ(2u, g_writes[0].data.size());
    g_item.refreshPending = 0;
    ReloadSettings();
    EXPECT_EQ(0, g_item.refreshPending);
    EXPECT_EQ(0, g_item.uscreenPending);
}

}  // namespace
