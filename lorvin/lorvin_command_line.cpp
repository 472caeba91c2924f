#include "lorvin/lorvin_command_line.h"

#include <array>
#include <cctype>
#include <limits>
#include <optional>
#include <string_view>

namespace lorvin {

namespace {

constexpr std::string_view HomePrefix = "-home:";
constexpr std::string_view CaptionPrefix = "-cap:";
constexpr std::string_view PositionPrefix = "-pos:";

bool startsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// One "%d" of a scanf pattern: blanks, an optional sign, then digits; nothing when there are no
// digits or the number does not fit an int.
std::optional<int> scanInt(std::string_view& text) {
  std::size_t at = 0;
  while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) {
    ++at;
  }
  bool negative = false;
  if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
    negative = text[at] == '-';
    ++at;
  }
  const std::size_t digits = at;
  long long value = 0;
  while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) {
    value = value * 10 + (text[at] - '0');
    if (value > static_cast<long long>(std::numeric_limits<int>::max()) + 1) {
      return std::nullopt;
    }
    ++at;
  }
  if (at == digits) {
    return std::nullopt;
  }
  value = negative ? -value : value;
  if (value > std::numeric_limits<int>::max()) {
    return std::nullopt;
  }
  text.remove_prefix(at);
  return static_cast<int>(value);
}

// "left,top,width,height" as the pattern "%d,%d,%d,%d" reads it; text after the fourth number
// is ignored.
std::optional<Placement> scanPosition(std::string_view text) {
  std::array<int, 4> numbers{};
  for (std::size_t i = 0; i < numbers.size(); ++i) {
    if (i > 0) {
      if (text.empty() || text.front() != ',') {
        return std::nullopt;
      }
      text.remove_prefix(1);
    }
    const std::optional<int> number = scanInt(text);
    if (!number) {
      return std::nullopt;
    }
    numbers[i] = *number;
  }
  return Placement{numbers[0], numbers[1], numbers[2], numbers[3]};
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& arguments,
                             const std::string& defaultPage) {
  CommandLine line;
  line.startPage = defaultPage;
  line.homePage = defaultPage;
  for (const std::string& argument : arguments) {
    if (argument == "-online") {
      line.online = true;
    } else if (argument == "-ontop") {
      line.stayOnTop = true;
    } else if (startsWith(argument, HomePrefix)) {
      line.homePage = argument.substr(HomePrefix.size());
    } else if (startsWith(argument, CaptionPrefix)) {
      line.captionGiven = true;
      line.caption = argument.substr(CaptionPrefix.size());
    } else if (startsWith(argument, PositionPrefix)) {
      if (const std::optional<Placement> position =
              scanPosition(std::string_view(argument).substr(PositionPrefix.size()))) {
        line.position = *position;
        line.useSavedPlacement = false;
      } else {
        ++line.malformedPositions;
      }
    } else {
      line.startPage = argument;
    }
  }
  return line;
}

bool IsHelpCaption(const std::string& caption) {
  return caption.find("help") != std::string::npos;
}

}  // namespace lorvin
