// The description editor's view of an extra-descriptions file: the text it opens with for a
// service, and how a save puts the edited text into the file's lines as that service's section.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

// The additional description of `displayName` as the editor opens it: the section's lines after
// the empty lines that follow its header, up to the next header line, joined by "\n". Empty when
// the service has no section.
std::string EditorTextOf(const std::vector<std::string>& lines, std::string_view displayName);

// Why `text` cannot be saved as the section of `displayName`, or nothing when it can: a name with
// a line break cannot head a section, and a line of the text that looks like a header would start
// another service's section in the file.
std::optional<std::string> SectionProblem(std::string_view displayName, std::string_view text);

// The text with every line break (CR LF, LF or CR) as CR LF, as a save writes it.
std::string WithCrLf(std::string_view text);

// The save's change of one file's lines (`items`; an item may hold several lines). The section
// "[" + displayName + "]" (found without regard to case; a new one goes directly before
// "[iniend]") gets `text` (lines separated by CR LF) as its body, followed by one empty line; an
// empty text removes the section. "[iniend]" is appended when missing. Every other line stays as
// it is and where it is.
void PutSection(std::vector<std::string>& items, std::string_view displayName,
                std::string_view text);

// The file's bytes: every item followed by CR LF.
std::string FileTextOf(const std::vector<std::string>& items);

}  // namespace corvane
