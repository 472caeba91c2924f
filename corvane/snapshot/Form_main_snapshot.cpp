// The main window's snapshot commands and the completion steps of the snapshot requests.
#include "corvane/engine/request_state.h"
#include "corvane/shell/Form_main.h"
#include "corvane/shell/program_state.h"
#include "corvane/snapshot/Form_script.h"

namespace corvane {

void TMainForm::SetRecForm(TRecForm* form) {
  recForm_ = form;
  if (recForm_ == nullptr)
    return;
  for (QAction* command : {mTake, mLoad, ShowSnapShor1})
    notYetAvailable_.erase(command);
  ShowSnapShor1->setEnabled(true);
  // Take and load are enabled again by the completion of the request that runs now, if any.
  mTake->setEnabled(request_.WorkerIdle);
  mLoad->setEnabled(request_.WorkerIdle);
  connect(mTake, &QAction::triggered, this, &TMainForm::mTakeClick);
  connect(mLoad, &QAction::triggered, this, &TMainForm::mLoadClick);
  connect(ShowSnapShor1, &QAction::triggered, this, &TMainForm::ShowSnapShor1Click);
}

void TMainForm::mTakeClick() {
  recForm_->PrepareTake();
  program_.FullRefresh = false;
  program_.RefreshAllViews = true;
  LaunchRequest(ReqTakeSnapshot);
  recForm_->CheckStart->setChecked(false);
  recForm_->CheckStatus->setChecked(false);
}

void TMainForm::mLoadClick() {
  if (!recForm_->ChooseFileForLoadRequest())
    return;
  program_.FullRefresh = false;
  program_.RefreshAllViews = true;
  LaunchRequest(ReqLoadSnapshot);
}

void TMainForm::ShowSnapShor1Click() {
  recForm_->show();
  recForm_->raise();
  recForm_->activateWindow();
}

void TMainForm::LoadSnapshotWindowFile() {
  if (recForm_ == nullptr)
    return;
  recForm_->setWindowTitle("Services SnapShot");
  recForm_->LoadClick();
}

void TMainForm::FillSnapshotFromCatalogue() {
  if (recForm_ != nullptr)
    recForm_->FillFromCatalogue();
}

void TMainForm::ShowSnapshotWindow() {
  if (recForm_ != nullptr) {
    recForm_->show();
    recForm_->raise();
  }
}

}  // namespace corvane
