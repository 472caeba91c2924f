// The command line of corvanectl.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace corvanectl {

enum class Command { Help, List, Groups };

// Which rows `list` prints, as the service list's filters choose them.
enum class ListFilter { Services, FileSystemDrivers, KernelDrivers, All };

struct Options {
  Command command = Command::Help;
  ListFilter filter = ListFilter::Services;
  std::optional<std::string> machineFolder;
};

// The options, or the reason the arguments are not valid (`error` set, result meaningless).
Options parseCommandLine(const std::vector<std::string>& arguments, std::string& error);

extern const char* const UsageText;

}  // namespace corvanectl
