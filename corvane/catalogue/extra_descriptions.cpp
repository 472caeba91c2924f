#include "corvane/catalogue/extra_descriptions.h"

#include <cstdint>

#include "common/text.h"

namespace corvane {

namespace {

// Code page 1252 at 0x80 to 0x9F; 0 where the code page has no character.
constexpr char16_t Cp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

constexpr char32_t Replacement = 0xFFFD;

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// The length of the UTF-8 sequence at `i`, or 0 when it is not a valid one (overlong forms,
// surrogates and values beyond U+10FFFF included).
std::size_t utf8SequenceAt(std::string_view text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  if (lead < 0x80) {
    return 1;
  }
  std::size_t length = 0;
  char32_t value = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    value = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    value = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    value = lead & 0x07;
  } else {
    return 0;
  }
  if (i + length > text.size()) {
    return 0;
  }
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) {
      return 0;
    }
    value = (value << 6) | (byte(i + k) & 0x3F);
  }
  const bool overlong = (length == 3 && value < 0x800) || (length == 4 && value < 0x10000);
  if (overlong || (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF) {
    return 0;
  }
  return length;
}

bool isValidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = utf8SequenceAt(text, i);
    if (length == 0) {
      return false;
    }
    i += length;
  }
  return true;
}

bool isControl(unsigned char c) {
  return (c < 0x20 && c != '\t') || c == 0x7F;
}

// The end of the last whole UTF-8 character at or before `limit`.
std::size_t characterBoundary(std::string_view text, std::size_t limit) {
  while (limit > 0 && (static_cast<unsigned char>(text[limit]) & 0xC0) == 0x80) {
    --limit;
  }
  return limit;
}

}  // namespace

bool isHeaderLine(std::string_view line) {
  return !line.empty() && line.front() == '[' && line.back() == ']';
}

std::ptrdiff_t findExtraDescriptionHeader(const std::vector<std::string>& lines,
                                          std::string_view displayName) {
  std::string wanted(1, '[');
  wanted.append(displayName).push_back(']');
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const std::string& line = lines[i];
    if (!isHeaderLine(line)) {
      continue;
    }
    if (common::equalsIgnoreCase(line, wanted) ||
        (!isValidUtf8(line) && common::equalsIgnoreCase(displayLine(line), wanted))) {
      return static_cast<std::ptrdiff_t>(i);
    }
  }
  return -1;
}

std::vector<std::string> extraDescriptionText(const std::vector<std::string>& lines,
                                              std::size_t header) {
  std::vector<std::string> text;
  std::size_t i = header + 1;
  while (i < lines.size() && lines[i].empty()) {
    ++i;
  }
  std::size_t bytes = 0;
  for (; i < lines.size() && !isHeaderLine(lines[i]); ++i) {
    std::string line = displayLine(lines[i]);
    const std::size_t room =
        bytes < MaxAdditionalDescriptionBytes ? MaxAdditionalDescriptionBytes - bytes : 0;
    if (line.size() > room) {
      line.resize(characterBoundary(line, room));
      if (!line.empty()) {
        text.push_back(std::move(line));
      }
      text.emplace_back(AdditionalDescriptionCut);
      break;
    }
    bytes += line.size() + 1;
    text.push_back(std::move(line));
  }
  return text;
}

std::string displayLine(std::string_view line) {
  std::string shown;
  shown.reserve(line.size());
  if (isValidUtf8(line)) {
    for (const char c : line) {
      if (isControl(static_cast<unsigned char>(c))) {
        appendUtf8(shown, Replacement);
      } else {
        shown += c;
      }
    }
    return shown;
  }
  for (const char c : line) {
    const auto byte = static_cast<unsigned char>(c);
    if (isControl(byte)) {
      appendUtf8(shown, Replacement);
    } else if (byte >= 0x80 && byte <= 0x9F) {
      const char16_t mapped = Cp1252High[byte - 0x80];
      appendUtf8(shown, mapped == 0 ? Replacement : mapped);
    } else {
      appendUtf8(shown, byte);
    }
  }
  return shown;
}

}  // namespace corvane
