#include "corvane/eventlog/event_description.h"

namespace corvane {

namespace {

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

bool isLineBreak(char c) {
  return c == '\r' || c == '\n';
}

}  // namespace

std::vector<std::string> eventExplanationLines(std::string_view text,
                                               platform::SystemMessages& messages) {
  std::vector<std::string> lines;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] != '%' || i + 1 >= text.size() || !isDigit(text[i + 1])) {
      ++i;
      continue;
    }
    std::size_t end = i + 1;
    while (end < text.size() && end - (i + 1) < 4 && isDigit(text[end])) {
      ++end;
    }
    const std::string_view digits = text.substr(i + 1, end - (i + 1));
    std::string message =
        messages.messageText(static_cast<std::uint32_t>(std::stoul(std::string(digits))));
    if (!message.empty()) {
      message.pop_back();
      lines.push_back("\"%" + std::string(digits) + "\" = " + message);
    }
    i = end;
  }
  return lines;
}

std::vector<std::string> eventDescriptionLines(std::string_view text,
                                               platform::SystemMessages& messages) {
  std::vector<std::string> lines{EventDescriptionHeading, ""};
  if (text.find_first_of("\r\n") == std::string_view::npos) {
    lines.emplace_back(text);
    return lines;
  }
  const std::vector<std::string> explanations = eventExplanationLines(text, messages);
  std::size_t start = 0;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || isLineBreak(text[i])) {
      if (i > start) {
        lines.emplace_back(text.substr(start, i - start));
      }
      start = i + 1;
    }
  }
  lines.emplace_back();
  lines.insert(lines.end(), explanations.begin(), explanations.end());
  return lines;
}

EventDetails describeEventRow(EventLogComponents& components, const EventRow& row,
                              platform::SystemMessages& messages) {
  NtEventLog* component = components.byEvSrc(row.evSrc());
  if (component == nullptr) {
    throw EventLogError("No event log is named '" + row.evSrc() + "'.");
  }
  const EventItem item = component->Objects(row.index);
  if (item.recordNumber != row.recordNumber) {
    throw EventLogError("Event record " + std::to_string(row.recordNumber) + " of the " +
                        row.evSrc() + " log no longer exists.");
  }
  EventDetails details;
  details.group = item.sourceName;
  details.lines = eventDescriptionLines(component->Items(row.index), messages);
  return details;
}

}  // namespace corvane
