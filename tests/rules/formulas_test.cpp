#include "panels/formulas.h"
#include "panels/numbers.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace tarnwick {
namespace {

struct WeightRow
{
    std::string name;
    double weight;
    int decimals;
    std::string expected;
};

void PrintTo(const WeightRow &row, std::ostream *out)
{
    *out << row.name;
}

class Formula : public ::testing::TestWithParam<WeightRow>
{
};

TEST_P(Formula, ShowsExpectedWeight)
{
    const WeightRow &row = GetParam();
    EXPECT_EQ(showWeight(row.weight, row.decimals), Display(row.expected)) << row.weight;
}

std::string rowName(const ::testing::TestParamInfo<WeightRow> &info)
{
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(PlateByDimensions, Formula,
    ::testing::ValuesIn(std::vector<WeightRow> {
        { "SteelSheet", plateByDimensions(7.85, 2000, 1000, 6), 2, "94.2" },
        { "SquareMetre", plateByDimensions(7.85, 1000, 1000, 10), 2, "78.5" },
        { "QuarterKilos", plateByDimensions(7.85, 1500, 1250, 8), 2, "117.75" },
        { "SmallPiece", plateByDimensions(7.85, 100, 100, 1), 2, "0.08" },
        { "NegativeLength", plateByDimensions(7.85, -1000, 1000, 10), 2, "-78.5" },
        { "EmptyLength", plateByDimensions(7.85, 0, 1000, 6), 2, "0" },
        { "TypingFirstDigit", plateByDimensions(7.85, 2, 1000, 6), 2, "0.09" },
        { "TypingSecondDigit", plateByDimensions(7.85, 20, 1000, 6), 2, "0.94" },
        { "TypingThirdDigit", plateByDimensions(7.85, 200, 1000, 6), 2, "9.42" },
        { "TypingFourthDigit", plateByDimensions(7.85, 2000, 1000, 6), 2, "94.2" },
        { "DensityEight", plateByDimensions(8, 1000, 1000, 10), 2, "80" },
        { "DensitySevenEight", plateByDimensions(7.8, 1000, 1000, 10), 2, "78" },
        { "ThickSlab", plateByDimensions(7.85, 500, 400, 20), 2, "31.4" },
        { "AluminiumSheet", plateByDimensions(2.7, 1000, 1000, 1), 2, "2.7" },
        // Rounded once more from 80 bits (x87), the weight ends on ...76450 and shows .76.
        { "EachStepRoundedOnceToDouble",
            plateByDimensions(
                7.85, readNumber("－３11834114"), readNumber("637730"), readNumber("117")),
            2, "-182648449706.77" },
    }),
    rowName);

INSTANTIATE_TEST_SUITE_P(PlateByArea, Formula,
    ::testing::ValuesIn(std::vector<WeightRow> {
        { "SteelSheet", plateByArea(7.85, 2000000, 6), 2, "94.2" },
        { "SquareMetre", plateByArea(7.85, 1000000, 10), 2, "78.5" },
        { "QuarterKilos", plateByArea(7.85, 1875000, 8), 2, "117.75" },
        { "SmallPiece", plateByArea(7.85, 10000, 1), 2, "0.08" },
        { "TypingArea1", plateByArea(7.85, 2, 6), 2, "0" },
        { "TypingArea2", plateByArea(7.85, 20, 6), 2, "0" },
        { "TypingArea3", plateByArea(7.85, 200, 6), 2, "0.01" },
        { "TypingArea4", plateByArea(7.85, 2000, 6), 2, "0.09" },
        { "TypingArea5", plateByArea(7.85, 20000, 6), 2, "0.94" },
        { "TypingArea6", plateByArea(7.85, 200000, 6), 2, "9.42" },
        { "TypingArea7", plateByArea(7.85, 2000000, 6), 2, "94.2" },
        { "DensityEight", plateByArea(8, 2000000, 6), 2, "96" },
        { "DensitySevenEight", plateByArea(7.8, 2000000, 6), 2, "93.6" },
        { "QuarterSquareMetre", plateByArea(7.85, 250000, 4), 2, "7.85" },
    }),
    rowName);

INSTANTIATE_TEST_SUITE_P(RoundBar, Formula,
    ::testing::ValuesIn(std::vector<WeightRow> {
        { "Twenty", roundBar(7.85, 20, 1000), 2, "2.47" },
        { "TwentyFine", roundBar(7.85, 20, 1000), 5, "2.46616" },
        { "Ten", roundBar(7.85, 10, 1000), 2, "0.62" },
        { "TenFine", roundBar(7.85, 10, 1000), 5, "0.61654" },
        { "Hundred", roundBar(7.85, 100, 6000), 2, "369.92" },
        { "HundredFine", roundBar(7.85, 100, 6000), 5, "369.9234" },
        { "NegativeLength", roundBar(7.85, 20, -1000), 2, "-2.47" },
        { "NegativeDiameter", roundBar(7.85, -20, 1000), 2, "2.47" },
        { "Fifty", roundBar(7.85, 50, 2000), 2, "30.83" },
        { "FiftyFine", roundBar(7.85, 50, 2000), 5, "30.82695" },
    }),
    rowName);

INSTANTIATE_TEST_SUITE_P(Pipe, Formula,
    ::testing::ValuesIn(std::vector<WeightRow> {
        { "InnerSixty", pipeByInnerDiameter(7.85, 60, 50, 1000), 2, "6.78" },
        { "WallSixty", pipeByWall(7.85, 60, 5, 1000), 2, "6.78" },
        { "Inner114", pipeByInnerDiameter(7.85, 114, 100, 6000), 2, "110.83" },
        { "Wall114", pipeByWall(7.85, 114, 7, 6000), 2, "110.83" },
        { "InnerLargerThanOuter", pipeByInnerDiameter(7.85, 50, 60, 1000), 2, "-6.78" },
        { "WallPastCentre", pipeByWall(7.85, 60, 40, 1000), 2, "19.73" },
        { "InnerZeroIsSolidBar", pipeByInnerDiameter(7.85, 20, 0, 1000), 2, "2.47" },
        { "WallZeroIsNothing", pipeByWall(7.85, 60, 0, 1000), 2, "0" },
        { "InnerHundred", pipeByInnerDiameter(7.85, 100, 80, 1000), 5, "22.1954" },
        { "WallHundred", pipeByWall(7.85, 100, 10, 1000), 5, "22.1954" },
    }),
    rowName);

// Each step is rounded on its own; the sheet comes out just below 94.2, not on it.
TEST(FormulaBits, SteelSheetIsTheStepwiseDouble)
{
    EXPECT_EQ(plateByDimensions(7.85, 2000, 1000, 6), 94.19999999999999);
    EXPECT_NE(plateByDimensions(7.85, 2000, 1000, 6), 94.2);
}

} // namespace
} // namespace tarnwick
