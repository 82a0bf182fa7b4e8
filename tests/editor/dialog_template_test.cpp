// The dialog template walker: field forms, alignment, creation data, and
// bounds (nothing is read past the template's last byte).
#include "editor/dialog_template.h"
#include "template_builder.h"
#include <gtest/gtest.h>
#include <memory>
#include <string.h>

namespace {

// The first `size` bytes in a heap block of exactly that size: a read past
// them leaves the block, which AddressSanitizer reports in the native build.
struct ExactBytes {
    ExactBytes(const std::vector<uint8_t> &from, size_t size) : block(new uint8_t[size])
    {
        memcpy(block.get(), from.data(), size);
    }
    const uint8_t *data() const { return block.get(); }
    std::unique_ptr<uint8_t[]> block;
};

TEST(DialogTemplate, ReadsTheAboutLayout)
{
    std::vector<uint8_t> t = AboutLikeTemplate();
    DialogHeader header;
    ASSERT_TRUE(ReadDialogHeader(t.data(), t.size(), &header));
    EXPECT_EQ(2, header.itemCount);
    EXPECT_EQ(210, header.cx);
    EXPECT_EQ(146, header.cy);
    EXPECT_FALSE(header.menu.isNumber);
    EXPECT_EQ(0u, header.menu.textLength);
    EXPECT_EQ(7u, header.title.textLength);
    EXPECT_TRUE(header.hasFont);
    EXPECT_EQ(8, header.pointSize);
    EXPECT_EQ(12u, header.typeface.textLength);

    size_t offset = header.itemsOffset;
    DialogItem icon, text;
    ASSERT_TRUE(ReadDialogItem(t.data(), t.size(), &offset, &icon));
    EXPECT_EQ(201, icon.id);
    EXPECT_EQ(12, icon.x);
    EXPECT_EQ(11, icon.y);
    EXPECT_EQ(20, icon.cx);
    EXPECT_TRUE(icon.classField.isNumber);
    EXPECT_EQ(TEMPLATE_CLASS_STATIC, icon.classField.number);
    EXPECT_TRUE(icon.title.isNumber);
    EXPECT_EQ(101, icon.title.number);
    ASSERT_TRUE(ReadDialogItem(t.data(), t.size(), &offset, &text));
    EXPECT_EQ(TEMPLATE_ID_NONE, text.id);
    EXPECT_FALSE(text.title.isNumber);
    EXPECT_EQ(21u, text.title.textLength);
    EXPECT_EQ('I', t[text.title.textOffset]);
    EXPECT_EQ(t.size(), offset);
    EXPECT_TRUE(DialogTemplateIsComplete(t.data(), t.size()));
}

TEST(DialogTemplate, CutAnywhereIsRefusedWithoutReadingPastTheEnd)
{
    std::vector<uint8_t> t = AboutLikeTemplate();
    for (size_t size = 0; size < t.size(); size++) {
        ExactBytes cut(t, size);
        EXPECT_FALSE(DialogTemplateIsComplete(cut.data(), size)) << "cut at " << size;
    }
    EXPECT_FALSE(DialogTemplateIsComplete(nullptr, 100));
}

TEST(DialogTemplate, NegativeCoordinatesAndNamedClasses)
{
    TemplateBuilder b;
    b.Header(0x80C00000, 1, 100, 60).Word(0).Word(0).Word(0);      // no font
    b.Item(0x40000000, -10, -10, 6, 6, 0xFFFF).String(u"SIPPREF").Word(0).Word(0);
    DialogHeader header;
    ASSERT_TRUE(ReadDialogHeader(b.bytes.data(), b.bytes.size(), &header));
    EXPECT_FALSE(header.hasFont);
    EXPECT_EQ(24u, header.itemsOffset);
    size_t offset = header.itemsOffset;
    DialogItem item;
    ASSERT_TRUE(ReadDialogItem(b.bytes.data(), b.bytes.size(), &offset, &item));
    EXPECT_EQ(-10, item.x);
    EXPECT_EQ(-10, item.y);
    EXPECT_FALSE(item.classField.isNumber);
    EXPECT_EQ(7u, item.classField.textLength);
    EXPECT_EQ(0u, item.title.textLength);
}

TEST(DialogTemplate, ItemsStartOnFourByteBoundaries)
{
    // Title "ab" ends the header at 18 + 2 + 2 + 6 = 28; the first item ends
    // at 28 + 18 + 4 + 6 + 2 = 58, so the second starts at 60.
    TemplateBuilder b;
    b.Header(0x80C00000, 2, 100, 60).Word(0).Word(0).String(u"ab");
    b.Item(0x50000000, 1, 2, 3, 4, 7).Number(0x0082).String(u"xy").Word(0);
    size_t firstEnd = b.bytes.size();
    b.Item(0x50000000, 5, 6, 7, 8, 9).Number(0x0080).Number(0).Word(0);
    ASSERT_EQ(58u, firstEnd);
    ASSERT_EQ(88u, b.bytes.size()) << "padded to 60, then 18 + 4 + 4 + 2";
    DialogHeader header;
    ASSERT_TRUE(ReadDialogHeader(b.bytes.data(), b.bytes.size(), &header));
    size_t offset = header.itemsOffset;
    DialogItem first, second;
    ASSERT_TRUE(ReadDialogItem(b.bytes.data(), b.bytes.size(), &offset, &first));
    EXPECT_EQ(firstEnd, offset);
    ASSERT_TRUE(ReadDialogItem(b.bytes.data(), b.bytes.size(), &offset, &second));
    EXPECT_EQ(9, second.id);
    EXPECT_EQ(5, second.x);
    EXPECT_EQ(8, second.cy);
}

TEST(DialogTemplate, CreationDataSizeCountsItsOwnWord)
{
    TemplateBuilder b;
    b.Header(0x80C00000, 2, 100, 60).Word(0).Word(0).Word(0);
    b.Item(0x50000000, 0, 0, 10, 10, 1).Number(0x0080).Number(0).Word(6).Word(0x1111).Word(0x2222);
    b.Item(0x50000000, 0, 0, 10, 10, 2).Number(0x0080).Number(0).Word(0);
    DialogHeader header;
    ASSERT_TRUE(ReadDialogHeader(b.bytes.data(), b.bytes.size(), &header));
    size_t offset = header.itemsOffset;
    DialogItem first, second;
    ASSERT_TRUE(ReadDialogItem(b.bytes.data(), b.bytes.size(), &offset, &first));
    EXPECT_EQ(6, first.creationDataSize);
    ASSERT_TRUE(ReadDialogItem(b.bytes.data(), b.bytes.size(), &offset, &second));
    EXPECT_EQ(2, second.id);
    EXPECT_EQ(b.bytes.size(), offset);

    // A size of 1 cannot hold its own word; one beyond the end does not fit.
    for (uint16_t bad : {1, 200}) {
        TemplateBuilder c;
        c.Header(0x80C00000, 1, 100, 60).Word(0).Word(0).Word(0);
        c.Item(0x50000000, 0, 0, 10, 10, 1).Number(0x0080).Number(0).Word(bad).Word(0).Word(0);
        EXPECT_FALSE(DialogTemplateIsComplete(c.bytes.data(), c.bytes.size())) << bad;
    }
}

TEST(DialogTemplate, ExtendedTemplatesAndMissingTerminatorsAreRefused)
{
    TemplateBuilder ex;
    ex.Word(1).Word(0xFFFF).Dword(0).Dword(0).Dword(0x80C00000).Word(0).Word(0).Word(0).Word(10)
        .Word(10).Word(0).Word(0).Word(0);
    DialogHeader header;
    EXPECT_FALSE(ReadDialogHeader(ex.bytes.data(), ex.bytes.size(), &header));

    TemplateBuilder open;
    open.Header(0x80C00000, 0, 10, 10).Word(0).Word(0).Word('a').Word('b');   // title never ends
    EXPECT_FALSE(ReadDialogHeader(open.bytes.data(), open.bytes.size(), &header));

    TemplateBuilder counted;
    counted.Header(0x80C00000, 3, 10, 10).Word(0).Word(0).Word(0);
    counted.Item(0x50000000, 0, 0, 1, 1, 1).Number(0x0082).Word(0).Word(0);
    EXPECT_FALSE(DialogTemplateIsComplete(counted.bytes.data(), counted.bytes.size()))
        << "three items promised, one present";
}

}  // namespace
