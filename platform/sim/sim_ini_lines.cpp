#include "platform/sim/sim_ini_lines.h"

#include <algorithm>

#include "common/atomic_file.h"
#include "common/text.h"
#include "platform/sim/sim_machine_error.h"

namespace platform::sim {

std::vector<IniLine> iniLines(std::string_view text) {
  std::vector<IniLine> lines;
  std::string section;
  bool inSection = false;
  int number = 1;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find_first_of("\r\n", start);
    if (end == std::string_view::npos)
      end = text.size();
    const std::string_view line = common::trim(text.substr(start, end - start));
    const int lineNumber = number;
    // CR LF, a lone CR and a lone LF each end one line.
    if (end < text.size() && !(text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n'))
      ++number;
    start = end + 1;
    if (line.empty() || line.front() == ';')
      continue;
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      section = std::string(common::trim(line.substr(1, line.size() - 2)));
      inSection = true;
      lines.push_back({IniLine::Kind::Header, lineNumber, section, {}, {}});
      continue;
    }
    if (!inSection)
      continue;
    const std::size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
      lines.push_back({IniLine::Kind::Plain, lineNumber, section, {}, std::string(line)});
    } else {
      lines.push_back({IniLine::Kind::Key, lineNumber, section,
                       std::string(common::trim(line.substr(0, equals))),
                       std::string(common::trim(line.substr(equals + 1)))});
    }
  }
  return lines;
}

std::string readMachineTextFile(const std::filesystem::path& path, const std::string& shownName,
                                std::size_t maxBytes) {
  std::string bytes;
  try {
    bytes = common::readFile(path, maxBytes);
  } catch (const common::FileError& error) {
    throw MachineFileError(shownName, 0, error.what());
  }
  const std::size_t zero = bytes.find('\0');
  if (zero != std::string::npos) {
    const int line = 1 + static_cast<int>(std::count(bytes.begin(), bytes.begin() + zero, '\n'));
    throw MachineFileError(shownName, line, "binary data (a zero byte) in a text file");
  }
  return bytes;
}

}  // namespace platform::sim
