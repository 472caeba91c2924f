#include "corvane/editors/description_section.h"

#include "corvane/catalogue/extra_descriptions.h"

namespace corvane {

namespace {

const char* const IniEnd = "iniend";

std::size_t iniEndLine(std::vector<std::string>& items) {
  const std::ptrdiff_t found = findExtraDescriptionHeader(items, IniEnd);
  if (found >= 0) {
    return static_cast<std::size_t>(found);
  }
  items.push_back("[iniend]");
  return items.size() - 1;
}

}  // namespace

std::string EditorTextOf(const std::vector<std::string>& lines, std::string_view displayName) {
  const std::ptrdiff_t header = findExtraDescriptionHeader(lines, displayName);
  if (header < 0) {
    return "";
  }
  std::size_t i = static_cast<std::size_t>(header) + 1;
  while (i < lines.size() && lines[i].empty()) {
    ++i;
  }
  std::string text;
  for (bool first = true; i < lines.size() && !isHeaderLine(lines[i]); ++i, first = false) {
    if (!first) {
      text += '\n';
    }
    text += displayLine(lines[i]);
  }
  return text;
}

std::optional<std::string> SectionProblem(std::string_view displayName, std::string_view text) {
  if (displayName.find_first_of("\r\n") != std::string_view::npos) {
    return "The display name \"" + std::string(displayName) +
           "\" holds a line break:\nit cannot head a section of the extra-descriptions file.";
  }
  const std::string lines = WithCrLf(text);
  for (std::size_t start = 0; start <= lines.size();) {
    std::size_t end = lines.find("\r\n", start);
    if (end == std::string::npos) {
      end = lines.size();
    }
    const std::string_view line = std::string_view(lines).substr(start, end - start);
    if (isHeaderLine(line)) {
      return "The line \"" + std::string(line) +
             "\" would begin another section of the extra-descriptions file.\nA line of the "
             "description cannot begin with '[' and end with ']'.";
    }
    start = end + 2;
  }
  return std::nullopt;
}

std::string WithCrLf(std::string_view text) {
  std::string result;
  result.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
        ++i;
      }
      result += "\r\n";
    } else {
      result += text[i];
    }
  }
  return result;
}

void PutSection(std::vector<std::string>& items, std::string_view displayName,
                std::string_view text) {
  std::size_t header = 0;
  const std::ptrdiff_t found = findExtraDescriptionHeader(items, displayName);
  if (found < 0) {
    header = iniEndLine(items);
    std::string line = "[";
    line.append(displayName).append("]");
    items.insert(items.begin() + static_cast<std::ptrdiff_t>(header), std::move(line));
  } else {
    header = static_cast<std::size_t>(found);
    // The old body: its leading empty lines, its text and the empty lines before the next header.
    std::size_t end = header + 1;
    while (end < items.size() && items[end].empty()) {
      ++end;
    }
    while (end < items.size() && !isHeaderLine(items[end])) {
      ++end;
    }
    items.erase(items.begin() + static_cast<std::ptrdiff_t>(header) + 1,
                items.begin() + static_cast<std::ptrdiff_t>(end));
  }
  if (text.empty()) {
    items.erase(items.begin() + static_cast<std::ptrdiff_t>(header));
  } else {
    // Trailing line breaks go; a text of line breaks alone keeps one, so it stays a text.
    std::string body(text);
    while (body.size() > 2 && body.ends_with("\r\n")) {
      body.resize(body.size() - 2);
    }
    items.insert(items.begin() + static_cast<std::ptrdiff_t>(header) + 1, body + "\r\n");
  }
  iniEndLine(items);
}

std::string FileTextOf(const std::vector<std::string>& items) {
  std::string bytes;
  for (const std::string& item : items) {
    bytes += item;
    bytes += "\r\n";
  }
  return bytes;
}

}  // namespace corvane
