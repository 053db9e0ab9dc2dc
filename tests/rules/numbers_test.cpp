#include "panels/numbers.h"

#include <gtest/gtest.h>

#include <charconv>
#include <clocale>
#include <cmath>
#include <limits>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace tarnwick {
namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();

template <typename Row>
std::string rowName(const ::testing::TestParamInfo<Row> &info)
{
    return info.param.name;
}

// ---- readNumber ------------------------------------------------------------------------

struct ReadRow
{
    std::string name;
    std::string text;
    double expected;
};

void PrintTo(const ReadRow &row, std::ostream *out)
{
    *out << row.name;
}

class ReadNumber : public ::testing::TestWithParam<ReadRow>
{
};

TEST_P(ReadNumber, ReadsLeadingNumber)
{
    const ReadRow &row = GetParam();
    EXPECT_EQ(readNumber(row.text), row.expected) << "text: " << row.text;
}

INSTANTIATE_TEST_SUITE_P(Plain, ReadNumber,
    ::testing::ValuesIn(std::vector<ReadRow> {
        { "Empty", "", 0 },
        { "Integer", "1234", 1234 },
        { "Decimal", "12.5", 12.5 },
        { "Negative", "-3", -3 },
        { "ExplicitPlus", "+7", 7 },
        { "LeadingPoint", ".5", 0.5 },
        { "TrailingPoint", "5.", 5 },
        { "NegativeLeadingPoint", "-.25", -0.25 },
        { "Exponent", "2e3", 2000 },
        { "UpperExponent", "2E3", 2000 },
        { "NegativeExponent", "25e-1", 2.5 },
        { "SignedPointExponent", "+.5e2", 50 },
        { "CorrectlyRounded", "0.1", 0.1 },
        { "SeventeenDigits", "94.19999999999999", 94.19999999999999 },
        { "SuffixText", "12kg", 12 },
        { "CommaEnds", "1,5", 1 },
        { "SecondPointEnds", "1.2.3", 1.2 },
        { "BareExponentLetter", "1e", 1 },
        { "ExponentSignWithoutDigits", "1e+", 1 },
        { "ExponentThenLetter", "3e-x", 3 },
        { "LetterOnly", "abc", 0 },
        { "SignOnly", "-", 0 },
        { "PointOnly", ".", 0 },
        { "SignPoint", "-.", 0 },
        { "ExponentWithoutMantissa", "e5", 0 },
        { "PointExponent", ".e5", 0 },
        { "DoubleSign", "--5", 0 },
        { "HexPrefix", "&H10", 0 },
        { "OctalPrefix", "&O7", 0 },
        { "DIsNoExponent", "1D3", 1 },
        { "CLikeHex", "0x1A", 0 },
        { "Infinity", "inf", 0 },
        { "ZeroWithHugeExponent", "0e99999", 0 },
        { "Overflow", "1e400", infinity },
        { "NegativeOverflow", "-1e400", -infinity },
        { "Underflow", "1e-400", 0 },
        { "NegativeUnderflow", "-1e-400", 0 },
        { "SaturatedExponent", "1e99999999999999999999999", infinity },
        { "SaturatedNegativeExponent", "1e-99999999999999999999", 0 },
        { "LargestDouble", "1.7976931348623157e308", std::numeric_limits<double>::max() },
        { "JustOverLargest", "1.7976931348623159e308", infinity },
        { "SmallestSubnormal", "4.9406564584124654e-324", 4.9406564584124654e-324 },
        { "DigitsCountTowardsExponent", "0.001e3", 1 },
        { "ManyDigitsWithExponent", "12345e-310", 12345e-310 },
        { "NegativeZero", "-0", 0 },
    }),
    rowName<ReadRow>);

INSTANTIATE_TEST_SUITE_P(Blanks, ReadNumber,
    ::testing::ValuesIn(std::vector<ReadRow> {
        { "GroupingSpace", "1 000", 1000 },
        { "SpacesInExponent", "1 e 3", 1000 },
        { "LeadingAndTrailing", "  \t42\n ", 42 },
        { "AfterSign", "- 3", -3 },
        { "IdeographicSpace",
            "\xE3\x80\x80"
            "1\xE3\x80\x80"
            "2",
            12 },
        { "CarriageReturnEnds", "1\r2", 1 },
        { "CarriageReturnFirst", "\r5", 0 },
        { "NoBreakSpaceEnds",
            "1\xC2\xA0"
            "2",
            1 },
    }),
    rowName<ReadRow>);

INSTANTIATE_TEST_SUITE_P(FullWidth, ReadNumber,
    ::testing::ValuesIn(std::vector<ReadRow> {
        { "Digits", "\xEF\xBC\x91\xEF\xBC\x92\xEF\xBC\x93", 123 },
        { "AllDigits",
            "\xEF\xBC\x90\xEF\xBC\x94\xEF\xBC\x95\xEF\xBC\x96\xEF\xBC\x97"
            "\xEF\xBC\x98\xEF\xBC\x99",
            456789 },
        { "FullStop",
            "1\xEF\xBC\x8E"
            "5",
            1.5 },
        { "IdeographicFullStop",
            "2\xE3\x80\x82"
            "5",
            2.5 },
        { "Minus",
            "\xEF\xBC\x8D"
            "4",
            -4 },
        { "Plus",
            "\xEF\xBC\x8B"
            "4",
            4 },
        { "SmallE",
            "1\xEF\xBD\x85"
            "2",
            100 },
        { "CapitalE",
            "1\xEF\xBC\xA5\xEF\xBC\x8D"
            "1",
            0.1 },
        { "MixedWithAscii", "1\xEF\xBC\x92.5", 12.5 },
        { "FullWidthComma",
            "1\xEF\xBC\x8C"
            "5",
            1 },
        { "FullWidthLetterD",
            "1\xEF\xBC\xA4"
            "3",
            1 },
    }),
    rowName<ReadRow>);

INSTANTIATE_TEST_SUITE_P(BrokenUtf8, ReadNumber,
    ::testing::ValuesIn(std::vector<ReadRow> {
        { "TruncatedFullWidthAtEnd", "7\xEF\xBC", 7 },
        { "TruncatedLeadByteAtEnd", "7\xEF", 7 },
        { "TruncatedSpaceAtEnd", "7\xE3\x80", 7 },
        { "StrayContinuation",
            "8\x80"
            "9",
            8 },
        { "InvalidByteFirst",
            "\xFF"
            "5",
            0 },
        { "OverlongZero", "\xC0\xB0", 0 },
        { "EmbeddedNul",
            std::string("6\0"
                        "7",
                3),
            6 },
    }),
    rowName<ReadRow>);

TEST(ReadNumberSign, NegativeZeroAndTinyCompareEqualToZero)
{
    EXPECT_EQ(readNumber("-0"), 0.0);
    EXPECT_EQ(readNumber("-1e-400"), 0.0);
    EXPECT_FALSE(std::signbit(readNumber("0")));
}

TEST(ReadNumberLong, ThousandLeadingZeros)
{
    EXPECT_EQ(readNumber(std::string(1000, '0') + "1.5"), 1.5);
    EXPECT_EQ(readNumber("0." + std::string(1000, '0') + "15e1001"), 1.5);
}

TEST(ReadNumberLong, MegabyteOfDigitsIsCorrectlyRounded)
{
    // A million threes after the point are nearer to 1/3 than to any other double.
    EXPECT_EQ(readNumber("0." + std::string(1'000'000, '3')), 1.0 / 3.0);
    // A million digits before the point overflow; the exponent brings them back.
    const std::string million = "1" + std::string(1'000'000, '0');
    EXPECT_EQ(readNumber(million), infinity);
    EXPECT_EQ(readNumber(million + "e-1000000"), 1.0);
    EXPECT_EQ(readNumber(million + "e-999998"), 100.0);
}

TEST(ReadNumberLong, DigitFarBeyondHalfwayDecidesRounding)
{
    // 2^53 + 1 lies exactly halfway between two doubles and rounds to even; any non-zero
    // digit after it, however far away, tips it upwards.
    const std::string halfway = "9007199254740993";
    EXPECT_EQ(readNumber(halfway), 9007199254740992.0);
    EXPECT_EQ(readNumber(halfway + "." + std::string(1'000'000, '0')), 9007199254740992.0);
    EXPECT_EQ(readNumber(halfway + "." + std::string(1'000'000, '0') + "1"), 9007199254740994.0);
    // Zeros among the kept digits stay where a non-zero digit follows beyond them.
    EXPECT_EQ(readNumber("1." + std::string(799, '0') + "1"), 1.0);
    EXPECT_EQ(readNumber("1." + std::string(5000, '0') + "1"), 1.0);
    EXPECT_EQ(readNumber("-" + halfway + std::string(5000, '0') + "1e-5001"), -9007199254740994.0);
}

// ---- formatFixed -----------------------------------------------------------------------

struct FixedRow
{
    std::string name;
    double value;
    int decimals;
    std::string expected;
};

void PrintTo(const FixedRow &row, std::ostream *out)
{
    *out << row.name;
}

class FormatFixed : public ::testing::TestWithParam<FixedRow>
{
};

TEST_P(FormatFixed, RoundsFifteenDigitFormHalfAwayFromZero)
{
    const FixedRow &row = GetParam();
    EXPECT_EQ(formatFixed(row.value, row.decimals), row.expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, FormatFixed,
    ::testing::ValuesIn(std::vector<FixedRow> {
        { "BinaryBelowHalf", 2.67499999999999982, 2, "2.68" },
        { "ExactHalf", 0.125, 2, "0.13" },
        { "NegativeExactHalf", -0.125, 2, "-0.13" },
        { "BelowHalfOfLastPlace", 0.004, 2, "0.00" },
        { "HalfOfLastPlace", 0.005, 2, "0.01" },
        { "NegativeRoundsToZero", -0.001, 2, "0.00" },
        { "NegativeZero", -0.0, 2, "0.00" },
        { "Zero", 0.0, 2, "0.00" },
        { "PadsDecimals", 12.5, 2, "12.50" },
        { "NoGrouping", 1234.567, 2, "1234.57" },
        { "CarryIntoNewDigit", 99.995, 2, "100.00" },
        { "CarryThroughPoint", 0.999999, 2, "1.00" },
        { "NegativeCarry", -9.995, 2, "-10.00" },
        { "LargePlainDigits", 1e20, 2, "100000000000000000000.00" },
        { "LargeKeepsFifteenDigits", 1.23456789012345678e20, 2, "123456789012346000000.00" },
        { "Tiny", 1e-20, 2, "0.00" },
        { "FiveDecimals", 2.46615984, 5, "2.46616" },
        { "NoDecimals", 2.5, 0, "3" },
        { "NoDecimalsNegative", -0.4, 0, "0" },
        { "FifteenDecimals", 0.1, 15, "0.100000000000000" },
        { "FifteenDecimalsSmall", 1.5e-15, 15, "0.000000000000002" },
        { "SixteenthDigitIgnored", 1.0000000000000049, 15, "1.000000000000000" },
        { "LargestDouble", 1.7976931348623157e308, 0, "179769313486232" + std::string(294, '0') },
        { "SmallestSubnormal", 4.9406564584124654e-324, 2, "0.00" },
    }),
    rowName<FixedRow>);

// ---- showWeight ------------------------------------------------------------------------

struct ShowRow
{
    std::string name;
    double weight;
    int decimals;
    Display expected;
};

void PrintTo(const ShowRow &row, std::ostream *out)
{
    *out << row.name;
}

class ShowWeight : public ::testing::TestWithParam<ShowRow>
{
};

TEST_P(ShowWeight, WritesShortestRoundedText)
{
    const ShowRow &row = GetParam();
    EXPECT_EQ(showWeight(row.weight, row.decimals), row.expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, ShowWeight,
    ::testing::ValuesIn(std::vector<ShowRow> {
        { "DropsTrailingZero", 12.5, 2, "12.5" },
        { "Whole", 3, 2, "3" },
        { "RoundsToZero", 0.004, 2, "0" },
        { "RoundsUpFromHalf", 0.005, 2, "0.01" },
        { "TwoDecimals", 1234.567, 2, "1234.57" },
        { "Negative", -1.234, 2, "-1.23" },
        { "BinaryNoise", 94.19999999999999, 2, "94.2" },
        { "FifteenDigitHalf", 2.67499999999999982, 2, "2.68" },
        { "NegativeRoundsToZero", -0.001, 2, "0" },
        { "Zero", 0.0, 2, "0" },
        { "NegativeZero", -0.0, 2, "0" },
        { "LeadingZerosAfterPoint", 0.05, 2, "0.05" },
        { "FiveDecimalsRounded", 2.466156, 5, "2.46616" },
        { "FiveDecimalsShort", 369.9234, 5, "369.9234" },
        { "FiveDecimalsBelowOne", 0.616539, 5, "0.61654" },
        { "FiveDecimalsSmallest", 0.00001, 5, "0.00001" },
        { "TensNoPoint", 1200.0001, 2, "1200" },
        { "BelowExponentForm", 999999999999999.0, 2, "999999999999999" },
        { "ExponentForm", 1e15, 2, "1E+15" },
        { "ExponentFormRoundsUp", 999999999999999.9, 2, "1E+15" },
        { "ExponentFormDigits", 1.23456789012345678e20, 2, "1.23456789012346E+20" },
        { "ExponentFormNegative", -2.5e300, 2, "-2.5E+300" },
        { "Infinite", infinity, 2, Fault::OutOfRange },
        { "NegativeInfinite", -infinity, 2, Fault::OutOfRange },
        { "NotANumber", std::numeric_limits<double>::quiet_NaN(), 2, Fault::OutOfRange },
        { "RoundsBeyondLargestDouble", 1.7976931348623157e308, 2, Fault::OutOfRange },
        { "NegativeRoundsBeyondLargestDouble", -1.7976931348623157e308, 5, Fault::OutOfRange },
        { "LargestThatStaysFinite", 1.79769313486231e308, 2, "1.79769313486231E+308" },
    }),
    rowName<ShowRow>);

double parsed(const std::string &text)
{
    double value = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// Weights shown once show the same text again when read back, and the text stands for the
// weight rounded to its 15-digit form.
TEST(ShowWeightProperty, ShownTextIsStableAndReadsBackToRoundedValue)
{
    std::vector<double> weights;
    for (int i = -2000; i <= 2000; ++i) {
        weights.push_back(i * 0.0013);
        weights.push_back(i * 7.85 / 3.0);
        weights.push_back(i * 1234567.891);
    }
    double growing = 1e-7;
    for (int step = 0; step < 200; ++step, growing *= 1.37) {
        weights.push_back(growing);
        weights.push_back(-growing / 3.0);
    }
    for (const int decimals : { 0, 2, 5, 15 }) {
        for (const double weight : weights) {
            const Display shown = showWeight(weight, decimals);
            ASSERT_TRUE(std::holds_alternative<std::string>(shown)) << weight;
            const std::string &text = std::get<std::string>(shown);
            EXPECT_EQ(readNumber(text), parsed(formatFixed(weight, decimals)))
                << weight << " shown as " << text;
            EXPECT_EQ(showWeight(readNumber(text), decimals), shown)
                << weight << " shown as " << text;
        }
    }
}

// ---- locale ----------------------------------------------------------------------------

class CLocaleRestorer
{
public:
    CLocaleRestorer() = default;
    CLocaleRestorer(const CLocaleRestorer &) = delete;
    CLocaleRestorer &operator=(const CLocaleRestorer &) = delete;
    ~CLocaleRestorer() { std::setlocale(LC_ALL, "C"); }
};

TEST(NumbersLocale, PointStaysDecimalPointUnderCommaLocale)
{
    const CLocaleRestorer restorer;
    // The POSIX name first, then the Windows C runtime's own.
    bool german = false;
    for (const char *name : { "de_DE.UTF-8", "de_DE.utf8", "German_Germany.1252" })
        german = german || std::setlocale(LC_ALL, name) != nullptr;
    if (!german)
        GTEST_SKIP() << "no German locale is installed";
    ASSERT_STREQ(std::localeconv()->decimal_point, ",");
    EXPECT_EQ(readNumber("12.5"), 12.5);
    EXPECT_EQ(readNumber("1,5"), 1.0);
    EXPECT_EQ(readNumber("2.5e3"), 2500.0);
    EXPECT_EQ(showWeight(1234.567, 2), Display("1234.57"));
    EXPECT_EQ(showWeight(1.23456789012345678e20, 2), Display("1.23456789012346E+20"));
    EXPECT_EQ(formatFixed(-0.125, 2), "-0.13");
}

} // namespace
} // namespace tarnwick
