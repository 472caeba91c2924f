#include "corvanectl/stream_dialogs.h"

namespace corvanectl {

corvane::DialogResult StreamDialogs::messageBox(const std::string& text, const std::string& caption,
                                                corvane::DialogIcon,
                                                corvane::DialogButtons buttons) {
  writeLine(caption, text);
  return buttons == corvane::DialogButtons::YesNo || buttons == corvane::DialogButtons::YesNoCancel
             ? corvane::DialogResult::Yes
             : corvane::DialogResult::Ok;
}

void StreamDialogs::showMessage(const std::string& text) {
  writeLine("", text);
}

// One line: the caption, then the text with its line breaks as spaces.
void StreamDialogs::writeLine(const std::string& caption, const std::string& text) {
  std::string line = "corvanectl: ";
  if (!caption.empty())
    line += caption + ": ";
  for (const char c : text)
    line += c == '\n' || c == '\r' ? ' ' : c;
  err_ << line << '\n';
  reported_ = true;
}

}  // namespace corvanectl
