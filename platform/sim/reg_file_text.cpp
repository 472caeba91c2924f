#include "platform/sim/reg_file_text.h"

#include <cstdint>

namespace platform::sim {

namespace {

void appendUtf8(std::string& out, std::uint32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

void appendUtf16le(std::string& out, std::uint32_t c) {
  const auto unit = [&out](std::uint32_t u) {
    out.push_back(static_cast<char>(u & 0xFF));
    out.push_back(static_cast<char>(u >> 8));
  };
  if (c < 0x10000) {
    unit(c);
  } else {
    c -= 0x10000;
    unit(0xD800 | (c >> 10));
    unit(0xDC00 | (c & 0x3FF));
  }
}

// The code point of the UTF-8 sequence at `pos` and its length; length 0 when the bytes there
// are not a valid, shortest-form sequence of a character outside the surrogate range.
std::uint32_t decodeUtf8(std::string_view text, std::size_t pos, std::size_t& length) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[pos + i]); };
  const unsigned char lead = byte(0);
  length = 0;
  std::size_t count;
  std::uint32_t c;
  if (lead < 0x80) {
    length = 1;
    return lead;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    count = 2;
    c = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    count = 3;
    c = lead & 0x0F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    count = 4;
    c = lead & 0x07;
  } else {
    return 0;
  }
  if (pos + count > text.size())
    return 0;
  for (std::size_t i = 1; i < count; ++i) {
    if ((byte(i) & 0xC0) != 0x80)
      return 0;
    c = (c << 6) | (byte(i) & 0x3F);
  }
  const bool shortest = (count == 3 && c >= 0x800) || (count == 4 && c >= 0x10000) || count == 2;
  if (!shortest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
    return 0;
  length = count;
  return c;
}

}  // namespace

Utf16Decoded utf8FromUtf16le(std::string_view bytes) {
  Utf16Decoded result;
  const auto unitAt = [&](std::size_t i) {
    return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i])) |
           static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[i + 1])) << 8;
  };
  const std::size_t end = bytes.size() & ~std::size_t{1};
  for (std::size_t i = 0; i < end; i += 2) {
    std::uint32_t c = unitAt(i);
    if (c >= 0xDC00 && c <= 0xDFFF) {
      result.valid = false;
      return result;
    }
    if (c >= 0xD800 && c <= 0xDBFF) {
      const std::uint32_t low = i + 3 < end ? unitAt(i + 2) : 0;
      if (low < 0xDC00 || low > 0xDFFF) {
        result.valid = false;
        return result;
      }
      c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
      i += 2;
    }
    appendUtf8(result.text, c);
  }
  result.valid = end == bytes.size();
  return result;
}

std::string utf16leFromUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() * 2);
  for (std::size_t pos = 0; pos < text.size();) {
    std::size_t length;
    const std::uint32_t c = decodeUtf8(text, pos, length);
    if (length == 0) {
      appendUtf16le(out, static_cast<unsigned char>(text[pos]));
      ++pos;
    } else {
      appendUtf16le(out, c);
      pos += length;
    }
  }
  return out;
}

std::size_t characterCount(std::string_view text) {
  std::size_t count = 0;
  for (const char c : text)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80)
      ++count;
  return count;
}

}  // namespace platform::sim
