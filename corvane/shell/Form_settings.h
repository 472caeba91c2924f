// The settings dialog (TSettings): colours, auto-refresh, the console's behaviour and font, the
// tree mode and the warning level, and "&Defaults". It owns the reading of settings.ini at the
// main window's first showing, the applying of the colours and the "&Save" writer.
#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QFont>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>

#include "corvane/shell/dialogs.h"

namespace corvane {

class TMainForm;
class TConsole;
struct ProgramState;

class TSettings : public QDialog {
  Q_OBJECT

 public:
  // Creates the dialog hidden and runs FormCreate, which shows the main window when
  // ShowMainFormAtStart is set; that first showing runs ReadSettings.
  TSettings(TMainForm& mainForm, TConsole& console, Dialogs& dialogs, ProgramState& program);

  // Reads settings.ini and applies it to the windows; shows the failure of a value that is not
  // a number in an error box. Every later key keeps its value, and the rest is still applied.
  void ReadSettings();
  // "&Save"'s writer. Throws common::IniError when the file cannot be written.
  void WriteSettings();
  // The twelve applied colours onto the main window's panes.
  void ApplyColors();

  // Handlers, named after their control and event.
  void FormShow();
  void okClick();
  void cancelClick();
  void resetClick();
  void ListDblClick(int item);
  void SpinEditChange();
  void ChangeFontClick();
  void ChFontApply(const FontChoice& font);
  void AutoHideClick();

  // The colour each swatch shows, by item.
  QColor SwatchColor(int item) const;

  QTabWidget* PageControl = nullptr;
  QWidget* Display = nullptr;
  QWidget* ConsolePage = nullptr;
  QWidget* Operation = nullptr;
  QListWidget* List = nullptr;
  QCheckBox* CheckBox2 = nullptr;  // "Save active panel and filters settings"
  QCheckBox* AutoRefresh = nullptr;
  QSpinBox* SpinEdit = nullptr;
  QCheckBox* AutoHide = nullptr;
  QCheckBox* SaveConsole = nullptr;
  QPushButton* ChangeFont = nullptr;
  QCheckBox* FullTree = nullptr;
  QCheckBox* CheckBox1 = nullptr;  // "AutoRefresh EventLog"
  QCheckBox* CheckBox3 = nullptr;  // "Show warnings"
  QPushButton* reset = nullptr;
  QPushButton* ok = nullptr;
  QPushButton* cancel = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
  // Esc and closing the dialog are "&Cancel".
  void reject() override;

 private:
  void FormCreate();
  void buildDisplayPage();
  void buildConsolePage();
  void buildOperationPage();
  void colourSwatches();
  void setConsoleFont(const QFont& font);
  QFont consoleFont() const;

  TMainForm& mainForm_;
  TConsole& console_;
  Dialogs& dialogs_;
  ProgramState& program_;
  // The console font before the last "Change Font" (the font read at start-up before any).
  QFont rememberedFont_;
  // settings.ini is read once per run.
  bool settingsRead_ = false;
};

}  // namespace corvane
