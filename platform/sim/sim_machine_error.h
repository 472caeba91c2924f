// A machine folder whose files cannot be loaded.
#pragma once

#include <stdexcept>
#include <string>

namespace platform::sim {

// what() names the file and, where one is to blame, the line: "services.ini, line 7: ...".
class MachineFileError : public std::runtime_error {
 public:
  MachineFileError(const std::string& file, int line, const std::string& problem)
      : std::runtime_error(file + (line > 0 ? ", line " + std::to_string(line) : std::string()) +
                           ": " + problem),
        line_(line) {}

  int line() const { return line_; }  // 0 when the whole file is at fault

 private:
  int line_;
};

}  // namespace platform::sim
