// corvanectl from its arguments to its exit code: opens the computer, reads the catalogue and
// prints what the command asks for.
#pragma once

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace corvanectl {

// Exit codes.
inline constexpr int ExitOk = 0;
inline constexpr int ExitFailed = 1;  // the computer could not be read, or an error was reported
inline constexpr int ExitUsage = 2;

// Where the computer is looked for when no --machine is given.
struct Environment {
  std::filesystem::path programFolder;
  // The per-user registry of the simulated computer, which holds InstallDir.
  std::filesystem::path userRegistryFile;
  // The machine folder named by the environment variable CORVANE_MACHINE, if any.
  std::optional<std::filesystem::path> namedMachine;
};

// The environment of the running program; `argv0` is used when the program's own path cannot be
// read otherwise.
Environment programEnvironment(const char* argv0);

// Without --machine: CORVANE_MACHINE, then the folder "machine" under InstallDir, then the one
// beside the program.
std::filesystem::path machineFolder(const Environment& environment);

int runCorvanectl(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err,
                  const Environment& environment);

}  // namespace corvanectl
