// Version, message table, processes and icons of the Windows the program runs on.
#pragma once

#include "platform/system_info.h"

namespace platform::win32 {

class Win32SystemInfo : public SystemInfo {
 public:
  // The version the system really is, also where GetVersionExW reports an older one to
  // programs without a compatibility manifest.
  OsVersion version() override;
};

class Win32Messages : public SystemMessages {
 public:
  std::string messageText(std::uint32_t code) override;
};

class Win32Processes : public Processes {
 public:
  bool startDetached(const std::string& program, const std::vector<std::string>& arguments,
                     std::string& errorText) override;
  bool runAndWait(const std::string& program, const std::string& commandLine,
                  std::string& errorText) override;
};

class Win32Icons : public Icons {
 public:
  std::optional<IconImage> firstIcon(const std::string& executablePath) override;
};

// One argument quoted so that the command-line parser of the C run-time gives it back unchanged.
std::string quoteArgument(const std::string& argument);

}  // namespace platform::win32
