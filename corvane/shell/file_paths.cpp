#include "corvane/shell/file_paths.h"

#include <system_error>

namespace corvane {

namespace {
#ifdef _WIN32
constexpr const char* Separators = "\\/:";
#else
constexpr const char* Separators = "/";
#endif
}  // namespace

std::filesystem::path pathOf(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string textOf(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

bool isFolder(std::string_view path) {
  std::error_code error;
  return !path.empty() && std::filesystem::is_directory(pathOf(path), error);
}

bool isFile(std::string_view path) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(pathOf(path), error);
  return !path.empty() && std::filesystem::exists(status) && !std::filesystem::is_directory(status);
}

std::string folderOf(std::string_view filePath) {
  return withoutTrailingSeparator(textOf(pathOf(filePath).parent_path()));
}

std::string extensionOf(std::string_view filePath) {
  const std::size_t nameStart = filePath.find_last_of(Separators);
  const std::size_t dot = filePath.rfind('.');
  if (dot == std::string_view::npos || (nameStart != std::string_view::npos && dot < nameStart)) {
    return "";
  }
  return std::string(filePath.substr(dot));
}

std::string withoutTrailingSeparator(std::string path) {
  if (!path.empty() && (path.back() == '/' || path.back() == '\\'))
    path.pop_back();
  return path;
}

}  // namespace corvane
