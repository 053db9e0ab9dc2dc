#include "panels/numbers.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <system_error>

namespace tarnwick {

namespace {

// Reads the symbols of a typed number one at a time: blanks are dropped, full-width forms
// become their ASCII twins, and anything else ends the number (end() is '\0').
class SymbolReader
{
public:
    explicit SymbolReader(std::string_view text)
        : m_text(text)
    { }

    // The next symbol without consuming it: a digit, '.', '+', '-', 'e' or '\0'.
    char peek()
    {
        skipBlanks();
        return symbolAt(m_pos, nullptr);
    }

    void advance()
    {
        skipBlanks();
        std::size_t length = 0;
        symbolAt(m_pos, &length);
        m_pos += length;
    }

private:
    unsigned char byte(std::size_t at) const
    {
        return at < m_text.size() ? static_cast<unsigned char>(m_text[at]) : 0U;
    }

    bool threeBytes(std::size_t at, unsigned char first, unsigned char second) const
    {
        return at + 2 < m_text.size() && byte(at) == first && byte(at + 1) == second;
    }

    void skipBlanks()
    {
        while (m_pos < m_text.size()) {
            const unsigned char b = byte(m_pos);
            if (b == 0x20 || b == 0x09 || b == 0x0A) {
                ++m_pos;
            } else if (threeBytes(m_pos, 0xE3, 0x80) && byte(m_pos + 2) == 0x80) {
                m_pos += 3;
            } else {
                return;
            }
        }
    }

    char symbolAt(std::size_t at, std::size_t *length) const
    {
        std::size_t used = 1;
        char symbol = '\0';
        const unsigned char b = byte(at);
        if (at >= m_text.size()) {
            used = 0;
        } else if ((b >= '0' && b <= '9') || b == '.' || b == '+' || b == '-' || b == 'e') {
            symbol = static_cast<char>(b);
        } else if (b == 'E') {
            symbol = 'e';
        } else if (threeBytes(at, 0xEF, 0xBC)) {
            const unsigned char last = byte(at + 2);
            used = 3;
            if (last >= 0x90 && last <= 0x99) {
                symbol = static_cast<char>('0' + (last - 0x90));
            } else if (last == 0x8E) {
                symbol = '.';
            } else if (last == 0x8D) {
                symbol = '-';
            } else if (last == 0x8B) {
                symbol = '+';
            } else if (last == 0xA5) {
                symbol = 'e';
            }
        } else if (threeBytes(at, 0xEF, 0xBD) && byte(at + 2) == 0x85) {
            used = 3;
            symbol = 'e';
        } else if (threeBytes(at, 0xE3, 0x80) && byte(at + 2) == 0x82) {
            used = 3;
            symbol = '.';
        }
        if (length != nullptr) {
            *length = symbol == '\0' ? 0 : used;
        }
        return symbol;
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
};

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Beyond these decimal exponents of the leading digit every double is infinite or zero.
constexpr std::int64_t overflowExponent = 400;
constexpr std::int64_t underflowExponent = -400;
// Exponents are read up to this size; anything larger means the same.
constexpr std::int64_t exponentCap = 1'000'000'000'000'000;
// Deciding the nearest double never needs more than 767 significant digits; any digits
// after these are represented by a single trailing 1 when one of them is not zero.
constexpr std::size_t keptDigits = 800;

double signedZero(bool negative)
{
    return negative ? -0.0 : 0.0;
}

double signedInfinity(bool negative)
{
    constexpr double infinity = std::numeric_limits<double>::infinity();
    return negative ? -infinity : infinity;
}

// A number in decimal scientific form: digits d1 d2 ... (d1 != 0 unless zero) meaning
// d1.d2... x 10^exponent.
struct DecimalForm
{
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

// The value's decimal form with 15 significant digits.
DecimalForm fifteenDigits(double value)
{
    std::array<char, 40> buffer {};
    const auto result = std::to_chars(
        buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::scientific, 14);
    const std::string_view text(
        buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data()));

    DecimalForm form;
    std::size_t pos = 0;
    if (text[pos] == '-') {
        form.negative = true;
        ++pos;
    }
    for (; pos < text.size() && text[pos] != 'e'; ++pos) {
        if (isDigit(text[pos])) {
            form.digits.push_back(text[pos]);
        }
    }
    // Skip 'e' and the exponent's sign, which from_chars does not accept.
    ++pos;
    const bool negativeExponent = text[pos] == '-';
    ++pos;
    std::from_chars(text.data() + pos, text.data() + text.size(), form.exponent);
    if (negativeExponent) {
        form.exponent = -form.exponent;
    }
    return form;
}

// The double nearest to a fixed-point text; beyond the largest double, an infinity.
double parseDouble(std::string_view text)
{
    double value = 0.0;
    const auto result = std::from_chars(
        text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        return signedInfinity(!text.empty() && text.front() == '-');
    }
    return value;
}

} // namespace

double readNumber(std::string_view text)
{
    SymbolReader reader(text);

    bool negative = false;
    if (reader.peek() == '+' || reader.peek() == '-') {
        negative = reader.peek() == '-';
        reader.advance();
    }

    // Significant digits from the first non-zero one, and the decimal exponent of that digit
    // counted as if the point stood right after the first digit read.
    std::string digits;
    bool droppedNonZero = false;
    bool anyDigit = false;
    bool seenPoint = false;
    std::int64_t leadingExponent = -1;
    for (char c = reader.peek();; c = reader.peek()) {
        if (isDigit(c)) {
            anyDigit = true;
            if (digits.empty() && c == '0') {
                // A zero before the first significant digit only moves it.
                if (seenPoint) {
                    --leadingExponent;
                }
            } else {
                if (digits.empty()) {
                    if (!seenPoint) {
                        leadingExponent = 0;
                    }
                } else if (!seenPoint) {
                    ++leadingExponent;
                }
                if (digits.size() < keptDigits) {
                    digits.push_back(c);
                } else if (c != '0') {
                    droppedNonZero = true;
                }
            }
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
        reader.advance();
    }
    if (!anyDigit) {
        return 0.0;
    }

    std::int64_t exponent = 0;
    if (reader.peek() == 'e') {
        // An exponent without digits is not part of the number, which then simply ends.
        reader.advance();
        bool negativeExponent = false;
        if (reader.peek() == '+' || reader.peek() == '-') {
            negativeExponent = reader.peek() == '-';
            reader.advance();
        }
        if (isDigit(reader.peek())) {
            while (isDigit(reader.peek())) {
                if (exponent < exponentCap) {
                    exponent = exponent * 10 + (reader.peek() - '0');
                }
                reader.advance();
            }
            if (negativeExponent) {
                exponent = -exponent;
            }
        }
    }

    // Trailing zeros say nothing, unless a non-zero digit beyond the kept ones follows them.
    while (!droppedNonZero && !digits.empty() && digits.back() == '0') {
        digits.pop_back();
    }
    if (digits.empty()) {
        return signedZero(negative);
    }

    const std::int64_t decimalExponent = leadingExponent + exponent;
    if (decimalExponent > overflowExponent) {
        return signedInfinity(negative);
    }
    if (decimalExponent < underflowExponent) {
        return signedZero(negative);
    }

    if (droppedNonZero) {
        digits.push_back('1');
    }
    std::string canonical;
    canonical.reserve(digits.size() + 16);
    if (negative) {
        canonical.push_back('-');
    }
    canonical.push_back(digits.front());
    if (digits.size() > 1) {
        canonical.push_back('.');
        canonical.append(digits, 1);
    }
    canonical.push_back('e');
    std::array<char, 24> exponentText {};
    const auto written = std::to_chars(
        exponentText.data(), exponentText.data() + exponentText.size(), decimalExponent);
    canonical.append(exponentText.data(), written.ptr);

    double value = 0.0;
    const auto result = std::from_chars(
        canonical.data(), canonical.data() + canonical.size(), value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        return decimalExponent > 0 ? signedInfinity(negative) : signedZero(negative);
    }
    return value;
}

std::string formatFixed(double value, int decimals)
{
    const DecimalForm form = fifteenDigits(value);
    const auto significant = static_cast<std::int64_t>(form.digits.size());

    // The digits of the value scaled by 10^decimals and cut after the units place.
    const std::int64_t kept = std::int64_t { form.exponent } + 1 + decimals;
    std::string scaled;
    if (kept >= significant) {
        scaled = form.digits;
        scaled.append(static_cast<std::size_t>(kept - significant), '0');
    } else if (kept >= 0) {
        scaled = form.digits.substr(0, static_cast<std::size_t>(kept));
        if (form.digits[static_cast<std::size_t>(kept)] >= '5') {
            // Half away from zero: the magnitude goes up, the sign is applied afterwards.
            auto pos = scaled.size();
            while (pos > 0 && scaled[pos - 1] == '9') {
                scaled[--pos] = '0';
            }
            if (pos == 0) {
                scaled.insert(scaled.begin(), '1');
            } else {
                ++scaled[pos - 1];
            }
        }
    }

    const auto firstNonZero = scaled.find_first_not_of('0');
    if (firstNonZero == std::string::npos) {
        scaled.clear();
    } else {
        scaled.erase(0, firstNonZero);
    }
    const bool negative = form.negative && !scaled.empty();
    const auto fraction = static_cast<std::size_t>(decimals);
    if (scaled.size() < fraction + 1) {
        scaled.insert(0, fraction + 1 - scaled.size(), '0');
    }

    std::string text;
    text.reserve(scaled.size() + 2);
    if (negative) {
        text.push_back('-');
    }
    text.append(scaled, 0, scaled.size() - fraction);
    if (fraction > 0) {
        text.push_back('.');
        text.append(scaled, scaled.size() - fraction, fraction);
    }
    return text;
}

Display showWeight(double weight, int decimals)
{
    if (!std::isfinite(weight)) {
        return Fault::OutOfRange;
    }
    // The largest weights round, at 15 digits, beyond the largest double.
    const double rounded = parseDouble(formatFixed(weight, decimals));
    if (!std::isfinite(rounded)) {
        return Fault::OutOfRange;
    }
    if (rounded == 0.0) {
        return std::string("0");
    }

    DecimalForm form = fifteenDigits(rounded);
    while (form.digits.size() > 1 && form.digits.back() == '0') {
        form.digits.pop_back();
    }

    std::string text;
    if (form.negative) {
        text.push_back('-');
    }
    if (std::fabs(rounded) >= 1e15) {
        text.push_back(form.digits.front());
        if (form.digits.size() > 1) {
            text.push_back('.');
            text.append(form.digits, 1);
        }
        // Here the exponent is at least 15, so it always has two digits or more.
        text.append("E+");
        std::array<char, 8> exponentText {};
        const auto written = std::to_chars(
            exponentText.data(), exponentText.data() + exponentText.size(), form.exponent);
        text.append(exponentText.data(), written.ptr);
    } else if (form.exponent >= 0) {
        const auto whole = static_cast<std::size_t>(form.exponent) + 1;
        if (form.digits.size() <= whole) {
            text.append(form.digits);
            text.append(whole - form.digits.size(), '0');
        } else {
            text.append(form.digits, 0, whole);
            text.push_back('.');
            text.append(form.digits, whole);
        }
    } else {
        text.append("0.");
        text.append(static_cast<std::size_t>(-form.exponent - 1), '0');
        text.append(form.digits);
    }
    return text;
}

} // namespace tarnwick
