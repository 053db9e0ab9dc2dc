#include "calculator/calculation.h"

#include <gtest/gtest.h>

#include <limits>
#include <ostream>
#include <string>
#include <vector>

namespace tarnwick {
namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();

struct CalculationRow
{
    std::string name;
    double a;
    Operation op;
    double b;
    Display expected;
};

void PrintTo(const CalculationRow &row, std::ostream *out)
{
    *out << row.name;
}

class Calculate : public ::testing::TestWithParam<CalculationRow>
{
};

TEST_P(Calculate, GivesTwoDecimalsOrFault)
{
    const CalculationRow &row = GetParam();
    EXPECT_EQ(calculate(row.a, row.b, row.op), row.expected) << row.a << " op " << row.b;
}

std::string rowName(const ::testing::TestParamInfo<CalculationRow> &info)
{
    return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Arithmetic, Calculate,
    ::testing::ValuesIn(std::vector<CalculationRow> {
        { "Add", 10, Operation::Add, 3, "13.00" },
        { "Subtract", 10, Operation::Subtract, 3, "7.00" },
        { "Multiply", 10, Operation::Multiply, 3, "30.00" },
        { "Divide", 10, Operation::Divide, 3, "3.33" },
        { "DivideRoundsUp", 2, Operation::Divide, 3, "0.67" },
        { "SubtractBelowZero", 3, Operation::Subtract, 5, "-2.00" },
        { "DivideBySmall", 1, Operation::Divide, 0.001, "1000.00" },
        { "ZeroPlusZero", 0, Operation::Add, 0, "0.00" },
        { "BinaryNoiseHidden", 0.1, Operation::Add, 0.2, "0.30" },
        { "HalfAwayFromZero", 0.125, Operation::Multiply, 1, "0.13" },
        { "NegativeRoundsToZero", -0.001, Operation::Multiply, 1, "0.00" },
        { "SteelSheetKilos", 23.55, Operation::Multiply, 4, "94.20" },
        { "LargePlainDigits", 1e10, Operation::Multiply, 1e10, "100000000000000000000.00" },
        { "NegativeHalfDivide", -1, Operation::Divide, 8, "-0.13" },
    }),
    rowName);

INSTANTIATE_TEST_SUITE_P(PowerAndRoot, Calculate,
    ::testing::ValuesIn(std::vector<CalculationRow> {
        { "Power", 10, Operation::Power, 3, "1000.00" },
        { "PowerOfTwo", 2, Operation::Power, 10, "1024.00" },
        { "ZeroToZero", 0, Operation::Power, 0, "1.00" },
        { "AnyToZero", 5, Operation::Power, 0, "1.00" },
        { "InfinityToZero", infinity, Operation::Power, 0, "1.00" },
        { "NegativeWholePower", -2, Operation::Power, 3, "-8.00" },
        { "NegativeReciprocalPower", -2, Operation::Power, -1, "-0.50" },
        { "Root", 10, Operation::Root, 3, "2.15" },
        { "CubeRoot", 8, Operation::Root, 3, "2.00" },
        { "SquareRoot", 9, Operation::Root, 2, "3.00" },
        { "NegativeDegree", 16, Operation::Root, -2, "0.25" },
        { "OddRootOfNegative", -8, Operation::Root, 3, "-2.00" },
        { "OddNegativeRootOfNegative", -8, Operation::Root, -3, "-0.50" },
        { "WholeReciprocalDegree", -4, Operation::Root, 0.5, "16.00" },
        { "FifthRootOfNegative", -32, Operation::Root, 5, "-2.00" },
    }),
    rowName);

INSTANTIATE_TEST_SUITE_P(Faults, Calculate,
    ::testing::ValuesIn(std::vector<CalculationRow> {
        { "DivideByZero", 5, Operation::Divide, 0, Fault::DivisorZero },
        { "DivideByNegativeZero", 5, Operation::Divide, -0.0, Fault::DivisorZero },
        { "ZeroDivideByZero", 0, Operation::Divide, 0, Fault::DivisorZero },
        { "RootDegreeZero", 5, Operation::Root, 0, Fault::RootDegreeZero },
        { "RootDegreeNegativeZero", 5, Operation::Root, -0.0, Fault::RootDegreeZero },
        { "Overflow", 1e300, Operation::Multiply, 1e300, Fault::OutOfRange },
        { "InfinityMinusInfinity", infinity, Operation::Subtract, infinity, Fault::OutOfRange },
        { "InfinityTimesZero", infinity, Operation::Multiply, 0, Fault::OutOfRange },
        { "InfiniteOperand", infinity, Operation::Add, 1, Fault::OutOfRange },
        { "PowerOverflow", 10, Operation::Power, 400, Fault::OutOfRange },
        { "DivideOverflow", 1e300, Operation::Divide, 1e-300, Fault::OutOfRange },
        { "NegativeFractionalPower", -8, Operation::Power, 0.5, Fault::NoRealResult },
        { "ZeroToNegative", 0, Operation::Power, -1, Fault::NoRealResult },
        { "NegativeInfinityToHalf", -infinity, Operation::Power, 0.5, Fault::NoRealResult },
        { "ZeroNegativeRoot", 0, Operation::Root, -3, Fault::NoRealResult },
        { "EvenRootOfNegative", -16, Operation::Root, 2, Fault::NoRealResult },
        { "FractionalRootOfNegative", -8, Operation::Root, 2.5, Fault::NoRealResult },
    }),
    rowName);

} // namespace
} // namespace tarnwick
