// The dialog seam shown with Qt's message boxes and file dialogs, owned by the main window.
#pragma once

#include <QWidget>

#include "corvane/shell/dialogs.h"

namespace corvane {

class QtDialogs : public Dialogs {
 public:
  // The window the dialogs belong to; none until the main window exists.
  void SetOwner(QWidget* owner) { owner_ = owner; }

  DialogResult messageBox(const std::string& text, const std::string& caption, DialogIcon icon,
                          DialogButtons buttons) override;
  void showMessage(const std::string& text) override;
  std::optional<std::string> openFile(const FileDialogRequest& request) override;
  std::optional<std::string> saveFile(const FileDialogRequest& request) override;
  std::optional<std::uint32_t> chooseColor(std::uint32_t initial) override;
  std::optional<FontChoice> chooseFont(const FontChoice& initial) override;
  std::optional<FontChoice> chooseFontWithApply(
      const FontChoice& initial, const std::function<void(const FontChoice&)>& apply) override;

 private:
  QWidget* owner_ = nullptr;
};

}  // namespace corvane
