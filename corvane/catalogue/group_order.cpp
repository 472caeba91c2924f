#include "corvane/catalogue/group_order.h"

#include <algorithm>

namespace corvane {

std::vector<std::string> GroupOrderNames(std::string_view bytes, std::size_t bufferBytes) {
  const std::string_view buffer = bytes.substr(0, std::min(bytes.size(), bufferBytes));
  std::vector<std::string> names;
  std::size_t position = 0;
  while (position < buffer.size()) {
    if (buffer[position] == '\0') {
      if (!names.empty())
        break;
      ++position;
      continue;
    }
    std::size_t end = buffer.find('\0', position);
    if (end == std::string_view::npos)
      end = buffer.size();
    names.emplace_back(buffer.substr(position, end - position));
    position = end + 1;
  }
  return names;
}

}  // namespace corvane
