// Lorvin's window placement: kept in the section LorvinStyle of Corvane's settings file.
#pragma once

#include <filesystem>
#include <string>

#include "common/ini_document.h"

namespace lorvin {

struct Placement {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const Placement&) const = default;
};

inline constexpr const char* PlacementSection = "LorvinStyle";

// MainTop, MainLeft, MainWidth and MainHeight of LorvinStyle, each falling back to the value in
// `current` when it is missing or no integer.
Placement ReadPlacement(const common::IniDocument& settings, const Placement& current);

// The same from the file; a file that cannot be read gives `current`.
Placement ReadPlacementFile(const std::filesystem::path& settingsFile, const Placement& current);

// Read-modify-write of the file: the four keys of LorvinStyle change, everything else stays.
// Throws common::IniError when the file cannot be read or written; it is then as it was.
void WritePlacementFile(const std::filesystem::path& settingsFile, const Placement& placement);

// A rectangle on the screen, as left, top, width and height.
struct Area {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// The placement moved (and, when larger than the area, shrunk) so that it lies wholly inside it.
Placement FitInside(const Placement& placement, const Area& area);

}  // namespace lorvin
