// Text conversions of .reg files: UTF-16LE in "Version 5.00" files, UTF-8 in our 8-bit texts.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform::sim {

struct Utf16Decoded {
  std::string text;   // UTF-8; on failure, the text decoded before the fault
  bool valid = true;  // false for an odd byte count or an unpaired surrogate
};
Utf16Decoded utf8FromUtf16le(std::string_view bytes);

// Bytes that are not valid UTF-8 are taken as Latin-1 characters, so nothing is dropped.
std::string utf16leFromUtf8(std::string_view text);

// Characters of a UTF-8 text (bytes that do not continue a sequence).
std::size_t characterCount(std::string_view text);

}  // namespace platform::sim
