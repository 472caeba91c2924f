// The dialog seam of corvanectl: every message becomes a line on the error stream; questions get
// their default answer and file dialogs are cancelled.
#pragma once

#include <ostream>

#include "corvane/shell/dialogs.h"

namespace corvanectl {

class StreamDialogs : public corvane::Dialogs {
 public:
  explicit StreamDialogs(std::ostream& err) : err_(err) {}

  // Whether any message was written.
  bool reported() const { return reported_; }

  corvane::DialogResult messageBox(const std::string& text, const std::string& caption,
                                   corvane::DialogIcon icon,
                                   corvane::DialogButtons buttons) override;
  void showMessage(const std::string& text) override;
  std::optional<std::string> openFile(const corvane::FileDialogRequest&) override {
    return std::nullopt;
  }
  std::optional<std::string> saveFile(const corvane::FileDialogRequest&) override {
    return std::nullopt;
  }
  std::optional<std::uint32_t> chooseColor(std::uint32_t) override { return std::nullopt; }
  std::optional<corvane::FontChoice> chooseFont(const corvane::FontChoice&) override {
    return std::nullopt;
  }

 private:
  void writeLine(const std::string& caption, const std::string& text);

  std::ostream& err_;
  bool reported_ = false;
};

}  // namespace corvanectl
