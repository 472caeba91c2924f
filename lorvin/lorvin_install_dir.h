// The folder Lorvin works in: Corvane's InstallDir from the per-user registry value, or else the
// folder of Lorvin's own program file. Lorvin never writes the value.
#pragma once

#include <filesystem>
#include <string>

#include "platform/registry.h"

namespace lorvin {

inline constexpr const char* PerUserKey = "Software\\Tavik\\Corvane";
inline constexpr const char* InstallDirValue = "InstallDir";

// The stored folder when it is usable (not empty, not "0", an existing folder), else
// `programFolder`. Opens the per-user key, creating it when missing; a registry failure is
// silent.
std::string FindInstallDir(platform::Registry& registry, const std::string& programFolder);

// `folder`, the separator of this platform (unless it ends in one) and `name`.
std::string JoinPath(const std::string& folder, const std::string& name);

// A UTF-8 path text as a path.
std::filesystem::path PathOf(const std::string& utf8);

}  // namespace lorvin
