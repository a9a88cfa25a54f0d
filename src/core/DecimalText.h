#pragma once

#include <cstdint>
#include <string_view>

namespace quenderlink {

// The leading decimal number of a text as atoi reads it: white space, an
// optional sign, then digits up to the first other character; 0 when there are
// none. It wraps at 32 bits, so narrowing it keeps the low bits as a C cast of
// atoi's result would, and "-1" reads as 0xFFFFFFFF as the settings always have.
std::uint32_t LeadingDecimal(std::string_view text);

// The leading decimal number of a text with its fraction, as atof reads a
// milepost: "12.5 N" is 12.5; 0 when the text starts with no number.
double LeadingDecimalNumber(std::string_view text);

}  // namespace quenderlink
