// A Dialogs double: records every request and answers from a script, in order.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "corvane/shell/dialogs.h"

namespace corvane::testing {

struct AskedDialog {
  std::string kind;  // "messageBox", "showMessage", "openFile", "saveFile", "color", "font"
  std::string text;
  std::string caption;
  DialogIcon icon = DialogIcon::None;
  DialogButtons buttons = DialogButtons::Ok;
  FileDialogRequest file;
};

class ScriptedDialogs : public Dialogs {
 public:
  // Answers for the next message boxes; without one a box answers Ok (Yes for Yes/No, Ignore for
  // Retry/Ignore).
  std::deque<DialogResult> answers;
  // Answers for the next file dialogs; std::nullopt stands for Cancel. Without one: Cancel.
  std::deque<std::optional<std::string>> fileAnswers;
  std::vector<AskedDialog> asked;

  DialogResult messageBox(const std::string& text, const std::string& caption, DialogIcon icon,
                          DialogButtons buttons) override {
    asked.push_back({"messageBox", text, caption, icon, buttons, {}});
    if (!answers.empty()) {
      const DialogResult answer = answers.front();
      answers.pop_front();
      return answer;
    }
    if (buttons == DialogButtons::RetryIgnore) {
      return DialogResult::Ignore;
    }
    return buttons == DialogButtons::YesNo || buttons == DialogButtons::YesNoCancel
               ? DialogResult::Yes
               : DialogResult::Ok;
  }
  void showMessage(const std::string& text) override {
    asked.push_back({"showMessage", text, "", DialogIcon::None, DialogButtons::Ok, {}});
  }
  std::optional<std::string> openFile(const FileDialogRequest& request) override {
    return fileAnswer("openFile", request);
  }
  std::optional<std::string> saveFile(const FileDialogRequest& request) override {
    return fileAnswer("saveFile", request);
  }
  std::optional<std::uint32_t> chooseColor(std::uint32_t) override {
    asked.push_back({"color", "", "", DialogIcon::None, DialogButtons::Ok, {}});
    return std::nullopt;
  }
  std::optional<FontChoice> chooseFont(const FontChoice&) override {
    asked.push_back({"font", "", "", DialogIcon::None, DialogButtons::Ok, {}});
    return std::nullopt;
  }

 private:
  std::optional<std::string> fileAnswer(const char* kind, const FileDialogRequest& request) {
    asked.push_back({kind, "", "", DialogIcon::None, DialogButtons::Ok, request});
    if (fileAnswers.empty()) return std::nullopt;
    auto answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
  }
};

}  // namespace corvane::testing
