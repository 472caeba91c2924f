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
  std::uint32_t color = 0;  // the colour a colour dialog opened on
  FontChoice font;          // the font a font dialog opened on
};

class ScriptedDialogs : public Dialogs {
 public:
  // Answers for the next message boxes; without one a box answers Ok (Yes for Yes/No, Ignore for
  // Retry/Ignore).
  std::deque<DialogResult> answers;
  // Answers for the next file dialogs; std::nullopt stands for Cancel. Without one: Cancel.
  std::deque<std::optional<std::string>> fileAnswers;
  std::vector<AskedDialog> asked;
  // Answers for the next colour and font dialogs; std::nullopt stands for Cancel. Without one:
  // Cancel.
  std::deque<std::optional<std::uint32_t>> colorAnswers;
  std::deque<std::optional<FontChoice>> fontAnswers;
  // Fonts the next font dialog's Apply button is pressed with, in order, before it answers.
  std::vector<FontChoice> fontApplies;

  DialogResult messageBox(const std::string& text, const std::string& caption, DialogIcon icon,
                          DialogButtons buttons) override {
    asked.push_back({"messageBox", text, caption, icon, buttons, {}, 0, {}});
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
    asked.push_back({"showMessage", text, "", DialogIcon::None, DialogButtons::Ok, {}, 0, {}});
  }
  std::optional<std::string> openFile(const FileDialogRequest& request) override {
    return fileAnswer("openFile", request);
  }
  std::optional<std::string> saveFile(const FileDialogRequest& request) override {
    return fileAnswer("saveFile", request);
  }
  std::optional<std::uint32_t> chooseColor(std::uint32_t initial) override {
    AskedDialog dialog{"color", "", "", DialogIcon::None, DialogButtons::Ok, {}, 0, {}};
    dialog.color = initial;
    asked.push_back(dialog);
    return nextAnswer(colorAnswers);
  }
  std::optional<FontChoice> chooseFont(const FontChoice& initial) override {
    AskedDialog dialog{"font", "", "", DialogIcon::None, DialogButtons::Ok, {}, 0, {}};
    dialog.font = initial;
    asked.push_back(dialog);
    return nextAnswer(fontAnswers);
  }
  std::optional<FontChoice> chooseFontWithApply(
      const FontChoice& initial, const std::function<void(const FontChoice&)>& apply) override {
    AskedDialog dialog{"font", "", "", DialogIcon::None, DialogButtons::Ok, {}, 0, {}};
    dialog.font = initial;
    asked.push_back(dialog);
    for (const FontChoice& font : fontApplies) {
      apply(font);
    }
    fontApplies.clear();
    return nextAnswer(fontAnswers);
  }

 private:
  template <typename T>
  static std::optional<T> nextAnswer(std::deque<std::optional<T>>& answers) {
    if (answers.empty())
      return std::nullopt;
    auto answer = answers.front();
    answers.pop_front();
    return answer;
  }
  std::optional<std::string> fileAnswer(const char* kind, const FileDialogRequest& request) {
    asked.push_back({kind, "", "", DialogIcon::None, DialogButtons::Ok, request, 0, {}});
    if (fileAnswers.empty())
      return std::nullopt;
    auto answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
  }
};

}  // namespace corvane::testing
