// The snapshot window (TRecForm): the entries of one snapshot with their icons, the two apply
// options, loading, saving, editing and applying. Created hidden at start-up; hiding it keeps
// its contents.
#pragma once

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTreeView>
#include <QWidget>
#include <array>
#include <string>

#include "corvane/shell/dialogs.h"
#include "corvane/snapshot/Qt_snapshot_model.h"
#include "corvane/snapshot/apply_snapshot.h"

namespace platform {
class Platform;
}

namespace corvane {

class TMainForm;
struct ProgramState;
struct RequestState;

class TRecForm : public QWidget, private ApplyHost {
 public:
  TRecForm(TMainForm& main, platform::Platform& machine, Dialogs& dialogs, ProgramState& program,
           RequestState& request);
  ~TRecForm() override;

  // Replaces the entries by the current configuration (the catalogue).
  void FillFromCatalogue();
  // Loads a snapshot file: the command-line file, the file the main window's load command
  // chose, or one chosen in the open dialog.
  void LoadClick();
  void SaveClick();
  void ApplyClick();
  void CloseClick();
  void CheckStartClick();
  void CheckStatusClick();
  void StartClick();
  void StopClick();
  void AutomaticClick();
  void ManualClick();
  void DisabledClick();
  void SelectAllClick();
  void DeleteClick();
  void SnapShotClick();
  void SnapShotMouseDown(Qt::MouseButton button, const QPoint& position);
  void SnapShotColumnClick(int logicalColumn);
  void SnapShotColumnDragged();
  void FormKeyUp(int key);

  // The main window's take command: a new proposed name and both options clear.
  void PrepareTake();
  // The main window's load command: the open dialog; true when a file was chosen for the
  // load request.
  bool ChooseFileForLoadRequest();

  const SnapshotList& Entries() const { return model_->list(); }
  // The screen position of each field's column, as last recorded.
  const std::array<int, SnapshotFieldCount>& ColumnPositions() const { return columnPositions_; }
  const std::string& ProposedSaveName() const { return proposedName_; }

  QTreeView* SnapShot = nullptr;
  QWidget* GroupBox = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* RecCount = nullptr;
  QPushButton* Load = nullptr;
  QPushButton* Save = nullptr;
  QPushButton* Apply = nullptr;
  QCheckBox* CheckStart = nullptr;
  QCheckBox* CheckStatus = nullptr;
  QPushButton* Close = nullptr;
  QMenu* Popup = nullptr;
  QAction* Start = nullptr;
  QAction* Stop = nullptr;
  QAction* Automatic = nullptr;
  QAction* Manual = nullptr;
  QAction* Disabled = nullptr;
  QAction* SelectAll = nullptr;
  QAction* Delete = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  void buildList();
  void buildBar();
  void buildPopup();
  EntryCheckContext CheckContext() const;
  std::vector<int> SelectedRows() const;
  // SnapShotChange: the count label and the Save rule.
  void SnapShotChange();
  void UpdateApplyEnabled();
  std::string SnapshotFolder() const;
  void FormShow();
  void FormHide();

  // ApplyHost.
  void HideSnapshotWindow() override;
  void ClearBatchCanceled() override;
  bool BatchCanceled() override;
  bool BuildBatchList(int mode) override;
  bool WorkerIdle() override;
  void ProcessMessages() override;
  bool Closing() override;
  // Lets window messages run meanwhile, so that the worker's hand-overs do not wait for it.
  void Sleep(std::uint32_t milliseconds) override;
  void ErrorBox(const std::string& text, const std::string& caption) override;
  void FocusConsoleButton() override;

  TMainForm& main_;
  platform::Platform& machine_;
  Dialogs& dialogs_;
  ProgramState& program_;
  RequestState& request_;
  QtSnapshotModel* model_ = nullptr;
  std::array<int, SnapshotFieldCount> columnPositions_{0, 1, 2, 3};
  std::string proposedName_;
  // The file the main window's load command chose.
  std::string requestedFile_;
};

}  // namespace corvane
