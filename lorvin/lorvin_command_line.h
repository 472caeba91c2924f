// Lorvin's command line: switches, the Home page, the caption, the window placement and the page
// to show first, taken one argument after the other.
#pragma once

#include <string>
#include <vector>

#include "lorvin/lorvin_placement.h"

namespace lorvin {

struct CommandLine {
  bool online = false;     // "-online"
  bool stayOnTop = false;  // "-ontop"
  std::string startPage;
  std::string homePage;
  bool captionGiven = false;
  std::string caption;
  // Cleared by a valid "-pos:"; then `position` is where the window opens.
  bool useSavedPlacement = true;
  Placement position{100, 100, 640, 480};
  // Malformed "-pos:" arguments, each answered with "Error in command line !".
  int malformedPositions = 0;
};

inline constexpr const char* CommandLineErrorText = "Error in command line !";

// The arguments after the program's name. Prefixes and switches heed case; a later argument
// overrides an earlier one of its kind; anything unknown is the page to show first. A
// malformed "-pos:" changes nothing but its count.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments,
                             const std::string& defaultPage);

// A caption that asks for the icon of help windows.
bool IsHelpCaption(const std::string& caption);

}  // namespace lorvin
