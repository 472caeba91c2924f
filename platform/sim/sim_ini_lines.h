// The lines of an INI text as the INI document reads them, with their line numbers, so that the
// machine's loaders can name the line at fault.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace platform::sim {

struct IniLine {
  enum class Kind { Header, Key, Plain };
  Kind kind = Kind::Plain;
  int number = 0;  // from 1
  std::string section;
  std::string key;    // of a key line
  std::string value;  // of a key line; the whole text of a plain line
};

// Section headers and the lines inside sections; empty lines, comments and lines before the
// first section are left out.
std::vector<IniLine> iniLines(std::string_view text);

// A machine file of at most `maxBytes`, read whole. Throws MachineFileError naming `shownName`
// when it is missing, cannot be read, is too large or holds binary data (a zero byte).
std::string readMachineTextFile(const std::filesystem::path& path, const std::string& shownName,
                                std::size_t maxBytes);

}  // namespace platform::sim
