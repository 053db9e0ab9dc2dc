// readNumber over any bytes: it never fails, the plain decimal texts the standard library
// reads in full are read to the same double, and every finite number read shows as a text
// that settles (see checkShownWeight).

#include "fuzz_checks.h"
#include "panels/numbers.h"

#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <system_error>

namespace {

// Texts made only of ASCII digits, '.', '-', 'e' and 'E' are numbers in the standard form,
// with no blanks or full-width symbols to drop.
bool isPlainAsciiNumber(std::string_view text)
{
    for (const char c : text) {
        if (!tarnwick::fuzz::isDigit(c) && c != '.' && c != '-' && c != 'e' && c != 'E') {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace tarnwick;
    using namespace tarnwick::fuzz;

    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const double value = readNumber(text);

    if (isPlainAsciiNumber(text)) {
        double standard = 0.0;
        const auto result = std::from_chars(text.data(), text.data() + text.size(), standard);
        if (result.ec == std::errc() && result.ptr == text.data() + text.size()) {
            require(value == standard && std::signbit(value) == std::signbit(standard),
                "a plain decimal text is read as the standard library reads it",
                quoted(text) + " read as " + exact(value) + ", expected " + exact(standard));
        }
    }

    if (std::isfinite(value)) {
        checkShownWeight(value, 2, quoted(text));
        checkShownWeight(value, 5, quoted(text));
    }
    return 0;
}
