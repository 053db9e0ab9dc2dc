// calculate over two typed numbers and an operation: a fault that fits the operation, or
// the result written with exactly two decimals that settles when read back.
//
// The first byte is the operation (its value modulo 6, so '0' to '5' in a seed file), the
// rest is the first number's text, a '|', and the second number's text.

#include "calculator/calculation.h"
#include "fuzz_checks.h"
#include "panels/numbers.h"

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

namespace {

using tarnwick::Fault;
using tarnwick::Operation;

constexpr std::array operations { Operation::Add, Operation::Subtract, Operation::Multiply,
    Operation::Divide, Operation::Power, Operation::Root };

// The IEEE result of the four plain operations, which decides whether they overflow.
double plainResult(double a, double b, Operation op)
{
    switch (op) {
    case Operation::Add:
        return a + b;
    case Operation::Subtract:
        return a - b;
    case Operation::Multiply:
        return a * b;
    default:
        return a / b;
    }
}

// Which faults each operation may give, beyond those that hold for any input.
bool faultFits(Fault fault, double a, double b, Operation op)
{
    switch (op) {
    case Operation::Add:
    case Operation::Subtract:
    case Operation::Multiply:
        return fault == Fault::OutOfRange && !std::isfinite(plainResult(a, b, op));
    case Operation::Divide:
        if (b == 0.0) {
            return fault == Fault::DivisorZero;
        }
        return fault == Fault::OutOfRange && !std::isfinite(plainResult(a, b, op));
    case Operation::Power:
        return fault == Fault::OutOfRange || fault == Fault::NoRealResult;
    case Operation::Root:
        if (b == 0.0) {
            return fault == Fault::RootDegreeZero;
        }
        return fault == Fault::OutOfRange || fault == Fault::NoRealResult;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace tarnwick;
    using namespace tarnwick::fuzz;

    if (size == 0) {
        return 0;
    }
    const Operation op = operations.at(data[0] % operations.size());
    const std::string_view rest(reinterpret_cast<const char *>(data + 1), size - 1);
    const auto bar = rest.find('|');
    const std::string_view first = rest.substr(0, bar);
    const std::string_view second
        = bar == std::string_view::npos ? std::string_view() : rest.substr(bar + 1);

    const double a = readNumber(first);
    const double b = readNumber(second);
    const Display outcome = calculate(a, b, op);
    const std::string detail
        = exact(a) + " op " + std::to_string(data[0] % operations.size()) + " " + exact(b);

    if (const auto *fault = std::get_if<Fault>(&outcome)) {
        require(faultFits(*fault, a, b, op), "the fault fits the operation and its numbers",
            detail + " fault " + std::to_string(static_cast<int>(*fault)));
        return 0;
    }
    const std::string &text = std::get<std::string>(outcome);
    require(isTwoDecimals(text), "the result has exactly two decimals and is never -0.00",
        detail + " gave " + quoted(text));
    const bool plain = op != Operation::Power && op != Operation::Root;
    const bool zeroDivisor = (op == Operation::Divide || op == Operation::Root) && b == 0.0;
    require(!zeroDivisor && (!plain || std::isfinite(plainResult(a, b, op))),
        "a division by zero, a root of degree zero or an overflow gives no number",
        detail + " gave " + quoted(text));
    // The text has at most 15 significant digits, so the double nearest to it writes it again.
    const double readBack = readNumber(text);
    if (std::isfinite(readBack)) {
        require(formatFixed(readBack, 2) == text, "the result read back writes the same text",
            detail + " gave " + quoted(text) + ", read back " + exact(readBack));
    }
    return 0;
}
