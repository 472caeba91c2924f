// The extra-descriptions file as the details area reads it: sections headed by "[" + a service's
// display name + "]", closed by the next header line; "[iniend]" closes the last one.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// A line whose first character is '[' and whose last is ']'.
bool isHeaderLine(std::string_view line);

// The index of the first line that reads "[" + displayName + "]" without regard to case; -1 when
// there is none.
std::ptrdiff_t findExtraDescriptionHeader(const std::vector<std::string>& lines,
                                          std::string_view displayName);

// The longest additional description the panel shows; the rest of a longer one is left out.
inline constexpr std::size_t MaxAdditionalDescriptionBytes = 64 * 1024;
inline constexpr const char* AdditionalDescriptionCut =
    " - the rest of this description is longer than 64 KiB and not shown - ";

// The text of the section whose header is at `header`: the lines after it, without the empty
// lines directly after the header, up to the next header line or the end, each line as the panel
// shows it (displayLine). A text longer than MaxAdditionalDescriptionBytes ends with
// AdditionalDescriptionCut.
std::vector<std::string> extraDescriptionText(const std::vector<std::string>& lines,
                                              std::size_t header);

// A line of the file as UTF-8 for the panel: a line that is valid UTF-8 stays as it is, any other
// is read in the Western code page (1252); control characters other than the tab become U+FFFD,
// so that binary bytes show as such and never cut or garble the panel.
std::string displayLine(std::string_view line);

}  // namespace corvane
