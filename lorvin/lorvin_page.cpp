#include "lorvin/lorvin_page.h"

#include <cctype>
#include <filesystem>
#include <system_error>

namespace lorvin {

namespace {

bool hasScheme(const std::string& text) {
  const std::size_t colon = text.find(':');
  if (colon == std::string::npos || colon < 2 ||
      !std::isalpha(static_cast<unsigned char>(text[0]))) {
    return false;
  }
  for (std::size_t i = 1; i < colon; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (!std::isalnum(c) && c != '+' && c != '-' && c != '.') {
      return false;
    }
  }
  return true;
}

bool isExistingFile(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(
      std::filesystem::path(std::u8string(path.begin(), path.end())), error);
}

}  // namespace

Page ParsePage(const std::string& text) {
  Page page;
  if (hasScheme(text)) {
    page.address = text;
    return page;
  }
  page.isFile = true;
  page.file = text;
  const std::size_t hash = text.rfind('#');
  const std::size_t separator = text.find_last_of("/\\");
  if (hash != std::string::npos && (separator == std::string::npos || hash > separator) &&
      !isExistingFile(text)) {
    page.file = text.substr(0, hash);
    page.anchor = text.substr(hash + 1);
  }
  return page;
}

}  // namespace lorvin
