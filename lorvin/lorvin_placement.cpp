#include "lorvin/lorvin_placement.h"

#include <algorithm>
#include <optional>
#include <string>

#include "common/text.h"

namespace lorvin {

namespace {

int readInteger(const common::IniDocument& settings, const char* key, int current) {
  const std::string text = settings.readString(PlacementSection, key, std::to_string(current));
  return common::parseInteger(text).value_or(current);
}

// The stretch [start, start + length) moved into [areaStart, areaStart + areaLength), shrunk
// to the area's length when longer.
void fitStretch(int& start, int& length, int areaStart, int areaLength) {
  length = std::min(length, areaLength);
  start = std::clamp(start, areaStart, areaStart + areaLength - length);
}

}  // namespace

Placement ReadPlacement(const common::IniDocument& settings, const Placement& current) {
  Placement placement = current;
  placement.top = readInteger(settings, "MainTop", current.top);
  placement.left = readInteger(settings, "MainLeft", current.left);
  placement.width = readInteger(settings, "MainWidth", current.width);
  placement.height = readInteger(settings, "MainHeight", current.height);
  return placement;
}

Placement ReadPlacementFile(const std::filesystem::path& settingsFile, const Placement& current) {
  try {
    return ReadPlacement(common::IniDocument::open(settingsFile), current);
  } catch (const common::IniError&) {
    return current;
  }
}

void WritePlacementFile(const std::filesystem::path& settingsFile, const Placement& placement) {
  common::IniDocument::modifyFile(settingsFile, [&placement](common::IniDocument& settings) {
    settings.writeString(PlacementSection, "MainTop", std::to_string(placement.top));
    settings.writeString(PlacementSection, "MainLeft", std::to_string(placement.left));
    settings.writeString(PlacementSection, "MainWidth", std::to_string(placement.width));
    settings.writeString(PlacementSection, "MainHeight", std::to_string(placement.height));
  });
}

Placement FitInside(const Placement& placement, const Area& area) {
  Placement fitted = placement;
  fitStretch(fitted.left, fitted.width, area.left, area.width);
  fitStretch(fitted.top, fitted.height, area.top, area.height);
  return fitted;
}

}  // namespace lorvin
