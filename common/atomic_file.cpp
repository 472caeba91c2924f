#include "common/atomic_file.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <random>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace common {

namespace fs = std::filesystem;

namespace {

std::string describe(const char* action, const fs::path& path, const std::string& reason) {
  return std::string(action) + " \"" + pathText(path) + "\": " + reason;
}

[[noreturn]] void failWrite(const fs::path& path, const std::string& reason) {
  throw FileError(FileError::Kind::WriteFailed, path, reason);
}

std::string systemReason(int code) {
  return std::system_category().message(code);
}

// A name beside the target that no other file has yet; the caller creates it exclusively and
// asks again when it lost a race.
fs::path temporaryNameBeside(const fs::path& target, unsigned attempt) {
  thread_local std::mt19937_64 random{std::random_device{}()};
  static constexpr char hexDigits[] = "0123456789abcdef";
  std::string suffix = ".";
  std::uint64_t bits = random() ^ attempt;
  for (int i = 0; i < 12; ++i) {
    suffix += hexDigits[bits & 0xF];
    bits >>= 4;
  }
  suffix += ".tmp";
  // Keep the name well inside the usual 255-character limit of one path component.
  fs::path::string_type stem = target.filename().native().substr(0, 120);
  fs::path name = fs::path(stem);
  name += suffix;
  return target.parent_path() / name;
}

constexpr unsigned kCreateAttempts = 16;

#ifdef _WIN32

void writeAndReplace(const fs::path& target, std::string_view bytes) {
  fs::path temporary;
  HANDLE file = INVALID_HANDLE_VALUE;
  for (unsigned attempt = 0; attempt < kCreateAttempts && file == INVALID_HANDLE_VALUE; ++attempt) {
    temporary = temporaryNameBeside(target, attempt);
    file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) {
      break;
    }
  }
  if (file == INVALID_HANDLE_VALUE) {
    failWrite(target, systemReason(static_cast<int>(GetLastError())));
  }
  auto discard = [&](DWORD error) {
    CloseHandle(file);
    DeleteFileW(temporary.c_str());
    failWrite(target, systemReason(static_cast<int>(error)));
  };
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr)) {
      discard(GetLastError());
    }
    bytes.remove_prefix(written);
  }
  if (!FlushFileBuffers(file)) {
    discard(GetLastError());
  }
  if (!CloseHandle(file)) {
    const DWORD error = GetLastError();
    DeleteFileW(temporary.c_str());
    failWrite(target, systemReason(static_cast<int>(error)));
  }
  if (!MoveFileExW(temporary.c_str(), target.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD error = GetLastError();
    DeleteFileW(temporary.c_str());
    failWrite(target, systemReason(static_cast<int>(error)));
  }
}

#else

void writeAndReplace(const fs::path& target, std::string_view bytes) {
  fs::path temporary;
  int fd = -1;
  for (unsigned attempt = 0; attempt < kCreateAttempts && fd < 0; ++attempt) {
    temporary = temporaryNameBeside(target, attempt);
    fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0 && errno != EEXIST) {
      break;
    }
  }
  if (fd < 0) {
    failWrite(target, systemReason(errno));
  }
  auto discard = [&](int error) {
    ::close(fd);
    ::unlink(temporary.c_str());
    failWrite(target, systemReason(error));
  };
  // A replaced file keeps its permissions.
  struct stat existing {};
  if (::stat(target.c_str(), &existing) == 0 && ::fchmod(fd, existing.st_mode & 07777) != 0) {
    discard(errno);
  }
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      discard(errno);
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  if (::fsync(fd) != 0) {
    discard(errno);
  }
  if (::close(fd) != 0) {
    const int error = errno;
    ::unlink(temporary.c_str());
    failWrite(target, systemReason(error));
  }
  if (::rename(temporary.c_str(), target.c_str()) != 0) {
    const int error = errno;
    ::unlink(temporary.c_str());
    failWrite(target, systemReason(error));
  }
  // Make the rename itself durable; the new content is in place either way.
  const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
  const int folderFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folderFd >= 0) {
    ::fsync(folderFd);
    ::close(folderFd);
  }
}

#endif

}  // namespace

std::string pathText(const fs::path& path) {
  try {
    return path.string();
  } catch (const std::exception&) {
    const std::u8string utf8 = path.u8string();
    return std::string(utf8.begin(), utf8.end());
  }
}

FileError::FileError(Kind kind, const fs::path& path, const std::string& reason)
    : std::runtime_error(
          describe(kind == Kind::WriteFailed ? "Cannot write" : "Cannot read", path, reason)),
      kind_(kind),
      path_(path) {}

void writeFileAtomically(const fs::path& path, std::string_view bytes) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (fs::is_directory(status)) {
    failWrite(path, "it is a folder");
  }
  if (fs::exists(status) && !fs::is_regular_file(status)) {
    failWrite(path, "it is not a regular file");
  }
  const fs::path folder = path.parent_path();
  if (!folder.empty() && !fs::is_directory(folder, error)) {
    const bool exists = fs::exists(folder, error);
    failWrite(path,
              "\"" + pathText(folder) + (exists ? "\" is not a folder" : "\" does not exist"));
  }
  writeAndReplace(path, bytes);
}

std::string readFile(const fs::path& path, std::uintmax_t maxBytes) {
  std::error_code error;
  const fs::file_status status = fs::status(path, error);
  if (status.type() == fs::file_type::not_found) {
    throw FileError(FileError::Kind::Missing, path, "the file does not exist");
  }
  if (error) {
    throw FileError(FileError::Kind::ReadFailed, path, error.message());
  }
  if (fs::is_directory(status)) {
    throw FileError(FileError::Kind::NotRegularFile, path, "it is a folder");
  }
  if (!fs::is_regular_file(status)) {
    throw FileError(FileError::Kind::NotRegularFile, path, "it is not a regular file");
  }
  const std::string tooLarge = "it is larger than " + std::to_string(maxBytes) + " bytes";
  const std::uintmax_t size = fs::file_size(path, error);
  if (!error && size > maxBytes) {
    throw FileError(FileError::Kind::TooLarge, path, tooLarge);
  }
  errno = 0;
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    const int code = errno;
    throw FileError(FileError::Kind::ReadFailed, path,
                    code != 0 ? systemReason(code) : std::string("it cannot be opened"));
  }
  std::string bytes;
  if (!error) {
    bytes.reserve(static_cast<std::size_t>(size));
  }
  // The file may have grown since its size was read: never take more than the limit allows.
  char buffer[65536];
  while (in) {
    in.read(buffer, sizeof buffer);
    const auto count = static_cast<std::size_t>(in.gcount());
    if (bytes.size() + count > maxBytes) {
      throw FileError(FileError::Kind::TooLarge, path, tooLarge);
    }
    bytes.append(buffer, count);
  }
  if (in.bad()) {
    throw FileError(FileError::Kind::ReadFailed, path, "the file could not be read to its end");
  }
  return bytes;
}

}  // namespace common
