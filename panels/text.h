#pragma once

#include <string>
#include <string_view>

// Conversions between the UTF-16 text that controls hold and the UTF-8 that the number rules
// and the control table use.
namespace tarnwick {

// The UTF-8 form of a UTF-16 text; a lone surrogate becomes U+FFFD.
std::string toUtf8(std::u16string_view text);

// The UTF-16 form of a UTF-8 text; a byte that starts no valid sequence becomes U+FFFD.
std::u16string toUtf16(std::string_view text);

} // namespace tarnwick
