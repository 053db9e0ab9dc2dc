#pragma once

// What the fuzz targets share: a check that stops the run with the failing values, the
// rounded value a shown weight stands for, and the shapes of the texts the rules write.

#include "panels/numbers.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>
#include <system_error>
#include <variant>

namespace tarnwick::fuzz {

// Stops the run (libFuzzer saves the input) when a property does not hold.
inline void require(bool holds, const char *property, std::string_view detail)
{
    if (!holds) {
        std::fprintf(stderr, "property violated: %s\n  %.*s\n", property,
            static_cast<int>(detail.size()), detail.data());
        std::abort();
    }
}

// A double's shortest round-trip text, for failure messages.
inline std::string exact(double value)
{
    std::array<char, 40> buffer {};
    const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return { buffer.data(), written.ptr };
}

inline std::string quoted(std::string_view text)
{
    std::string out = "\"";
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b >= 0x20 && b < 0x7F && c != '"' && c != '\\') {
            out.push_back(c);
        } else {
            std::array<char, 5> escape {};
            std::snprintf(escape.data(), escape.size(), "\\x%02X", b);
            out.append(escape.data());
        }
    }
    out.push_back('"');
    return out;
}

// The value that formatFixed's text stands for, read by the standard library; beyond the
// largest double it is the infinity of its sign, as for any other text that overflows.
inline double fixedValue(double value, int decimals)
{
    const std::string text = formatFixed(value, decimals);
    double parsed = 0.0;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (result.ec == std::errc::result_out_of_range) {
        // Values this small would have been rounded to 0.00 already.
        parsed = text.front() == '-' ? -std::numeric_limits<double>::infinity()
                                     : std::numeric_limits<double>::infinity();
    }
    return parsed;
}

inline bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

inline bool allDigits(std::string_view text)
{
    for (const char c : text) {
        if (!isDigit(c)) {
            return false;
        }
    }
    return !text.empty();
}

// showWeight's plain form: -?digits(.digits)? with no leading zero before other digits, at
// most `decimals` decimals, none of them trailing zeros, and never "-0".
inline bool isPlainWeight(std::string_view text, int decimals)
{
    if (text == "-0") {
        return false;
    }
    if (!text.empty() && text.front() == '-') {
        text.remove_prefix(1);
    }
    const auto point = text.find('.');
    const std::string_view whole = text.substr(0, point);
    if (!allDigits(whole) || (whole.size() > 1 && whole.front() == '0')) {
        return false;
    }
    if (point == std::string_view::npos) {
        return true;
    }
    const std::string_view fraction = text.substr(point + 1);
    return allDigits(fraction) && fraction.size() <= static_cast<std::size_t>(decimals)
        && fraction.back() != '0';
}

// showWeight's form for 1E+15 and beyond: -?d(.digits)?E+nn with a leading digit 1 to 9,
// no trailing zero in the mantissa and an exponent of 15 or more.
inline bool isExponentWeight(std::string_view text)
{
    if (!text.empty() && text.front() == '-') {
        text.remove_prefix(1);
    }
    const auto mark = text.find("E+");
    if (mark == std::string_view::npos) {
        return false;
    }
    const std::string_view mantissa = text.substr(0, mark);
    const std::string_view power = text.substr(mark + 2);
    if (mantissa.empty() || mantissa.front() < '1' || mantissa.front() > '9') {
        return false;
    }
    if (mantissa.size() > 1
        && (mantissa.size() < 3 || mantissa[1] != '.' || !allDigits(mantissa.substr(2))
            || mantissa.back() == '0')) {
        return false;
    }
    int exponent = 0;
    const auto read = std::from_chars(power.data(), power.data() + power.size(), exponent);
    return allDigits(power) && read.ec == std::errc() && exponent >= 15 && exponent <= 308;
}

// The calculator's form: -?digits.dd with exactly two decimals, never "-0.00".
inline bool isTwoDecimals(std::string_view text)
{
    if (text == "-0.00") {
        return false;
    }
    if (!text.empty() && text.front() == '-') {
        text.remove_prefix(1);
    }
    const auto point = text.find('.');
    if (point == std::string_view::npos) {
        return false;
    }
    const std::string_view whole = text.substr(0, point);
    return allDigits(whole) && (whole.size() == 1 || whole.front() != '0')
        && allDigits(text.substr(point + 1)) && text.size() - point - 1 == 2;
}

// showWeight for a finite weight: a number exactly when the weight rounded to its 15-digit
// form is still a double; then the text's shape fits the size of that rounded value, the text
// reads back as it, and showing it again gives the same text.
inline void checkShownWeight(double weight, int decimals, std::string_view context)
{
    const Display shown = showWeight(weight, decimals);
    const double rounded = fixedValue(weight, decimals);
    const std::string where = std::string(context) + " weight " + exact(weight) + " decimals "
        + std::to_string(decimals) + " rounded " + exact(rounded);
    const auto *text = std::get_if<std::string>(&shown);
    if (!std::isfinite(rounded)) {
        require(shown == Display(Fault::OutOfRange),
            "a weight that rounds beyond the largest double is out of range",
            where + " shown as " + (text != nullptr ? quoted(*text) : "another fault"));
        return;
    }
    require(text != nullptr, "a weight that rounds to a double is shown as a number", where);

    const std::string detail = where + " shown as " + quoted(*text);
    if (std::fabs(rounded) >= 1e15) {
        require(
            isExponentWeight(*text), "from 1E+15 on the shown text has the exponent form", detail);
    } else {
        require(
            isPlainWeight(*text, decimals), "below 1E+15 the shown text is plain digits", detail);
    }
    const double readBack = readNumber(*text);
    require(readBack == rounded, "the shown text reads back as the rounded value",
        detail + ", read back " + exact(readBack));
    require(showWeight(readBack, decimals) == shown, "showing the read-back value settles", detail);
}

} // namespace tarnwick::fuzz
