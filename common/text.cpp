#include "common/text.h"

#include <limits>

namespace common {

char toLowerAscii(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string toLowerAscii(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) {
    c = toLowerAscii(c);
  }
  return lower;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (toLowerAscii(a[i]) != toLowerAscii(b[i])) {
      return false;
    }
  }
  return true;
}

bool isBlankOrControl(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte <= 0x20 || byte == 0x7F;
}

std::string_view trim(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && isBlankOrControl(text[begin])) {
    ++begin;
  }
  while (end > begin && isBlankOrControl(text[end - 1])) {
    --end;
  }
  return text.substr(begin, end - begin);
}

std::vector<std::string_view> split(std::string_view text, char separator) {
  std::vector<std::string_view> pieces;
  std::size_t start = 0;
  for (;;) {
    const std::size_t found = text.find(separator, start);
    if (found == std::string_view::npos) {
      pieces.push_back(text.substr(start));
      return pieces;
    }
    pieces.push_back(text.substr(start, found - start));
    start = found + 1;
  }
}

namespace {

int digitValue(char c, int base) {
  int value = -1;
  if (c >= '0' && c <= '9') {
    value = c - '0';
  } else if (c >= 'a' && c <= 'f') {
    value = c - 'a' + 10;
  } else if (c >= 'A' && c <= 'F') {
    value = c - 'A' + 10;
  }
  return value < base ? value : -1;
}

// Digits in the base, with the sign already taken off; nothing when the magnitude passes limit.
std::optional<std::uint64_t> parseMagnitude(std::string_view digits, int base,
                                            std::uint64_t limit) {
  if (digits.empty()) {
    return std::nullopt;
  }
  std::uint64_t value = 0;
  for (char c : digits) {
    const int digit = digitValue(c, base);
    if (digit < 0) {
      return std::nullopt;
    }
    if (value > (limit - static_cast<std::uint64_t>(digit)) / static_cast<std::uint64_t>(base)) {
      return std::nullopt;
    }
    value = value * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(digit);
  }
  return value;
}

template <typename Int>
std::optional<Int> parseSigned(std::string_view text, bool allowHex) {
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (allowHex && !text.empty() && text.front() == '$') {
    base = 16;
    text.remove_prefix(1);
  } else if (allowHex && text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    base = 16;
    text.remove_prefix(2);
  }
  const auto max = static_cast<std::uint64_t>(std::numeric_limits<Int>::max());
  const std::optional<std::uint64_t> magnitude =
      parseMagnitude(text, base, negative ? max + 1 : max);
  if (!magnitude) {
    return std::nullopt;
  }
  if (negative) {
    // Negate in the unsigned domain so that the smallest value does not overflow.
    return static_cast<Int>(~*magnitude + 1);
  }
  return static_cast<Int>(*magnitude);
}

}  // namespace

std::optional<std::int64_t> parseDecimal(std::string_view text) {
  return parseSigned<std::int64_t>(text, false);
}

std::optional<std::int32_t> parseInteger(std::string_view text) {
  return parseSigned<std::int32_t>(text, true);
}

}  // namespace common
