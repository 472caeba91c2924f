#include "corvane/shell/text_lines.h"

#include <filesystem>

#include "common/atomic_file.h"
#include "common/text.h"

namespace corvane {

std::ptrdiff_t TextLines::indexOf(std::string_view text) const {
  for (std::size_t i = 0; i < Lines.size(); ++i) {
    if (common::equalsIgnoreCase(Lines[i], text))
      return static_cast<std::ptrdiff_t>(i);
  }
  return -1;
}

void TextLines::loadFromFile(const std::string& path, std::uintmax_t maxBytes) {
  const std::string bytes =
      common::readFile(std::filesystem::path(std::u8string(path.begin(), path.end())), maxBytes);
  Lines = splitLines(bytes);
}

std::vector<std::string> splitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos) {
      lines.emplace_back(text.substr(start));
      break;
    }
    lines.emplace_back(text.substr(start, end - start));
    start = end + 1;
    if (text[end] == '\r' && start < text.size() && text[start] == '\n')
      ++start;
  }
  return lines;
}

}  // namespace corvane
