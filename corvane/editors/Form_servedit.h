// The service properties dialog (TServEdit): the configuration of one service or driver in a
// fixed form. It is a viewer: its "&Save" button stays disabled and what is typed into its
// fields is dropped when it closes.
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <string>

#include "corvane/catalogue/catalogue.h"

namespace corvane {

class TServEdit : public QDialog {
  Q_OBJECT

 public:
  // `catalogue` is the ServiceTable the dialog looks the service up in.
  TServEdit(const Catalogue& catalogue, QWidget* parent);

  // FormShow: the caption and icon of the service-list row, then the record whose ServiceName
  // equals `serviceName` exactly. False, with the fields untouched, when there is none.
  bool FormShow(const QString& caption, const QIcon& icon, const std::string& serviceName);
  // FormShow, then the modal show; nothing opens when FormShow finds no record.
  void Execute(const QString& caption, const QIcon& icon, const std::string& serviceName);

  void BCancelClick();
  // Escape closes the dialog.
  void FormKeyPress(int key);
  void AccountLocalClick();
  void AccountThisClick();

  QLineEdit* ServName;
  QLineEdit* DispName;
  QLineEdit* ServExe;
  QLineEdit* StartName;
  QComboBox* ServType;
  QComboBox* ErrorCtrl;
  QComboBox* StartType;
  QComboBox* CurrentStatus;
  QCheckBox* Cdi;
  QLineEdit* StartParams;
  QPushButton* Button1;
  QGroupBox* GroupBox1;
  QRadioButton* AccountLocal;
  QRadioButton* AccountThis;
  QCheckBox* CAllow;
  QLineEdit* ServAccount;
  QLineEdit* ServPass;
  QLineEdit* ServPass2;
  QGroupBox* GroupBox2;
  QComboBox* ComboBox4;
  QComboBox* ComboBox5;
  QComboBox* ComboBox6;
  QLineEdit* Edit1;
  QLineEdit* Edit2;
  QGroupBox* PRun;
  QLineEdit* Edit4;
  QPushButton* BrowseButton;
  QLineEdit* Edit5;
  QCheckBox* AppendFailCount;
  QGroupBox* PRestart;
  QLineEdit* Edit6;
  QCheckBox* BroadcastMessage;
  QPlainTextEdit* MMessage;
  QPushButton* BSave;
  QPushButton* BCancel;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QWidget* buildGeneral();
  QGroupBox* buildLogOn();
  QGroupBox* buildFailureResponse();

  const Catalogue& catalogue_;
};

}  // namespace corvane
