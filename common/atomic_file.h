// Reading whole files and replacing files in one piece.
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

namespace common {

class FileError : public std::runtime_error {
 public:
  enum class Kind { Missing, NotRegularFile, TooLarge, ReadFailed, WriteFailed };
  FileError(Kind kind, const std::filesystem::path& path, const std::string& reason);
  Kind kind() const { return kind_; }
  const std::filesystem::path& path() const { return path_; }

 private:
  Kind kind_;
  std::filesystem::path path_;
};

// The path as a text for messages; never throws.
std::string pathText(const std::filesystem::path& path);

// Writes the bytes to a new file beside the target, forces them to the disk and renames the new
// file over the target. On failure the target is as it was, the new file is removed, and a
// FileError (WriteFailed) says why.
void writeFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// The whole content of a regular file. Throws FileError: Missing when nothing is at the path,
// NotRegularFile for a folder or device, TooLarge past maxBytes, ReadFailed otherwise.
std::string readFile(const std::filesystem::path& path, std::uintmax_t maxBytes);

}  // namespace common
