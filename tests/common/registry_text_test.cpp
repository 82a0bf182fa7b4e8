// Registry text encoding: termination of received data and decimal numbers.
#include "common/registry_text.h"
#include "common/item_key.h"
#include <gtest/gtest.h>
#include <string.h>

namespace {

TEST(TerminateReceivedText, BoundsTheTextByBufferAndByteCount)
{
    TextUnit buffer[6];
    // A full buffer of text leaves no room for the terminator.
    for (int i = 0; i < 6; i++)
        buffer[i] = 'a';
    EXPECT_FALSE(TerminateReceivedText(buffer, 6, 12));
    // Five characters without terminator fit, terminated after the data.
    EXPECT_TRUE(TerminateReceivedText(buffer, 6, 10));
    EXPECT_EQ(0, buffer[5]);
    // A terminator inside the data ends the text there.
    buffer[2] = 0;
    buffer[3] = 'z';
    EXPECT_TRUE(TerminateReceivedText(buffer, 6, 12));
    EXPECT_EQ(2, TextLength(buffer, 6));
    // An odd byte count drops the half unit.
    for (int i = 0; i < 6; i++)
        buffer[i] = 'b';
    EXPECT_TRUE(TerminateReceivedText(buffer, 6, 7));
    EXPECT_EQ(3, TextLength(buffer, 6));
    // More data than the buffer holds never passes.
    EXPECT_FALSE(TerminateReceivedText(buffer, 6, 14));
    EXPECT_FALSE(TerminateReceivedText(buffer, 0, 0));
    // Empty data is an empty text.
    EXPECT_TRUE(TerminateReceivedText(buffer, 6, 0));
    EXPECT_EQ(0, buffer[0]);
}

TEST(ParseDecimal, ReadsLikeTheCRuntimeWithinThirtyTwoBits)
{
    struct Case { const TextUnit *text; bool ok; int value; };
    const Case cases[] = {
        {TEXT_UNITS("200"), true, 200},
        {TEXT_UNITS("  \t+17"), true, 17},
        {TEXT_UNITS("-5"), true, -5},
        {TEXT_UNITS("12abc"), true, 12},
        {TEXT_UNITS("abc"), true, 0},
        {TEXT_UNITS(""), true, 0},
        {TEXT_UNITS("-"), true, 0},
        {TEXT_UNITS("2147483647"), true, 2147483647},
        {TEXT_UNITS("-2147483648"), true, (int)0x80000000},
        {TEXT_UNITS("2147483648"), false, 0},
        {TEXT_UNITS("4294967496"), false, 0},
        {TEXT_UNITS("99999999999999999999"), false, 0},
        {TEXT_UNITS("000000000000000000001"), true, 1},
    };
    for (const Case &c : cases) {
        int value = 0x5eed;
        EXPECT_EQ(c.ok, ParseDecimal(c.text, &value)) << c.value;
        if (c.ok)
            EXPECT_EQ(c.value, value);
        else
            EXPECT_EQ(0x5eed, value) << "a failed parse leaves the output alone";
    }
}

TEST(FormatDecimal, WritesPercentD)
{
    TextUnit out[12];
    const int values[] = {0, 7, 200, -40, 2147483647, (int)0x80000000};
    const char *texts[] = {"0", "7", "200", "-40", "2147483647", "-2147483648"};
    for (int i = 0; i < 6; i++) {
        int n = FormatDecimal(values[i], out, 12);
        ASSERT_EQ((int)strlen(texts[i]), n);
        for (int k = 0; k <= n; k++)
            EXPECT_EQ((TextUnit)texts[i][k], out[k]);
    }
}

TEST(FormatDecimal, NeverWritesPastItsRoom)
{
    // A number text holds 9 characters and the terminator.
    TextUnit out[12];
    for (TextUnit &unit : out)
        unit = 'x';
    EXPECT_EQ(9, FormatDecimal(999999999, out, 10));
    EXPECT_EQ(0, out[9]);
    EXPECT_EQ('x', out[10]);
    EXPECT_EQ(0, FormatDecimal(1000000000, out, 10));
    EXPECT_EQ(0, out[0]);
    EXPECT_EQ('x', out[10]);
    EXPECT_EQ(0, FormatDecimal(-100000000, out, 10));   // ten characters with the sign
    EXPECT_EQ(8, FormatDecimal(-1000000, out, 10));
    EXPECT_EQ(0, FormatDecimal(5, out, 1));
    EXPECT_EQ(0, out[0]);
}

TEST(PageValueName, OnlyPagesOneToFive)
{
    EXPECT_EQ(nullptr, PageValueName(0));
    EXPECT_EQ(nullptr, PageValueName(6));
    EXPECT_EQ(TextUnit('5'), PageValueName(5)[5]);
}

}  // namespace
