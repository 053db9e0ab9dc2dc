#include "panels/text.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace tarnwick {
namespace {

struct TextRow
{
    std::string name;
    std::u16string utf16;
    std::string utf8;
};

void PrintTo(const TextRow &row, std::ostream *out)
{
    *out << row.name;
}

class Utf8And16 : public ::testing::TestWithParam<TextRow>
{
};

TEST_P(Utf8And16, ConvertBothWays)
{
    const TextRow &row = GetParam();
    EXPECT_EQ(toUtf8(row.utf16), row.utf8);
    EXPECT_EQ(toUtf16(row.utf8), row.utf16);
}

INSTANTIATE_TEST_SUITE_P(Valid, Utf8And16,
    ::testing::ValuesIn(std::vector<TextRow> {
        { "Empty", u"", "" },
        { "Ascii", u"7.85", "7.85" },
        { "TwoBytes", u"×÷", "\xC3\x97\xC3\xB7" },
        { "ThreeBytes", u"钢管", "\xE9\x92\xA2\xE7\xAE\xA1" },
        { "FullWidthDigits", u"２０００", "\xEF\xBC\x92\xEF\xBC\x90\xEF\xBC\x90\xEF\xBC\x90" },
        { "OutsideTheBasicPlane", u"1🙂2",
            "1\xF0\x9F\x99\x82"
            "2" },
        { "EmbeddedNul",
            std::u16string(u"1\0"
                           u"2",
                3),
            std::string("1\0"
                        "2",
                3) },
    }),
    [](const auto &info) { return info.param.name; });

struct OneWayRow
{
    std::string name;
    std::u16string utf16;
    std::string utf8;
};

void PrintTo(const OneWayRow &row, std::ostream *out)
{
    *out << row.name;
}

class LoneSurrogate : public ::testing::TestWithParam<OneWayRow>
{
};

TEST_P(LoneSurrogate, BecomesReplacementCharacter)
{
    EXPECT_EQ(toUtf8(GetParam().utf16), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(Utf16, LoneSurrogate,
    ::testing::ValuesIn(std::vector<OneWayRow> {
        { "HighAtEnd", u"5\xD83D", "5\xEF\xBF\xBD" },
        { "LowAlone",
            u"\xDE42"
            u"5",
            "\xEF\xBF\xBD"
            "5" },
        { "TwoHighs", u"\xD83D\xD83D\xDE42", "\xEF\xBF\xBD\xF0\x9F\x99\x82" },
    }),
    [](const auto &info) { return info.param.name; });

class BadUtf8 : public ::testing::TestWithParam<OneWayRow>
{
};

TEST_P(BadUtf8, BecomesReplacementCharacter)
{
    EXPECT_EQ(toUtf16(GetParam().utf8), GetParam().utf16);
}

INSTANTIATE_TEST_SUITE_P(Utf8, BadUtf8,
    ::testing::ValuesIn(std::vector<OneWayRow> {
        { "StrayContinuation",
            u"\xFFFD"
            u"1",
            "\x80"
            "1" },
        { "CutShort", u"1\xFFFD\xFFFD", "1\xE9\x92" },
        { "Overlong", u"\xFFFD\xFFFD", "\xC0\xAF" },
        { "EncodedSurrogate", u"\xFFFD\xFFFD\xFFFD", "\xED\xA0\x80" },
        { "BeyondUnicode", u"\xFFFD\xFFFD\xFFFD\xFFFD", "\xF4\x90\x80\x80" },
        { "InvalidLead", u"\xFFFD", "\xFF" },
    }),
    [](const auto &info) { return info.param.name; });

} // namespace
} // namespace tarnwick
