// The description editor (TFormEdit, "Edit Additional Description"): the additional description
// of the service selected in the service list, saved into the extra-descriptions file of the
// running system, into another of the four, or into all of them.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QPushButton>
#include <QTextEdit>
#include <functional>
#include <string>

namespace corvane {

class Dialogs;
struct ProgramState;

class TFormEdit : public QDialog {
  Q_OBJECT

 public:
  // `program` gives ExtraDescFiles, OsKind and ExtraDescriptions.
  TFormEdit(ProgramState& program, Dialogs& dialogs, QWidget* parent);

  // The opening of emEditClick: the text of the section "[" + displayName + "]" of
  // ExtraDescriptions (empty without one), the section a save then writes.
  void LoadSection(const std::string& displayName);
  // LoadSection, then the modal show.
  void Execute(const std::string& displayName);

  void FormShow();
  void SaveAllClick();
  // Saves (one file or all four), reloads ExtraDescriptions, closes and runs onSaved. A text
  // that cannot be saved keeps the editor open.
  void SaveClick();
  void DescriptionMouseUp(Qt::MouseButton button, const QPoint& globalPosition);
  // Escape closes without saving.
  void FormKeyPress(int key);

  // The section the editor writes.
  const std::string& DisplayName() const { return displayName_; }

  // The main window's edit menu for the text (DescriptionMouseUp) and its selection refresh,
  // run after a save.
  std::function<void(Qt::MouseButton button, const QPoint& globalPosition)> onDescriptionMouseUp;
  std::function<void()> onSaved;

  QTextEdit* Description;
  QComboBox* CIni;
  QCheckBox* SaveAll;
  QPushButton* Save;

 protected:
  void showEvent(QShowEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  ProgramState& program_;
  Dialogs& dialogs_;
  std::string displayName_;
};

}  // namespace corvane
