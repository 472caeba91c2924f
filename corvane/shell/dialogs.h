// Every message box, confirmation and file, colour and font dialog of Corvane goes through this
// seam. The program shows real dialogs; tests script the answers and look at what was asked.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace corvane {

enum class DialogIcon { None, Error, Warning, Information, Question };
enum class DialogButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryIgnore };
enum class DialogResult { Ok, Cancel, Yes, No, Retry, Ignore };

struct FileDialogRequest {
  std::string title;
  std::string initialFolder;
  std::string fileName;
  std::string defaultExtension;
  std::string filter;  // "Settings file (*.ini)|*.ini"
};

struct FontChoice {
  std::string family;
  int pointSize = 0;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  std::uint32_t color = 0;  // 0x00BBGGRR
};

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // A box with the text, caption, icon and buttons exactly as given. Closing it answers Cancel
  // (or No when there is no Cancel button, Ignore for Retry and Ignore).
  virtual DialogResult messageBox(const std::string& text, const std::string& caption,
                                  DialogIcon icon, DialogButtons buttons) = 0;
  // A plain message: the application's title, no icon, one OK button.
  virtual void showMessage(const std::string& text) = 0;
  virtual std::optional<std::string> openFile(const FileDialogRequest& request) = 0;
  virtual std::optional<std::string> saveFile(const FileDialogRequest& request) = 0;
  virtual std::optional<std::uint32_t> chooseColor(std::uint32_t initial) = 0;
  virtual std::optional<FontChoice> chooseFont(const FontChoice& initial) = 0;
  // The font dialog with an Apply button: `apply` runs with the dialog's font at each press.
  // Without a dialog of its own, a seam offers the plain font dialog.
  virtual std::optional<FontChoice> chooseFontWithApply(
      const FontChoice& initial, const std::function<void(const FontChoice&)>& apply) {
    static_cast<void>(apply);
    return chooseFont(initial);
  }
};

}  // namespace corvane
