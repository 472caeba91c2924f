// What the details area shows for one service: the description panel's text with its bold
// stretches and colour, the executable and the group.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "corvane/catalogue/catalogue.h"

namespace corvane {

// A stretch of the panel text, in bytes of its UTF-8.
struct TextRange {
  std::size_t start = 0;
  std::size_t length = 0;
};

struct ServiceDetails {
  // The lines of the panel joined by '\n'.
  std::string Text;
  std::vector<TextRange> Bold;
  // The panel is red (a failed query) rather than in the description colour.
  bool FailColour = false;
  std::string Executable;
  std::string Group;
};

// ShowServiceDetails's content for `entry`: "Description:" and the registry description, then,
// when `extraDescriptions` holds the entry's section, "Additional description:" and its text. The
// headings are bold, and so are the first "Note:" and the first "Take Note:" of the whole text.
ServiceDetails composeServiceDetails(const ServiceRecord& entry,
                                     const std::vector<std::string>& extraDescriptions);

}  // namespace corvane
