#include "corvane/shell/console_colours.h"

#include <algorithm>
#include <array>

#include "common/text.h"

namespace corvane {

namespace {

struct PrefixRule {
  std::string_view text;
  bool atEnd;
  ConsoleColour colour;
};

// In order: the first rule that matches wins.
constexpr std::array<PrefixRule, 20> Rules = {{
    {"\nservice:", false, ConsoleColour::Aqua},
    {"\nupdate startup type", false, ConsoleColour::Yellow},
    {"\nupdate status", false, ConsoleColour::Yellow},
    {"\noperation: execute batch", false, ConsoleColour::Yellow},
    {"\noperation: load snapshot", false, ConsoleColour::Yellow},
    {"\noperation:", false, ConsoleColour::White},
    {"\ndependency ->", false, ConsoleColour::MoneyGreen},
    {"\ndependent ->", false, ConsoleColour::MoneyGreen},
    {"\nservice successfully", false, ConsoleColour::Lime},
    {"\nalready running.", false, ConsoleColour::Lime},
    {"\nalready stopped.", false, ConsoleColour::Lime},
    {"\nstatus updated", false, ConsoleColour::Lime},
    {"done.", true, ConsoleColour::Lime},
    {"\nservice started and then stopped.", false, ConsoleColour::Orange},
    {"\nservice did not respond in a timely fashion.", false, ConsoleColour::Orange},
    {"\nerror", false, ConsoleColour::Red},
    {"\nservice pending timed out", false, ConsoleColour::Red},
    {"\nsetting starttype:", false, ConsoleColour::White},
    {"\ncontrols to send:", false, ConsoleColour::White},
    {"\nrefresh", false, ConsoleColour::SkyBlue},
}};

bool matches(std::string_view line, const PrefixRule& rule) {
  if (line.size() < rule.text.size()) {
    return false;
  }
  const std::string_view part =
      rule.atEnd ? line.substr(line.size() - rule.text.size()) : line.substr(0, rule.text.size());
  return common::equalsIgnoreCase(part, rule.text);
}

void addFirstOccurrence(std::string_view line, const std::string& name,
                        std::vector<ConsoleSpan>& spans) {
  if (name.empty()) {
    return;
  }
  const std::size_t at = line.find(name);
  if (at != std::string_view::npos) {
    spans.push_back({at, name.size()});
  }
}

}  // namespace

std::uint32_t consoleColourRgb(ConsoleColour colour) {
  switch (colour) {
    case ConsoleColour::Aqua:
      return 0x00FFFF;
    case ConsoleColour::Yellow:
      return 0xFFFF00;
    case ConsoleColour::White:
      return 0xFFFFFF;
    case ConsoleColour::MoneyGreen:
      return 0xC0DCC0;
    case ConsoleColour::Lime:
      return 0x00FF00;
    case ConsoleColour::Orange:
      return 0xEE8040;
    case ConsoleColour::Red:
      return 0xFF0000;
    case ConsoleColour::SkyBlue:
      return 0xA6CAF0;
    case ConsoleColour::Silver:
      return 0xC0C0C0;
  }
  return 0xC0C0C0;
}

ConsoleColour consoleLineColour(std::string_view line) {
  for (const PrefixRule& rule : Rules) {
    if (matches(line, rule)) {
      return rule.colour;
    }
  }
  return ConsoleColour::Silver;
}

std::vector<ConsoleSpan> consoleNameSpans(std::string_view line, const Catalogue& catalogue) {
  std::vector<ConsoleSpan> spans;
  const std::size_t count = std::min(catalogue.ServiceCount, catalogue.ServiceTable.size());
  for (std::size_t i = 0; i < count; ++i) {
    const ServiceRecord& record = catalogue.ServiceTable[i];
    addFirstOccurrence(line, record.DisplayName, spans);
    addFirstOccurrence(line, record.ServiceName, spans);
  }
  return spans;
}

}  // namespace corvane
