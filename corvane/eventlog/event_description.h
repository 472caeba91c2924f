// What the description pane shows for a selected row of the event list.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "corvane/eventlog/event_log_components.h"
#include "corvane/eventlog/event_rows.h"
#include "platform/system_info.h"

namespace corvane {

inline constexpr const char* EventDescriptionHeading = "Event description:";

// One line for every "%" followed by digits in `text` (at most four digits make the number):
// "\"%" + the digits + "\" = " + the system's text for the number without its last character.
// A number the system has no text for gets no line.
std::vector<std::string> eventExplanationLines(std::string_view text,
                                               platform::SystemMessages& messages);

// The pane's lines for a record's description: the heading and an empty line, every non-empty
// piece of the text between line breaks, an empty line and the explanations; a text without any
// line break is shown whole after the heading and an empty line, without explanations.
std::vector<std::string> eventDescriptionLines(std::string_view text,
                                               platform::SystemMessages& messages);

struct EventDetails {
  std::string group;  // the record's source name, for the Group memo
  std::vector<std::string> lines;
};

// The details of a row, read from the component its EvSrc names at its Index. Raises
// EventLogError when the record behind the row is no longer there: a row whose Index now holds
// a record with another number counts as gone, so no other record's text is ever shown.
EventDetails describeEventRow(EventLogComponents& components, const EventRow& row,
                              platform::SystemMessages& messages);

}  // namespace corvane
