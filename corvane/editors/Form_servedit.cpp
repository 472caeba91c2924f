#include "corvane/editors/Form_servedit.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QStyle>
#include <QVBoxLayout>

#include "corvane/editors/service_properties.h"

namespace corvane {

namespace {

template <std::size_t N>
QComboBox* dropDown(QWidget* parent, const char* name, const std::array<const char*, N>& items) {
  auto* box = new QComboBox(parent);
  box->setObjectName(name);
  for (const char* item : items) {
    box->addItem(item);
  }
  return box;
}

// A caption above its control, as a labelled edit shows it.
QVBoxLayout* labelled(const QString& caption, QWidget* control) {
  auto* column = new QVBoxLayout;
  column->setSpacing(0);
  auto* label = new QLabel(caption, control->parentWidget());
  label->setObjectName(control->objectName() + "Label");
  label->setBuddy(control);
  column->addWidget(label);
  column->addWidget(control);
  return column;
}

QLineEdit* edit(QWidget* parent, const char* name) {
  auto* line = new QLineEdit(parent);
  line->setObjectName(name);
  return line;
}

QLineEdit* passwordEdit(QWidget* parent, const char* name) {
  QLineEdit* line = edit(parent, name);
  line->setEchoMode(QLineEdit::Password);
  line->setStyleSheet("lineedit-password-character: 42");
  return line;
}

void makeBold(QWidget* widget) {
  QFont font = widget->font();
  font.setBold(true);
  widget->setFont(font);
}

// Selects a list's choice: a design item, or a new item that stays in the list from then on.
void select(QComboBox* box, const ListChoice& choice) {
  if (choice.item >= 0) {
    box->setCurrentIndex(choice.item);
  } else if (!choice.added.empty()) {
    box->addItem(QString::fromStdString(choice.added));
    box->setCurrentIndex(box->count() - 1);
  }
}

void setBase(QLineEdit* line, QPalette::ColorRole role) {
  QPalette palette = line->palette();
  const QColor colour = line->style()->standardPalette().color(role);
  for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    palette.setColor(group, QPalette::Base, colour);
  }
  line->setPalette(palette);
}

}  // namespace

TServEdit::TServEdit(const Catalogue& catalogue, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint),
      catalogue_(catalogue) {
  setObjectName("ServEdit");
  setFont(QFont("Tahoma", 8));
  setModal(true);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 8, 8, 8);
  auto* columns = new QHBoxLayout;
  columns->setSpacing(8);
  auto* left = new QVBoxLayout;
  left->addWidget(buildGeneral());
  left->setSpacing(4);
  left->addWidget(buildLogOn());
  columns->addLayout(left, 0);
  columns->addWidget(buildFailureResponse(), 1);
  layout->addLayout(columns, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  BSave = new QPushButton("&Save", this);
  BSave->setObjectName("BSave");
  BSave->setEnabled(false);
  BSave->setAutoDefault(false);
  BCancel = new QPushButton("&Cancel", this);
  BCancel->setObjectName("BCancel");
  BCancel->setAutoDefault(false);
  connect(BCancel, &QPushButton::clicked, this, &TServEdit::BCancelClick);
  buttons->addWidget(BSave);
  buttons->addWidget(BCancel);
  layout->addLayout(buttons);

  setFixedSize(642, 461);
}

QWidget* TServEdit::buildGeneral() {
  auto* general = new QWidget(this);
  general->setFixedWidth(262);
  auto* grid = new QGridLayout(general);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setVerticalSpacing(2);

  ServName = edit(general, "ServName");
  DispName = edit(general, "DispName");
  makeBold(ServName);
  makeBold(DispName);
  ServExe = edit(general, "ServExe");
  StartName = edit(general, "StartName");
  grid->addLayout(labelled("Service Name", ServName), 0, 0, 1, 2);
  grid->addLayout(labelled("Display Name", DispName), 1, 0, 1, 2);
  grid->addLayout(labelled("Executable", ServExe), 2, 0, 1, 2);
  grid->addLayout(labelled("Account name / Driver object name", StartName), 3, 0, 1, 2);

  ServType = dropDown(general, "ServType", ServTypeItems);
  ErrorCtrl = dropDown(general, "ErrorCtrl", ErrorCtrlItems);
  StartType = dropDown(general, "StartType", StartTypeItems);
  CurrentStatus = dropDown(general, "CurrentStatus", CurrentStatusItems);
  for (QComboBox* fixed : {ServType, StartType, CurrentStatus}) {
    fixed->setEnabled(false);
  }
  grid->addLayout(labelled("Service type", ServType), 4, 0);
  grid->addLayout(labelled("Error control", ErrorCtrl), 4, 1);
  grid->addLayout(labelled("Start Type", StartType), 5, 0);
  grid->addLayout(labelled("Current status", CurrentStatus), 5, 1);

  Cdi = new QCheckBox("Desktop interactive", general);
  Cdi->setObjectName("Cdi");
  grid->addWidget(Cdi, 6, 0, 1, 2);

  StartParams = edit(general, "StartParams");
  Button1 = new QPushButton("Start", general);
  Button1->setObjectName("Button1");
  Button1->setAutoDefault(false);
  StartParams->setEnabled(false);
  Button1->setEnabled(false);
  auto* parameters = new QHBoxLayout;
  parameters->addWidget(StartParams, 1);
  parameters->addWidget(Button1);
  auto* parametersCaption = new QLabel("Start service now with the following parameters", general);
  parametersCaption->setObjectName("StartParamsLabel");
  parametersCaption->setWordWrap(true);
  grid->addWidget(parametersCaption, 7, 0, 1, 2);
  grid->addLayout(parameters, 8, 0, 1, 2);
  return general;
}

QGroupBox* TServEdit::buildLogOn() {
  GroupBox1 = new QGroupBox("  Log on as  ", this);
  GroupBox1->setObjectName("GroupBox1");
  auto* grid = new QGridLayout(GroupBox1);
  grid->setContentsMargins(6, 4, 6, 4);
  grid->setVerticalSpacing(2);
  AccountLocal = new QRadioButton("Local System account", GroupBox1);
  AccountLocal->setObjectName("AccountLocal");
  AccountLocal->setChecked(true);
  CAllow = new QCheckBox("Allow service to interact with desktop", GroupBox1);
  CAllow->setObjectName("CAllow");
  AccountThis = new QRadioButton("This account", GroupBox1);
  AccountThis->setObjectName("AccountThis");
  ServAccount = edit(GroupBox1, "ServAccount");
  ServPass = passwordEdit(GroupBox1, "ServPass");
  ServPass2 = passwordEdit(GroupBox1, "ServPass2");
  grid->addWidget(AccountLocal, 0, 0, 1, 2);
  grid->addWidget(CAllow, 1, 0, 1, 2);
  grid->addWidget(AccountThis, 3, 0);
  grid->addWidget(ServAccount, 3, 1);
  grid->addWidget(new QLabel("Password", GroupBox1), 4, 0);
  grid->addWidget(ServPass, 4, 1);
  grid->addWidget(new QLabel("Confirm Password", GroupBox1), 5, 0);
  grid->addWidget(ServPass2, 5, 1);
  grid->setColumnStretch(1, 1);
  connect(AccountLocal, &QRadioButton::clicked, this, &TServEdit::AccountLocalClick);
  connect(AccountThis, &QRadioButton::clicked, this, &TServEdit::AccountThisClick);
  for (QWidget* fixed : {static_cast<QWidget*>(AccountLocal), static_cast<QWidget*>(AccountThis),
                         static_cast<QWidget*>(CAllow)}) {
    fixed->setEnabled(false);
  }
  return GroupBox1;
}

QGroupBox* TServEdit::buildFailureResponse() {
  GroupBox2 = new QGroupBox("  Windows response on service failure  ", this);
  GroupBox2->setObjectName("GroupBox2");
  auto* grid = new QGridLayout(GroupBox2);
  grid->setContentsMargins(6, 6, 6, 6);
  grid->setVerticalSpacing(4);
  ComboBox4 = dropDown(GroupBox2, "ComboBox4", FailureActionItems);
  ComboBox5 = dropDown(GroupBox2, "ComboBox5", FailureActionItems);
  ComboBox6 = dropDown(GroupBox2, "ComboBox6", FailureActionItems);
  grid->addWidget(new QLabel("First failure", GroupBox2), 0, 0);
  grid->addWidget(ComboBox4, 0, 1, 1, 2);
  grid->addWidget(new QLabel("Second failure", GroupBox2), 1, 0);
  grid->addWidget(ComboBox5, 1, 1, 1, 2);
  grid->addWidget(new QLabel("Subsequent failures", GroupBox2), 2, 0);
  grid->addWidget(ComboBox6, 2, 1, 1, 2);
  Edit1 = edit(GroupBox2, "Edit1");
  Edit2 = edit(GroupBox2, "Edit2");
  grid->addWidget(new QLabel("Reset fail count after", GroupBox2), 3, 0);
  grid->addWidget(Edit1, 3, 1);
  grid->addWidget(new QLabel("days", GroupBox2), 3, 2);
  grid->addWidget(new QLabel("Restart service after", GroupBox2), 4, 0);
  grid->addWidget(Edit2, 4, 1);

  PRun = new QGroupBox("  Run program  ", GroupBox2);
  PRun->setObjectName("PRun");
  auto* run = new QGridLayout(PRun);
  run->setContentsMargins(6, 4, 6, 4);
  run->setVerticalSpacing(3);
  Edit4 = edit(PRun, "Edit4");
  BrowseButton = new QPushButton("Browse", PRun);
  BrowseButton->setObjectName("BrowseButton");
  BrowseButton->setAutoDefault(false);
  Edit5 = edit(PRun, "Edit5");
  AppendFailCount = new QCheckBox("Append fail count to end of command line (/fail=%1%)", PRun);
  AppendFailCount->setObjectName("AppendFailCount");
  run->addWidget(Edit4, 0, 0);
  run->addWidget(BrowseButton, 0, 1);
  run->addWidget(new QLabel("Command line parameters", PRun), 1, 0, 1, 2);
  run->addWidget(Edit5, 2, 0, 1, 2);
  run->addWidget(AppendFailCount, 3, 0, 1, 2);
  grid->addWidget(PRun, 5, 0, 1, 3);

  PRestart = new QGroupBox("  Restart computer options  ", GroupBox2);
  PRestart->setObjectName("PRestart");
  auto* restart = new QGridLayout(PRestart);
  restart->setContentsMargins(6, 4, 6, 4);
  restart->setVerticalSpacing(3);
  Edit6 = edit(PRestart, "Edit6");
  BroadcastMessage = new QCheckBox("Before restart broadcast this message", PRestart);
  BroadcastMessage->setObjectName("BroadcastMessage");
  MMessage = new QPlainTextEdit(PRestart);
  MMessage->setObjectName("MMessage");
  restart->addWidget(new QLabel("Restart computer after", PRestart), 0, 0);
  restart->addWidget(Edit6, 0, 1);
  restart->addWidget(BroadcastMessage, 1, 0, 1, 2);
  restart->addWidget(MMessage, 2, 0, 1, 2);
  grid->addWidget(PRestart, 6, 0, 1, 3);
  grid->setRowStretch(6, 1);

  // The failure actions are shown, never enabled.
  for (QWidget* child : GroupBox2->findChildren<QWidget*>()) {
    child->setEnabled(false);
  }
  return GroupBox2;
}

bool TServEdit::FormShow(const QString& caption, const QIcon& icon,
                         const std::string& serviceName) {
  setWindowIcon(icon);
  setWindowTitle(caption);
  const ServiceRecord* record = FindServiceRecord(catalogue_, serviceName);
  if (record == nullptr) {
    return false;
  }
  const ServiceProperties shown = ServicePropertiesOf(*record);
  ServName->setText(QString::fromStdString(shown.ServName));
  DispName->setText(QString::fromStdString(shown.DispName));
  ServExe->setText(QString::fromStdString(shown.ServExe));
  StartName->setText(QString::fromStdString(shown.StartName));
  select(StartType, shown.StartType);
  select(CurrentStatus, shown.CurrentStatus);
  Cdi->setChecked(false);
  Cdi->setEnabled(true);
  select(ServType, shown.ServType);
  Cdi->setEnabled(shown.CdiEnabled);
  Cdi->setChecked(shown.CdiChecked);
  select(ErrorCtrl, shown.ErrorCtrl);
  AccountLocalClick();
  for (QLineEdit* line : {ServName, DispName, ServExe, StartName}) {
    line->setCursorPosition(0);
  }
  BCancel->setFocus();
  return true;
}

void TServEdit::Execute(const QString& caption, const QIcon& icon, const std::string& serviceName) {
  if (FormShow(caption, icon, serviceName)) {
    exec();
  }
}

void TServEdit::BCancelClick() {
  done(QDialog::Accepted);
}

void TServEdit::FormKeyPress(int key) {
  if (key == Qt::Key_Escape) {
    done(QDialog::Accepted);
  }
}

void TServEdit::AccountLocalClick() {
  const bool thisAccount = AccountThis->isChecked();
  for (QLineEdit* line : {ServAccount, ServPass, ServPass2}) {
    line->setEnabled(thisAccount);
    setBase(line, thisAccount ? QPalette::Base : QPalette::Button);
  }
  if (thisAccount) {
    CAllow->setEnabled(false);
  }
}

void TServEdit::AccountThisClick() {
  AccountLocalClick();
}

void TServEdit::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    FormKeyPress(event->key());
    return;
  }
  QDialog::keyPressEvent(event);
}

}  // namespace corvane
