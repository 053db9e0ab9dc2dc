#include "calculator/calculation.h"

#include <cmath>

namespace tarnwick {

namespace {

bool isWhole(double x)
{
    return std::isfinite(x) && std::trunc(x) == x;
}

bool isOddWhole(double x)
{
    return isWhole(x) && std::fmod(x, 2.0) != 0.0;
}

Display written(double result)
{
    if (!std::isfinite(result)) {
        return Fault::OutOfRange;
    }
    return formatFixed(result, 2);
}

Display power(double base, double exponent)
{
    if ((base < 0.0 && !isWhole(exponent)) || (base == 0.0 && exponent < 0.0)) {
        return Fault::NoRealResult;
    }
    return written(std::pow(base, exponent));
}

Display root(double radicand, double degree)
{
    if (degree == 0.0) {
        return Fault::RootDegreeZero;
    }
    const double exponent = 1 / degree;
    if (radicand == 0.0 && exponent < 0.0) {
        return Fault::NoRealResult;
    }
    if (radicand < 0.0) {
        if (isOddWhole(degree)) {
            // pow() has no real answer for a negative base and a fractional exponent,
            // but an odd root of a negative number is the negated root of its magnitude.
            return written(-std::pow(-radicand, exponent));
        }
        if (isWhole(exponent)) {
            return written(std::pow(radicand, exponent));
        }
        return Fault::NoRealResult;
    }
    return written(std::pow(radicand, exponent));
}

} // namespace

Display calculate(double a, double b, Operation op)
{
    switch (op) {
    case Operation::Add:
        return written(a + b);
    case Operation::Subtract:
        return written(a - b);
    case Operation::Multiply:
        return written(a * b);
    case Operation::Divide:
        if (b == 0.0) {
            return Fault::DivisorZero;
        }
        return written(a / b);
    case Operation::Power:
        return power(a, b);
    case Operation::Root:
        return root(a, b);
    }
    return Fault::OutOfRange;
}

} // namespace tarnwick
