// A list of text lines searched without regard to letter case, as the extra descriptions are held.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

struct TextLines {
  std::vector<std::string> Lines;

  // The index of the first line equal to `text` without regard to ASCII letter case; -1 when none.
  std::ptrdiff_t indexOf(std::string_view text) const;

  // Replaces the lines with those of the file, where CR, LF or CR LF ends a line. Throws
  // common::FileError when the file is missing, unreadable or larger than `maxBytes`; the lines
  // are then unchanged.
  void loadFromFile(const std::string& path, std::uintmax_t maxBytes);
};

// The lines of a text, split at CR, LF or CR LF; a final line break adds no empty line.
std::vector<std::string> splitLines(std::string_view text);

}  // namespace corvane
