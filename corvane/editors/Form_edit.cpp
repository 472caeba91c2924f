#include "corvane/editors/Form_edit.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QVBoxLayout>

#include "corvane/editors/description_save.h"
#include "corvane/editors/description_section.h"
#include "corvane/shell/program_state.h"

namespace corvane {

TFormEdit::TFormEdit(ProgramState& program, Dialogs& dialogs, QWidget* parent)
    : QDialog(parent), program_(program), dialogs_(dialogs) {
  setObjectName("FormEdit");
  setWindowTitle("Edit Additional Description");
  setFont(QFont("Tahoma", 8));
  setModal(true);
  resize(475, 312);
  setMinimumSize(350, 200);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 4);
  layout->setSpacing(4);
  Description = new QTextEdit(this);
  Description->setObjectName("Description");
  Description->setAcceptRichText(false);
  Description->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Description->setContextMenuPolicy(Qt::NoContextMenu);
  QPalette palette = Description->palette();
  for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    palette.setColor(group, QPalette::Base, Qt::black);
    palette.setColor(group, QPalette::Text, Qt::white);
  }
  Description->setPalette(palette);
  Description->viewport()->installEventFilter(this);
  layout->addWidget(Description, 1);

  auto* bottom = new QHBoxLayout;
  bottom->setContentsMargins(4, 0, 4, 0);
  CIni = new QComboBox(this);
  CIni->setObjectName("CIni");
  CIni->addItems({"extradesc.ini", "extradesc2000.ini", "extradesc2003.ini", "extradescXP.ini"});
  SaveAll = new QCheckBox("Save in all", this);
  SaveAll->setObjectName("SaveAll");
  connect(SaveAll, &QCheckBox::clicked, this, &TFormEdit::SaveAllClick);
  Save = new QPushButton("Save", this);
  Save->setObjectName("Save");
  Save->setAutoDefault(false);
  connect(Save, &QPushButton::clicked, this, &TFormEdit::SaveClick);
  bottom->addWidget(CIni);
  bottom->addSpacing(8);
  bottom->addWidget(SaveAll);
  bottom->addStretch(1);
  bottom->addWidget(Save);
  layout->addLayout(bottom);
}

void TFormEdit::LoadSection(const std::string& displayName) {
  displayName_ = displayName;
  Description->setPlainText(
      QString::fromStdString(EditorTextOf(program_.ExtraDescriptions.Lines, displayName)));
}

void TFormEdit::Execute(const std::string& displayName) {
  LoadSection(displayName);
  exec();
}

void TFormEdit::FormShow() {
  CIni->setEnabled(!SaveAll->isChecked());
  CIni->setCurrentIndex(program_.OsKind >= 0 && program_.OsKind < CIni->count() ? program_.OsKind
                                                                                : 0);
  Description->setFocus();
}

void TFormEdit::SaveAllClick() {
  CIni->setEnabled(!SaveAll->isChecked());
}

void TFormEdit::SaveClick() {
  if (!SaveDescription(program_, dialogs_, displayName_, Description->toPlainText().toStdString(),
                       SaveAll->isChecked(), CIni->currentIndex())) {
    return;
  }
  accept();
  if (onSaved) {
    onSaved();
  }
}

void TFormEdit::DescriptionMouseUp(Qt::MouseButton button, const QPoint& globalPosition) {
  if (onDescriptionMouseUp) {
    onDescriptionMouseUp(button, globalPosition);
  }
}

void TFormEdit::FormKeyPress(int key) {
  if (key == Qt::Key_Escape) {
    reject();
  }
}

void TFormEdit::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!event->spontaneous()) {
    FormShow();
  }
}

void TFormEdit::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    FormKeyPress(event->key());
    return;
  }
  QDialog::keyPressEvent(event);
}

bool TFormEdit::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Description->viewport() && event->type() == QEvent::MouseButtonRelease) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    DescriptionMouseUp(mouse->button(), mouse->globalPosition().toPoint());
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace corvane
