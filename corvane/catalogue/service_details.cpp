#include "corvane/catalogue/service_details.h"

#include <string_view>

#include "corvane/catalogue/extra_descriptions.h"

namespace corvane {

namespace {

constexpr std::string_view DescriptionHeading = "Description:";
constexpr std::string_view AdditionalHeading = "Additional description:";

// The lines of a text broken at CR LF, CR or LF; a final break ends in an empty line, as the
// panel shows it.
std::vector<std::string> panelLines(std::string_view text) {
  std::vector<std::string> lines(1);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
        ++i;
      }
      lines.emplace_back();
    } else {
      lines.back() += text[i];
    }
  }
  return lines;
}

class Panel {
 public:
  void addLine(std::string_view line, bool bold = false) {
    if (!lines_.empty()) {
      text_ += '\n';
    }
    if (bold) {
      bold_.push_back({text_.size(), line.size()});
    }
    text_ += line;
    lines_.emplace_back(line);
  }
  bool lastLineEmpty() const { return !lines_.empty() && lines_.back().empty(); }

  void boldFirst(std::string_view phrase) {
    const std::size_t at = text_.find(phrase);
    if (at != std::string::npos) {
      bold_.push_back({at, phrase.size()});
    }
  }

  std::string& text() { return text_; }
  std::vector<TextRange>& bold() { return bold_; }

 private:
  std::string text_;
  std::vector<std::string> lines_;
  std::vector<TextRange> bold_;
};

}  // namespace

ServiceDetails composeServiceDetails(const ServiceRecord& entry,
                                     const std::vector<std::string>& extraDescriptions) {
  Panel panel;
  panel.addLine(DescriptionHeading, true);
  for (const std::string& line : panelLines(entry.DescriptionText)) {
    panel.addLine(line);
  }
  const std::ptrdiff_t header = findExtraDescriptionHeader(extraDescriptions, entry.DisplayName);
  if (header >= 0) {
    if (!panel.lastLineEmpty()) {
      panel.addLine("");
    }
    panel.addLine(AdditionalHeading, true);
    for (const std::string& line :
         extraDescriptionText(extraDescriptions, static_cast<std::size_t>(header))) {
      panel.addLine(line);
    }
  }
  panel.boldFirst("Note:");
  panel.boldFirst("Take Note:");

  ServiceDetails details;
  details.Text = std::move(panel.text());
  details.Bold = std::move(panel.bold());
  details.FailColour = entry.FailMark == -1;
  details.Executable = entry.ExecutablePath;
  details.Group = entry.GroupText;
  return details;
}

}  // namespace corvane
