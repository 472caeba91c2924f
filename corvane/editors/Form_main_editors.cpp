// The main window's part of the service editors: creating the two dialogs and the commands that
// open them ("Properties", double click and Enter in the service list, "&Edit"), and the cut
// and paste of the editor's text.
#include <QApplication>
#include <QClipboard>

#include "corvane/catalogue/Qt_service_list_model.h"
#include "corvane/editors/Form_edit.h"
#include "corvane/editors/Form_servedit.h"
#include "corvane/shell/Form_main.h"
#include "corvane/shell/program_state.h"

namespace corvane {

namespace {

// The selected row of the service list when it stands for a service (the error row does not).
const ServRow* selectedServiceRow(const QTreeView& list, QtServiceListModel& model) {
  const QModelIndexList selected = list.selectionModel()->selectedRows();
  if (selected.isEmpty()) {
    return nullptr;
  }
  const ServRow& row = model.row(selected.first().row());
  return row.hasCells ? &row : nullptr;
}

}  // namespace

void TMainForm::CreateEditors() {
  ServEdit = new TServEdit(program_.catalogue, this);
  FormEdit = new TFormEdit(program_, dialogs_, this);
  FormEdit->onDescriptionMouseUp = [this](Qt::MouseButton button, const QPoint& globalPosition) {
    emEdit->setVisible(false);
    emCut->setVisible(true);
    emPaste->setVisible(true);
    if (button == Qt::RightButton) {
      EditMenu->popup(globalPosition);
    }
  };
  FormEdit->onSaved = [this] { RefreshSelectionDetails(); };

  connect(PopupItems[0], &QAction::triggered, this, &TMainForm::PropertiesClick);
  connect(emEdit, &QAction::triggered, this, &TMainForm::emEditClick);
  connect(emCut, &QAction::triggered, this, &TMainForm::emCutClick);
  connect(emPaste, &QAction::triggered, this, &TMainForm::emPasteClick);
  for (QAction* command : {PopupItems[0], emEdit, emCut, emPaste}) {
    notYetAvailable_.erase(command);
    command->setEnabled(true);
  }
}

void TMainForm::PropertiesClick() {
  if (ServEdit == nullptr) {
    return;
  }
  // Without a service row there is nothing to show: the dialog does not open.
  if (const ServRow* row = selectedServiceRow(*ServList, *servListModel_)) {
    ServEdit->Execute(QString::fromStdString(row->texts[0]), images_.icon(row->rowImage),
                      row->serviceName());
  }
}

void TMainForm::emEditClick() {
  if (FormEdit == nullptr || !Description->hasFocus()) {
    return;
  }
  if (const ServRow* row = selectedServiceRow(*ServList, *servListModel_)) {
    FormEdit->Execute(row->texts[0]);
  }
}

void TMainForm::emCutClick() {
  if (FormEdit != nullptr && FormEdit->Description->hasFocus() &&
      FormEdit->Description->textCursor().hasSelection()) {
    FormEdit->Description->cut();
  }
}

void TMainForm::emPasteClick() {
  if (FormEdit != nullptr && FormEdit->Description->hasFocus()) {
    FormEdit->Description->insertPlainText(QApplication::clipboard()->text());
  }
}

}  // namespace corvane
