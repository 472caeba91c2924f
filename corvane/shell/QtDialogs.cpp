#include "corvane/shell/QtDialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QPushButton>

namespace corvane {

namespace {

QMessageBox::Icon boxIcon(DialogIcon icon) {
  switch (icon) {
    case DialogIcon::Error:
      return QMessageBox::Critical;
    case DialogIcon::Warning:
      return QMessageBox::Warning;
    case DialogIcon::Information:
      return QMessageBox::Information;
    case DialogIcon::Question:
      return QMessageBox::Question;
    case DialogIcon::None:
      return QMessageBox::NoIcon;
  }
  return QMessageBox::NoIcon;
}

// "Settings file (*.ini)|*.ini" as Qt writes a filter: "Settings file (*.ini)".
QString qtFilter(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split('|');
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString patterns = parts[i + 1].split(';').join(' ');
    filters << (parts[i].contains('(') ? parts[i] : parts[i] + " (" + patterns + ")");
  }
  return filters.join(";;");
}

std::optional<std::string> fileDialog(QWidget* owner, const FileDialogRequest& request,
                                      QFileDialog::AcceptMode mode) {
  QFileDialog dialog(owner, QString::fromStdString(request.title),
                     QString::fromStdString(request.initialFolder), qtFilter(request.filter));
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                     : QFileDialog::AnyFile);
  dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
  if (!request.fileName.empty()) {
    dialog.selectFile(QString::fromStdString(request.fileName));
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return std::nullopt;
  }
  return dialog.selectedFiles().first().toStdString();
}

}  // namespace

DialogResult QtDialogs::messageBox(const std::string& text, const std::string& caption,
                                   DialogIcon icon, DialogButtons buttons) {
  QMessageBox box(boxIcon(icon), QString::fromStdString(caption), QString::fromStdString(text),
                  QMessageBox::NoButton, owner_);
  QMessageBox::StandardButton escape = QMessageBox::Ok;
  switch (buttons) {
    case DialogButtons::Ok:
      box.setStandardButtons(QMessageBox::Ok);
      escape = QMessageBox::Ok;
      break;
    case DialogButtons::OkCancel:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      escape = QMessageBox::Cancel;
      break;
    case DialogButtons::YesNo:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
      escape = QMessageBox::No;
      break;
    case DialogButtons::YesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      escape = QMessageBox::Cancel;
      break;
    case DialogButtons::RetryIgnore:
      box.setStandardButtons(QMessageBox::Retry | QMessageBox::Ignore);
      escape = QMessageBox::Ignore;
      break;
  }
  box.setEscapeButton(escape);
  const int answer = box.exec();
  switch (answer) {
    case QMessageBox::Ok:
      return DialogResult::Ok;
    case QMessageBox::Yes:
      return DialogResult::Yes;
    case QMessageBox::No:
      return DialogResult::No;
    case QMessageBox::Retry:
      return DialogResult::Retry;
    default:
      // Closed without a button: Cancel, or No when there is no Cancel.
      return buttons == DialogButtons::YesNo         ? DialogResult::No
             : buttons == DialogButtons::Ok          ? DialogResult::Ok
             : buttons == DialogButtons::RetryIgnore ? DialogResult::Ignore
                                                     : DialogResult::Cancel;
  }
}

void QtDialogs::showMessage(const std::string& text) {
  QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(),
                  QString::fromStdString(text), QMessageBox::Ok, owner_);
  box.exec();
}

std::optional<std::string> QtDialogs::openFile(const FileDialogRequest& request) {
  return fileDialog(owner_, request, QFileDialog::AcceptOpen);
}

std::optional<std::string> QtDialogs::saveFile(const FileDialogRequest& request) {
  return fileDialog(owner_, request, QFileDialog::AcceptSave);
}

std::optional<std::uint32_t> QtDialogs::chooseColor(std::uint32_t initial) {
  // Colours travel as 0x00BBGGRR.
  const QColor start(initial & 0xFF, (initial >> 8) & 0xFF, (initial >> 16) & 0xFF);
  const QColor chosen = QColorDialog::getColor(start, owner_);
  if (!chosen.isValid()) {
    return std::nullopt;
  }
  return static_cast<std::uint32_t>(chosen.red()) |
         (static_cast<std::uint32_t>(chosen.green()) << 8) |
         (static_cast<std::uint32_t>(chosen.blue()) << 16);
}

std::optional<FontChoice> QtDialogs::chooseFont(const FontChoice& initial) {
  return chooseFontWithApply(initial, nullptr);
}

std::optional<FontChoice> QtDialogs::chooseFontWithApply(
    const FontChoice& initial, const std::function<void(const FontChoice&)>& apply) {
  QFont start(QString::fromStdString(initial.family),
              initial.pointSize > 0 ? initial.pointSize : 8);
  start.setBold(initial.bold);
  start.setItalic(initial.italic);
  start.setUnderline(initial.underline);
  start.setStrikeOut(initial.strikeOut);
  QFontDialog dialog(start, owner_);
  // Qt's own dialog, so that it can carry the Apply button.
  dialog.setOption(QFontDialog::DontUseNativeDialog);
  const auto choiceOf = [&initial](const QFont& font) {
    FontChoice choice = initial;
    choice.family = font.family().toStdString();
    choice.pointSize = font.pointSize();
    choice.bold = font.bold();
    choice.italic = font.italic();
    choice.underline = font.underline();
    choice.strikeOut = font.strikeOut();
    return choice;
  };
  if (apply) {
    if (auto* buttons = dialog.findChild<QDialogButtonBox*>()) {
      QPushButton* applyButton = buttons->addButton(QDialogButtonBox::Apply);
      QObject::connect(applyButton, &QPushButton::clicked, &dialog,
                       [&] { apply(choiceOf(dialog.currentFont())); });
    }
  }
  if (dialog.exec() != QDialog::Accepted) {
    return std::nullopt;
  }
  return choiceOf(dialog.selectedFont());
}

}  // namespace corvane
