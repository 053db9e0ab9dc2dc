// showWeight over any double and the two weight patterns (2 and 5 decimals): a fault exactly
// for the values that are not finite, otherwise a text that settles (see checkShownWeight).
//
// The first byte chooses: bit 0 set for 5 decimals, bit 1 set to read the weight from the
// remaining bytes as typed text; otherwise the next 8 bytes are the double's own bits.

#include "fuzz_checks.h"
#include "panels/numbers.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace tarnwick;
    using namespace tarnwick::fuzz;

    if (size == 0) {
        return 0;
    }
    const int decimals = (data[0] & 1U) != 0 ? 5 : 2;
    const bool typed = (data[0] & 2U) != 0;

    double weight = 0.0;
    if (typed) {
        weight = readNumber(std::string_view(reinterpret_cast<const char *>(data + 1), size - 1));
    } else {
        std::array<std::uint8_t, sizeof(double)> bits {};
        std::memcpy(bits.data(), data + 1, std::min(bits.size(), size - 1));
        std::memcpy(&weight, bits.data(), sizeof weight);
    }

    if (!std::isfinite(weight)) {
        require(showWeight(weight, decimals) == Display(Fault::OutOfRange),
            "a weight that is not finite is out of range", exact(weight));
        return 0;
    }
    checkShownWeight(weight, decimals, typed ? "typed" : "bits");
    return 0;
}
