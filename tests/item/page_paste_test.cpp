// Clipboard text into a page: the block's bounds, the page's room.
#include "item/page_paste.h"
#include "common/item_key.h"
#include "common/registry_text.h"
#include <gtest/gtest.h>
#include <vector>

namespace {

TEST(PastePage, TakesNoMoreThanTheBlockOrAPageHolds)
{
    std::vector<TextUnit> block(2000, 'c');
    // An odd byte count drops the half unit; no NUL: the block's end bounds it.
    EXPECT_EQ(3, ClipboardTextLength(block.data(), 7));
    EXPECT_EQ(PAGE_TEXT_UNITS, ClipboardTextLength(block.data(), block.size() * sizeof(TextUnit)));
    block[5] = 0;
    EXPECT_EQ(5, ClipboardTextLength(block.data(), 100));

    std::vector<TextUnit> page(PAGE_TEXT_UNITS, 0);
    page[0] = 'p';
    EXPECT_FALSE(PasteIntoPage(page.data(), block.data(), 0, false));
    EXPECT_FALSE(PasteIntoPage(page.data(), block.data(), PAGE_TEXT_UNITS, false));
    EXPECT_EQ(1, TextLength(page.data(), PAGE_TEXT_UNITS));
    block.assign(2000, 'c');
    EXPECT_TRUE(PasteIntoPage(page.data(), block.data(), PAGE_TEXT_MAX_CHARS, false));
    EXPECT_EQ(PAGE_TEXT_MAX_CHARS, TextLength(page.data(), PAGE_TEXT_UNITS));
    // Appending: the line break and the text must fit with the terminator.
    page[994] = 0;
    EXPECT_FALSE(PasteIntoPage(page.data(), block.data(), 4, true));
    EXPECT_TRUE(PasteIntoPage(page.data(), block.data(), 3, true));
    EXPECT_EQ(PAGE_TEXT_MAX_CHARS, TextLength(page.data(), PAGE_TEXT_UNITS));
    EXPECT_EQ('\r', page[994]);
    EXPECT_EQ('\n', page[995]);
}

TEST(SettingsValues, NumbersInRangeFlagsAndPageTexts)
{
    int field = 3;
    TakeNumberText(TEXT_UNITS(" 5"), 1, 5, &field);
    EXPECT_EQ(5, field);
    TakeNumberText(TEXT_UNITS("6"), 1, 5, &field);
    TakeNumberText(TEXT_UNITS("x"), 1, 5, &field);
    TakeNumberText(TEXT_UNITS("99999999999"), 1, 5, &field);
    EXPECT_EQ(5, field);
    EXPECT_EQ(1, FlagFromText(TEXT_UNITS("1")));
    EXPECT_EQ(0, FlagFromText(TEXT_UNITS("2")));
    EXPECT_EQ(0, FlagFromText(TEXT_UNITS("")));
    std::vector<TextUnit> received(PAGE_TEXT_UNITS, 'r'), page(PAGE_TEXT_UNITS, 'p');
    received[PAGE_TEXT_MAX_CHARS] = 0;
    CopyPageText(page.data(), received.data());
    EXPECT_EQ(received, page);
}

}  // namespace
