#include "lorvin/lorvin_install_dir.h"

#include <exception>
#include <optional>
#include <system_error>

namespace lorvin {

namespace {

#ifdef _WIN32
constexpr char Separator = '\\';
#else
constexpr char Separator = '/';
#endif

bool isFolder(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_directory(PathOf(path), error);
}

}  // namespace

std::filesystem::path PathOf(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string FindInstallDir(platform::Registry& registry, const std::string& programFolder) {
  std::optional<std::string> stored;
  try {
    registry.createKey(platform::RegRoot::CurrentUser, PerUserKey);
    stored = registry.readText(platform::RegRoot::CurrentUser, PerUserKey, InstallDirValue);
  } catch (const std::exception&) {
    return programFolder;
  }
  if (!stored || stored->empty() || *stored == "0" || !isFolder(*stored)) {
    return programFolder;
  }
  return *stored;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (!folder.empty() && (folder.back() == '/' || folder.back() == '\\')) {
    return folder + name;
  }
  return folder + Separator + name;
}

}  // namespace lorvin
