#include "corvanectl/ctl_command_line.h"

namespace corvanectl {

const char* const UsageText =
    "Usage: corvanectl [--machine DIR] COMMAND\n"
    "\n"
    "Commands:\n"
    "  list [--filter services|fs|kernel|all]\n"
    "      The services and drivers as CSV, in the service control manager's order, with the\n"
    "      columns Display Name, Name, Startup Type, Status, Service Type, Executable and\n"
    "      Desktop Interactive. The filter chooses services (the default), file system\n"
    "      drivers, kernel drivers or everything.\n"
    "  groups\n"
    "      The load-order groups as CSV with the columns Group, Listed and Member: one row\n"
    "      per member, one row with an empty member for a group without members.\n"
    "\n"
    "Options:\n"
    "  --machine DIR   Use the simulated computer in the folder DIR. Without it corvanectl\n"
    "                  finds the computer as Corvane does.\n"
    "  --help          Show this text.\n";

namespace {

bool parseFilter(const std::string& text, ListFilter& filter) {
  if (text == "services") {
    filter = ListFilter::Services;
  } else if (text == "fs") {
    filter = ListFilter::FileSystemDrivers;
  } else if (text == "kernel") {
    filter = ListFilter::KernelDrivers;
  } else if (text == "all") {
    filter = ListFilter::All;
  } else {
    return false;
  }
  return true;
}

}  // namespace

Options parseCommandLine(const std::vector<std::string>& arguments, std::string& error) {
  Options options;
  bool help = false;
  std::optional<Command> command;
  for (std::size_t i = 0; i < arguments.size() && error.empty(); ++i) {
    const std::string& argument = arguments[i];
    const bool hasValue = i + 1 < arguments.size();
    if (argument == "--help" || argument == "-h") {
      help = true;
    } else if (argument == "--machine") {
      if (!hasValue || arguments[i + 1].empty()) {
        error = "--machine needs a folder";
      } else {
        options.machineFolder = arguments[++i];
      }
    } else if (argument == "--filter") {
      if (command != Command::List) {
        error = "--filter belongs to the command list";
      } else if (!hasValue || !parseFilter(arguments[i + 1], options.filter)) {
        error = "--filter takes services, fs, kernel or all";
      } else {
        ++i;
      }
    } else if (!command && argument == "list") {
      command = Command::List;
    } else if (!command && argument == "groups") {
      command = Command::Groups;
    } else if (!argument.empty() && argument[0] == '-') {
      error = "unknown option " + argument;
    } else {
      error = command ? "unexpected argument " + argument : "unknown command " + argument;
    }
  }
  if (error.empty() && !help && !command)
    error = "no command given";
  options.command = help ? Command::Help : command.value_or(Command::Help);
  return options;
}

}  // namespace corvanectl
