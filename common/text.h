// Small helpers for 8-bit texts: ASCII case rules, trimming, splitting and number parsing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace common {

// Only the ASCII letters change case; every other byte stays as it is.
char toLowerAscii(char c);
std::string toLowerAscii(std::string_view text);
bool equalsIgnoreCase(std::string_view a, std::string_view b);

// A blank or control character: any byte up to and including the space, and DEL.
bool isBlankOrControl(char c);

// The text without its leading and trailing blanks and control characters.
std::string_view trim(std::string_view text);

// The pieces between the separators, empty ones included: "a,,b" gives "a", "", "b"; an empty
// text gives one empty piece.
std::vector<std::string_view> split(std::string_view text, char separator);

// A whole text of decimal digits with an optional leading "-" or "+"; nothing for an empty
// text, any other character, or a number outside the range of the type.
std::optional<std::int64_t> parseDecimal(std::string_view text);

// An integer as the settings and snapshot files write it: optionally signed, in decimal or,
// after "$" or "0x", in hexadecimal; nothing for anything else or a number outside the range
// of a 32-bit signed integer.
std::optional<std::int32_t> parseInteger(std::string_view text);

}  // namespace common
