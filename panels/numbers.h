#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace tarnwick {

// Why a value cannot be shown as a number; the window turns each into its caption.
enum class Fault {
    OutOfRange,      // the value is not a finite number
    DivisorZero,     // division by zero
    RootDegreeZero,  // root of degree zero
    NoRealResult,    // the operation has no real result
};

// What a result label shows: a number's text, or a fault.
using Display = std::variant<std::string, Fault>;

// The number that a UTF-8 text begins with; 0 where it begins with none. Never fails.
double readNumber(std::string_view text);

// The weight rounded to `decimals` places, written in its shortest form; a fault if not finite.
Display showWeight(double weight, int decimals);

// The value as a 15-significant-digit decimal rounded half away from zero to `decimals`
// places, written with exactly that many decimals (the fixed-point display pattern).
std::string formatFixed(double value, int decimals);

} // namespace tarnwick
