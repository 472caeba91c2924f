#include "corvane/snapshot/Form_script.h"

#include <QActionGroup>
#include <QApplication>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <exception>
#include <filesystem>

#include "common/text.h"
#include "corvane/catalogue/Qt_service_list_model.h"
#include "corvane/engine/request_state.h"
#include "corvane/shell/Form_console.h"
#include "corvane/shell/Form_main.h"
#include "corvane/shell/help_launch.h"
#include "corvane/shell/program_state.h"
#include "platform/platform.h"

namespace corvane {

namespace {

const char* const BaseCaption = "Services SnapShot";

constexpr int ColumnWidths[SnapshotFieldCount] = {303, 120, 80, 80};

// The list reports a mouse press once the view has updated its selection for it.
class SnapshotListView : public QTreeView {
 public:
  using QTreeView::QTreeView;
  std::function<void(Qt::MouseButton, const QPoint&)> onMousePress;

 protected:
  void mousePressEvent(QMouseEvent* event) override {
    QTreeView::mousePressEvent(event);
    if (onMousePress)
      onMousePress(event->button(), event->position().toPoint());
  }
};

}  // namespace

TRecForm::TRecForm(TMainForm& main, platform::Platform& machine, Dialogs& dialogs,
                   ProgramState& program, RequestState& request)
    : QWidget(nullptr, Qt::Window | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                           Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint),
      main_(main),
      machine_(machine),
      dialogs_(dialogs),
      program_(program),
      request_(request) {
  setObjectName("RecForm");
  setWindowTitle(BaseCaption);
  setFont(QFont("Tahoma", 8));
  setMinimumSize(591, 223);
  resize(591, 390);

  buildList();
  buildBar();
  buildPopup();
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(SnapShot, 1);
  layout->addWidget(GroupBox);
  setTabOrder(Close, SnapShot);

  proposedName_ = ProposedSnapshotName(machine_.clock().localTime());
  UpdateApplyEnabled();
  Save->setEnabled(false);
}

TRecForm::~TRecForm() {
  SnapShot->setModel(nullptr);
}

void TRecForm::buildList() {
  auto* view = new SnapshotListView(this);
  SnapShot = view;
  SnapShot->setObjectName("SnapShot");
  model_ = new QtSnapshotModel(main_.Images(), this);
  SnapShot->setModel(model_);
  SnapShot->setRootIsDecorated(false);
  SnapShot->setItemsExpandable(false);
  SnapShot->setUniformRowHeights(true);
  SnapShot->setSelectionMode(QAbstractItemView::ExtendedSelection);
  SnapShot->setSelectionBehavior(QAbstractItemView::SelectRows);
  SnapShot->setEditTriggers(QAbstractItemView::NoEditTriggers);
  SnapShot->setAllColumnsShowFocus(true);
  // The selection stays as visible without the focus as with it.
  QPalette palette = SnapShot->palette();
  palette.setColor(QPalette::Inactive, QPalette::Highlight,
                   palette.color(QPalette::Active, QPalette::Highlight));
  palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                   palette.color(QPalette::Active, QPalette::HighlightedText));
  SnapShot->setPalette(palette);

  QHeaderView* header = SnapShot->header();
  header->setSectionsMovable(true);
  header->setSectionsClickable(true);
  header->setStretchLastSection(false);
  header->setMinimumSectionSize(30);
  header->setMaximumSectionSize(600);
  for (int column = 0; column < SnapshotFieldCount; ++column)
    header->resizeSection(column, ColumnWidths[column]);
  connect(header, &QHeaderView::sectionClicked, this, &TRecForm::SnapShotColumnClick);
  connect(header, &QHeaderView::sectionMoved, this, [this] { SnapShotColumnDragged(); });
  connect(SnapShot, &QTreeView::clicked, this, [this] { SnapShotClick(); });
  view->onMousePress = [this](Qt::MouseButton button, const QPoint& position) {
    SnapShotMouseDown(button, position);
  };
}

void TRecForm::buildBar() {
  GroupBox = new QWidget(this);
  GroupBox->setObjectName("GroupBox");
  GroupBox->setFixedHeight(44);
  auto* bar = new QHBoxLayout(GroupBox);
  bar->setContentsMargins(8, 4, 8, 4);
  Label1 = new QLabel("Entries:", GroupBox);
  RecCount = new QLabel("--", GroupBox);
  RecCount->setObjectName("RecCount");
  RecCount->setMinimumWidth(40);
  bar->addWidget(Label1);
  bar->addWidget(RecCount);
  bar->addStretch(1);

  auto button = [this, bar](const char* name, const char* text, void (TRecForm::*handler)()) {
    auto* made = new QPushButton(text, GroupBox);
    made->setObjectName(name);
    made->setFixedSize(75, 25);
    bar->addWidget(made);
    connect(made, &QPushButton::clicked, this, handler);
    return made;
  };
  Load = button("Load", "&Load", &TRecForm::LoadClick);
  Save = button("Save", "&Save", &TRecForm::SaveClick);
  Apply = button("Apply", "&Apply", &TRecForm::ApplyClick);

  auto* boxes = new QVBoxLayout;
  boxes->setSpacing(0);
  CheckStart = new QCheckBox("apply start &type", GroupBox);
  CheckStart->setObjectName("CheckStart");
  CheckStatus = new QCheckBox("apply &status", GroupBox);
  CheckStatus->setObjectName("CheckStatus");
  boxes->addWidget(CheckStart);
  boxes->addWidget(CheckStatus);
  bar->addLayout(boxes);
  connect(CheckStart, &QCheckBox::clicked, this, &TRecForm::CheckStartClick);
  connect(CheckStatus, &QCheckBox::clicked, this, &TRecForm::CheckStatusClick);

  Close = button("Close", "&Close", &TRecForm::CloseClick);
}

void TRecForm::buildPopup() {
  Popup = new QMenu(this);
  Popup->setObjectName("Popup");
  auto item = [this](const char* name, const char* text, void (TRecForm::*handler)()) {
    QAction* made = Popup->addAction(text);
    made->setObjectName(name);
    connect(made, &QAction::triggered, this, handler);
    return made;
  };
  Start = item("Start", "Switch status to &Started", &TRecForm::StartClick);
  Stop = item("Stop", "Switch status to S&topped", &TRecForm::StopClick);
  Start->setIcon(main_.Images().icon(image::StateRunning));
  Stop->setIcon(main_.Images().icon(image::StateStopped));
  Popup->addSeparator();
  Automatic = item("Automatic", "Switch start type to &Automatic", &TRecForm::AutomaticClick);
  Manual = item("Manual", "Switch start type to &Manual", &TRecForm::ManualClick);
  Disabled = item("Disabled", "Switch start type to &Disabled", &TRecForm::DisabledClick);
  Popup->addSeparator();
  SelectAll = item("SelectAll", "S&elect All Entries", &TRecForm::SelectAllClick);
  SelectAll->setShortcut(QKeySequence("Ctrl+A"));
  Popup->addSeparator();
  Delete = item("Delete", "&Remove entry from SnapShot", &TRecForm::DeleteClick);
  Delete->setShortcut(QKeySequence(Qt::Key_Delete));

  for (const auto& group :
       {std::vector<QAction*>{Start, Stop}, std::vector<QAction*>{Automatic, Manual, Disabled}}) {
    auto* radio = new QActionGroup(this);
    radio->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
    for (QAction* action : group) {
      action->setCheckable(true);
      radio->addAction(action);
    }
  }
  // The shortcuts work while the list has the keyboard focus.
  for (QAction* action : {SelectAll, Delete}) {
    action->setShortcutContext(Qt::WidgetShortcut);
    SnapShot->addAction(action);
  }
}

EntryCheckContext TRecForm::CheckContext() const {
  EntryCheckContext context{program_.catalogue};
  context.closing = [this] { return request_.Closing; };
  context.showWarnings = program_.settings.ShowWarnings;
  context.showInformation = [this](const std::string& text) {
    dialogs_.messageBox(text, "Corvane", DialogIcon::Information, DialogButtons::Ok);
  };
  context.mainListImage = [this](const std::string& name) -> std::optional<int> {
    for (const ServRow& row : main_.ServListModel().list().rows()) {
      if (row.hasCells && common::equalsIgnoreCase(row.serviceName(), name))
        return row.rowImage;
    }
    return std::nullopt;
  };
  return context;
}

std::vector<int> TRecForm::SelectedRows() const {
  std::vector<int> rows;
  for (const QModelIndex& index : SnapShot->selectionModel()->selectedRows())
    rows.push_back(index.row());
  std::sort(rows.begin(), rows.end());
  return rows;
}

void TRecForm::SnapShotChange() {
  const int count = model_->rowCount();
  RecCount->setText(QString::number(count));
  Save->setEnabled(count > 0);
}

void TRecForm::UpdateApplyEnabled() {
  Apply->setEnabled(CheckStart->isChecked() || CheckStatus->isChecked());
}

std::string TRecForm::SnapshotFolder() const {
  return program_.InstallDir + PathSeparator + SnapshotFolderName;
}

// --- Filling and loading -----------------------------------------------------------------------

void TRecForm::FillFromCatalogue() {
  request_.Busy = true;
  QCoreApplication::processEvents();
  SnapShot->setUpdatesEnabled(false);
  model_->clear();
  const EntryCheckContext context = CheckContext();
  for (SnapshotEntry& entry : EntriesFromCatalogue(program_.catalogue, context.closing))
    model_->add(std::move(entry), context);
  request_.Busy = false;
  model_->sort();
  SnapShot->setUpdatesEnabled(true);
  SnapShot->header()->setSectionResizeMode(FieldDisplayName, QHeaderView::Stretch);
  setWindowTitle(QString(BaseCaption) + " - current config");
  SnapShotChange();
}

void TRecForm::LoadClick() {
  request_.Busy = true;
  const bool commandLine = program_.OpenSnapshotAtStart;
  std::optional<std::string> file;
  if (commandLine) {
    file = program_.StartupSnapshotPath;
  } else if (request_.LoadSnapshotRequest) {
    file = requestedFile_;
  } else {
    try {
      file = dialogs_.openFile({OpenSnapshotTitle, SnapshotFolder(), OpenSnapshotName,
                                SnapshotExtension, SnapshotFilter});
    } catch (const std::exception&) {
      dialogs_.messageBox("Unexpected failure ...\nPress ok to terminate !", "error",
                          DialogIcon::Error, DialogButtons::Ok);
      QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
      file.reset();
    }
  }
  request_.LoadSnapshotRequest = false;

  if (file) {
    const SnapshotReading reading = ReadSnapshotFile(std::filesystem::path(*file));
    // A file rejected before its first option keeps the window as it was.
    if (reading.ApplyStatus) {
      SnapShot->setUpdatesEnabled(false);
      model_->clear();
      CheckStatus->setChecked(*reading.ApplyStatus);
      if (reading.ApplyStartType)
        CheckStart->setChecked(*reading.ApplyStartType);
      const EntryCheckContext context = CheckContext();
      for (const SnapshotEntry& entry : reading.Entries) {
        QCoreApplication::processEvents();
        if (request_.Closing)
          break;
        model_->add(entry, context);
      }
      model_->sort();
      QCoreApplication::processEvents();
      SnapShot->setUpdatesEnabled(true);
      SnapShotChange();
      UpdateApplyEnabled();
    }
    if (reading.error) {
      dialogs_.messageBox("Error loading SnapShot:\n" + *reading.error, "error", DialogIcon::Error,
                          DialogButtons::Ok);
    } else {
      setWindowTitle(QString(BaseCaption) + " - \"" + QString::fromStdString(*file) + "\"");
      if (commandLine) {
        show();
        QCoreApplication::processEvents();
        raise();
        activateWindow();
        SnapShot->setFocus();
      }
    }
  }
  request_.Busy = false;
  program_.OpenSnapshotAtStart = false;
}

bool TRecForm::ChooseFileForLoadRequest() {
  std::optional<std::string> file;
  try {
    file = dialogs_.openFile(
        {OpenSnapshotTitle, SnapshotFolder(), OpenSnapshotName, SnapshotExtension, SnapshotFilter});
  } catch (const std::exception&) {
    dialogs_.messageBox("Unexpected failure ...\nPress ok to terminate !", "error",
                        DialogIcon::Error, DialogButtons::Ok);
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
    return false;
  }
  if (!file)
    return false;
  requestedFile_ = *file;
  return true;
}

void TRecForm::PrepareTake() {
  proposedName_ = ProposedSnapshotName(machine_.clock().localTime());
}

void TRecForm::SaveClick() {
  if (model_->rowCount() == 0) {
    dialogs_.messageBox("You can not save an empty snapshot !", "error", DialogIcon::Error,
                        DialogButtons::Ok);
    return;
  }
  const std::optional<std::string> file = dialogs_.saveFile(
      {SaveSnapshotTitle, SnapshotFolder(), proposedName_, SnapshotExtension, SnapshotFilter});
  if (!file)
    return;
  proposedName_ = std::filesystem::path(*file).filename().string();
  try {
    WriteSnapshotFile(std::filesystem::path(*file), CheckStatus->isChecked(),
                      CheckStart->isChecked(), model_->list().entries());
  } catch (const std::exception& failure) {
    dialogs_.messageBox(std::string("Error saving snapshot !\n\nException:\n") + failure.what(),
                        "error", DialogIcon::Error, DialogButtons::Ok);
  }
}

// --- Editing ------------------------------------------------------------------------------------

void TRecForm::StartClick() {
  model_->setStatus(SelectedRows(), "started", CheckContext());
  Save->setEnabled(true);
}

void TRecForm::StopClick() {
  model_->setStatus(SelectedRows(), "stopped", CheckContext());
  Save->setEnabled(true);
}

void TRecForm::AutomaticClick() {
  model_->setStartupType(SelectedRows(), "automatic", CheckContext());
  Save->setEnabled(true);
}

void TRecForm::ManualClick() {
  model_->setStartupType(SelectedRows(), "manual", CheckContext());
  Save->setEnabled(true);
}

void TRecForm::DisabledClick() {
  model_->setStartupType(SelectedRows(), "disabled", CheckContext());
  Save->setEnabled(true);
}

void TRecForm::SelectAllClick() {
  if (model_->rowCount() > 0) {
    SnapShot->clearSelection();
    SnapShot->selectAll();
  }
}

void TRecForm::DeleteClick() {
  std::vector<int> rows = SelectedRows();
  // From the bottom up, so that the rows still to go keep their places.
  for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
    model_->removeRows({*row});
    RecCount->setText(QString::number(model_->rowCount()));
  }
  SnapShotChange();
  Save->setEnabled(true);
}

void TRecForm::SnapShotMouseDown(Qt::MouseButton button, const QPoint& position) {
  const QModelIndex under = SnapShot->indexAt(position);
  if (!SnapShot->selectionModel()->hasSelection() || !under.isValid())
    return;
  const bool one = SelectedRows().size() <= 1;
  const SnapshotEntry& entry = model_->list().rows()[static_cast<std::size_t>(under.row())].entry;
  Start->setChecked(one && entry.Status == "started");
  Stop->setChecked(one && entry.Status == "stopped");
  Automatic->setChecked(one && entry.StartupType == "automatic");
  Manual->setChecked(one && entry.StartupType == "manual");
  Disabled->setChecked(one && entry.StartupType == "disabled");
  if (button == Qt::RightButton)
    Popup->popup(SnapShot->viewport()->mapToGlobal(position));
}

void TRecForm::SnapShotClick() {
  const std::vector<int> rows = SelectedRows();
  if (request_.Busy || rows.empty())
    return;
  const std::string& name =
      model_->list().rows()[static_cast<std::size_t>(rows.front())].entry.Name;
  const QtServiceListModel& list = main_.ServListModel();
  int found = -1;
  for (int row = 0; row < list.rowCount() && found < 0; ++row) {
    try {
      if (common::equalsIgnoreCase(list.row(row).serviceName(), name))
        found = row;
    } catch (const std::exception& failure) {
      dialogs_.showMessage(std::string("exception: ") + failure.what());
    }
  }
  main_.ShowServicesPage();
  if (found >= 0) {
    const QModelIndex index = list.index(found, 0);
    main_.ServList->setCurrentIndex(index);
    main_.ServList->scrollTo(index, QAbstractItemView::PositionAtCenter);
    return;
  }
  main_.ServList->clearSelection();
  main_.Group->clear();
  main_.Executable->clear();
  main_.Tree->clear();
  main_.Description->clear();
  main_.Description->setCurrentCharFormat(QTextCharFormat());
  main_.Description->setPlainText("Service not available !");
}

// --- Sorting and columns ------------------------------------------------------------------------

void TRecForm::SnapShotColumnClick(int logicalColumn) {
  model_->columnClick(SnapShot->header()->visualIndex(logicalColumn));
}

void TRecForm::SnapShotColumnDragged() {
  const QHeaderView* header = SnapShot->header();
  for (int field = 0; field < SnapshotFieldCount; ++field)
    columnPositions_[static_cast<std::size_t>(field)] = header->visualIndex(field);
  std::vector<int>& stored = program_.settings.SnapShotColumns.Positions;
  if (stored.size() == columnPositions_.size())
    stored.assign(columnPositions_.begin(), columnPositions_.end());
}

// --- Options, showing and keys ------------------------------------------------------------------

void TRecForm::CheckStartClick() {
  UpdateApplyEnabled();
}

void TRecForm::CheckStatusClick() {
  UpdateApplyEnabled();
}

void TRecForm::CloseClick() {
  hide();
}

void TRecForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  FormShow();
}

void TRecForm::FormShow() {
  const QPalette colours = main_.ServList->palette();
  QPalette palette = SnapShot->palette();
  for (const auto group : {QPalette::Active, QPalette::Inactive}) {
    palette.setColor(group, QPalette::Base, colours.color(QPalette::Active, QPalette::Base));
    palette.setColor(group, QPalette::Text, colours.color(QPalette::Active, QPalette::Text));
  }
  SnapShot->setPalette(palette);
  QFont font = SnapShot->font();
  font.setPointSize(main_.ServList->font().pointSize());
  SnapShot->setFont(font);
  const int count = model_->rowCount();
  Save->setEnabled(count > 0);
  if (count == 0)
    RecCount->setText("0");
  UpdateApplyEnabled();
}

void TRecForm::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  FormHide();
}

void TRecForm::FormHide() {
  if (!request_.Busy)
    main_.RefreshSelectionDetails();
}

void TRecForm::keyReleaseEvent(QKeyEvent* event) {
  FormKeyUp(event->key());
  QWidget::keyReleaseEvent(event);
}

void TRecForm::FormKeyUp(int key) {
  if (key == Qt::Key_F1) {
    OpenHelpPage(program_.InstallDir, HelpSnapshotPage, machine_.processes(), dialogs_);
  } else if (key == Qt::Key_Escape) {
    hide();
  }
}

// --- Applying -----------------------------------------------------------------------------------

void TRecForm::ApplyClick() {
  ApplySnapshot(CheckStart->isChecked(), CheckStatus->isChecked(), *this);
}

void TRecForm::HideSnapshotWindow() {
  hide();
}

void TRecForm::ClearBatchCanceled() {
  request_.BatchCanceled = false;
}

bool TRecForm::BatchCanceled() {
  return request_.BatchCanceled;
}

bool TRecForm::BuildBatchList(int mode) {
  FillBatchList(model_->list().entries(), mode, program_,
                [this](const std::string& text) { dialogs_.showMessage(text); });
  program_.FullRefresh = true;
  program_.RefreshAllViews = true;
  request_.SkipEventLogFillOnce = true;
  return main_.LaunchRequest(ReqExecuteBatch);
}

bool TRecForm::WorkerIdle() {
  return request_.WorkerIdle;
}

void TRecForm::ProcessMessages() {
  QCoreApplication::processEvents();
}

bool TRecForm::Closing() {
  return request_.Closing;
}

void TRecForm::Sleep(std::uint32_t milliseconds) {
  QEventLoop waiting;
  QTimer::singleShot(static_cast<int>(milliseconds), &waiting, &QEventLoop::quit);
  waiting.exec();
}

void TRecForm::ErrorBox(const std::string& text, const std::string& caption) {
  dialogs_.messageBox(text, caption, DialogIcon::Error, DialogButtons::Ok);
}

void TRecForm::FocusConsoleButton() {
  TConsole* console = main_.Console();
  if (console != nullptr && console->isVisible() && console->CloseButton->isEnabled())
    console->CloseButton->setFocus();
}

}  // namespace corvane
