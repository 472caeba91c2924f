// Paths as the start-up logic handles them: UTF-8 texts, with the platform's separator.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace corvane {

std::filesystem::path pathOf(std::string_view utf8);
std::string textOf(const std::filesystem::path& path);

bool isFolder(std::string_view path);
// An existing file, not a folder.
bool isFile(std::string_view path);
// The folder part of a file's path, without a trailing separator.
std::string folderOf(std::string_view filePath);
// The text from the last "." of the file name on ("" when it has none), as ".snapshot".
std::string extensionOf(std::string_view filePath);
// The path without one trailing "/" or "\".
std::string withoutTrailingSeparator(std::string path);

}  // namespace corvane
