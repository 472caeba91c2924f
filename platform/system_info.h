// What the program asks of the operating system outside the service control manager.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

struct OsVersion {
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint32_t build = 0;
  bool ntFamily = false;
};

class SystemInfo {
 public:
  virtual ~SystemInfo() = default;
  virtual OsVersion version() = 0;
};

// Texts for error numbers from the system's message table, in the default language.
class SystemMessages {
 public:
  virtual ~SystemMessages() = default;
  // The text as the system formats it, ending in "\r\n"; empty for an unknown number.
  virtual std::string messageText(std::uint32_t code) = 0;
};

class Processes {
 public:
  virtual ~Processes() = default;
  // Starts a program without waiting for it. False with a readable reason.
  virtual bool startDetached(const std::string& program, const std::vector<std::string>& arguments,
                             std::string& errorText) = 0;
  // Runs a program found through the search path with one command line and waits until it
  // ends. False only when it could not be run, with the run-time library's text for the error.
  // Its own exit code is not examined.
  virtual bool runAndWait(const std::string& program, const std::string& commandLine,
                          std::string& errorText) = 0;
};

// An icon as 32-bit ARGB pixels, row by row.
struct IconImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
};

class Icons {
 public:
  virtual ~Icons() = default;
  // The first icon of an executable file; nothing when it has none or cannot be read.
  virtual std::optional<IconImage> firstIcon(const std::string& executablePath) = 0;
};

}  // namespace platform
