// The event-log page of the main window: the list EventLog, its fills, sorting and selection, the
// filter buttons and menu commands, and the clear commands.
#include <QApplication>
#include <QHeaderView>
#include <QSignalBlocker>

#include "corvane/engine/request_state.h"
#include "corvane/eventlog/Qt_event_list_model.h"
#include "corvane/eventlog/event_description.h"
#include "corvane/shell/Form_main.h"
#include "corvane/shell/program_state.h"
#include "platform/platform.h"

namespace corvane {

QTreeView* TMainForm::BuildEventLog() {
  eventLogComponents_ =
      std::make_unique<EventLogComponents>(machine_.eventLogs(), machine_.messages());
  eventListModel_ =
      new QtEventListModel(images_, program_.EventSortColumn, eventLogState_.EventSortFlag, this);
  auto* list = new QTreeView;
  list->setObjectName("EventLog");
  list->setModel(eventListModel_);
  list->setRootIsDecorated(false);
  list->setItemsExpandable(false);
  list->setUniformRowHeights(true);
  list->setAllColumnsShowFocus(true);
  list->setSelectionBehavior(QAbstractItemView::SelectRows);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list->setIconSize(QSize(16, 16));
  QHeaderView* header = list->header();
  header->setSectionsMovable(true);
  header->setSectionsClickable(true);
  header->setStretchLastSection(false);
  header->setMinimumSectionSize(20);
  header->setSortIndicatorShown(false);
  for (int column = 0; column < EventColumnCount; ++column) {
    header->resizeSection(column, EventColumns[static_cast<std::size_t>(column)].width);
  }
  connect(header, &QHeaderView::sectionResized, this, [header](int column, int, int width) {
    const int limited = clampEventColumnWidth(column, width);
    if (limited != width) {
      header->resizeSection(column, limited);
    }
  });
  connect(header, &QHeaderView::sectionClicked, this, &TMainForm::EventLogColumnClick);
  connect(header, &QHeaderView::sectionMoved, this, [this] { EventLogColumnDragged(); });
  connect(list->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this](const QItemSelection& selected, const QItemSelection&) {
            EventLogSelectItem(!selected.isEmpty());
          });
  return list;
}

void TMainForm::ConnectEventLogCommands() {
  for (std::size_t i = 0; i < 4; ++i) {
    for (QObject* command :
         {static_cast<QObject*>(EventFilterButtons[i]), static_cast<QObject*>(EventFilterItems[i]),
          static_cast<QObject*>(ClearItems[i])}) {
      notYetAvailable_.erase(command);
    }
    EventFilterButtons[i]->setEnabled(true);
    EventFilterItems[i]->setEnabled(true);
    ClearItems[i]->setEnabled(true);
    connect(EventFilterButtons[i], &QRadioButton::toggled, this, [this](bool checked) {
      if (checked) {
        RadioButton2Click();
      }
    });
  }
  const char* const itemNames[4] = {"mApplication", "mSecurity", "mSystem", "mAllEvents"};
  void (TMainForm::*const itemHandlers[4])() = {
      &TMainForm::mApplicationClick, &TMainForm::mSecurityClick, &TMainForm::mSystemClick,
      &TMainForm::mAllEventsClick};
  const char* const clearNames[4] = {"Clear1", "Clear2", "Clear3", "ClearEventLogALL1"};
  void (TMainForm::*const clearHandlers[4])() = {&TMainForm::Clear1Click, &TMainForm::Clear2Click,
                                                 &TMainForm::Clear3Click,
                                                 &TMainForm::ClearEventLogALL1Click};
  for (std::size_t i = 0; i < 4; ++i) {
    EventFilterItems[i]->setObjectName(itemNames[i]);
    connect(EventFilterItems[i], &QAction::triggered, this, itemHandlers[i]);
    ClearItems[i]->setObjectName(clearNames[i]);
    connect(ClearItems[i], &QAction::triggered, this, clearHandlers[i]);
  }
}

EventFilter TMainForm::SelectedEventFilter() const {
  for (int i = 0; i < 4; ++i) {
    if (EventFilterButtons[static_cast<std::size_t>(i)]->isChecked()) {
      return static_cast<EventFilter>(i);
    }
  }
  return EventFilter::Application;
}

void TMainForm::ReactivateEventLogs() {
  corvane::ReactivateEventLogs(*eventLogComponents_, eventLogState_);
}

void TMainForm::FillEventList() {
  QCoreApplication::processEvents();
  EventLog->setUpdatesEnabled(false);
  EventFillHooks hooks;
  hooks.closing = [this] { return request_.Closing; };
  hooks.progress = [this](double percent) { DrawStatusProgress(percent); };
  eventListModel_->fill(*eventLogComponents_, SelectedEventFilter(), program_.FullRefresh,
                        eventLogState_, machine_.clock(), hooks);
  QCoreApplication::processEvents();
  EventLog->setUpdatesEnabled(true);
  ListCount2->setText(QString::number(eventListModel_->rowCount()));
  ListCount2->repaint();
}

void TMainForm::EventLogPageShown() {
  if (eventListModel_->rowCount() == 0 && eventLogState_.EventListNeverFilled &&
      program_.StartupSnapshotPath.empty()) {
    program_.FullRefresh = true;
    program_.RefreshAllViews = false;
    LaunchRequest(ReqRefreshAll);
  } else {
    EventLog->setFocus();
  }
}

void TMainForm::RefreshEventSelectionDetails() {
  if (eventListModel_->rowCount() == 0 || !eventLogState_.EventLogsOpen) {
    return;
  }
  if (!EventLog->selectionModel()->hasSelection()) {
    const QSignalBlocker quiet(EventLog->selectionModel());
    EventLog->setCurrentIndex(eventListModel_->index(0, 0));
  }
  EventLogSelectItem(true);
}

void TMainForm::EventLogSelectItem(bool selected) {
  if (request_.Busy) {
    return;
  }
  if (!selected) {
    Executable->clear();
    Tree->clear();
    return;
  }
  const QModelIndexList rows = EventLog->selectionModel()->selectedRows();
  if (rows.isEmpty()) {
    return;
  }
  const EventRow& row = eventListModel_->row(rows.first().row());
  Description->setPlainText(QString(EventDescriptionHeading) + "\n");
  try {
    const EventDetails details = describeEventRow(*eventLogComponents_, row, machine_.messages());
    Group->setText(QString::fromStdString(details.group));
    QStringList lines;
    for (const std::string& line : details.lines) {
      // A system message keeps the carriage return of its line break: the line ends there.
      lines << QString::fromStdString(line).remove('\r');
    }
    Description->setPlainText(lines.join('\n'));
    Description->moveCursor(QTextCursor::Start);
  } catch (const std::exception& failure) {
    dialogs_.messageBox(failure.what(), "Corvane", DialogIcon::Error, DialogButtons::Ok);
  }
  Executable->clear();
  Tree->clear();
}

void TMainForm::EventLogColumnClick(int column) {
  // A fill in progress (it lets messages run) keeps the rows where it found them.
  if (request_.Busy) {
    return;
  }
  eventListModel_->columnClick(column);
}

int TMainForm::EventLogCompare(int row1, int row2) const {
  return eventListModel_->list().compare(eventListModel_->row(row1), eventListModel_->row(row2));
}

void TMainForm::EventLogColumnDragged() {
  const QHeaderView* header = EventLog->header();
  for (int column = 0; column < EventColumnCount; ++column) {
    // Each column is recognised by its caption.
    const QString caption =
        eventListModel_->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    for (int field = 0; field < EventColumnCount; ++field) {
      if (caption == EventColumns[static_cast<std::size_t>(field)].caption) {
        eventLogState_.EventColumnPosition[static_cast<std::size_t>(field)] =
            header->visualIndex(column);
      }
    }
  }
}

void TMainForm::RadioButton2Click() {
  if (program_.SnapshotRequest) {
    return;
  }
  program_.FullRefresh = true;
  program_.RefreshAllViews = false;
  LaunchRequest(ReqRefresh);
}

void TMainForm::mApplicationClick() {
  PageControl->setCurrentIndex(2);
  PageControlChange();
  EventFilterButtons[0]->setChecked(true);
}

void TMainForm::mSecurityClick() {
  PageControl->setCurrentIndex(2);
  PageControlChange();
  EventFilterButtons[1]->setChecked(true);
}

void TMainForm::mSystemClick() {
  PageControl->setCurrentIndex(2);
  PageControlChange();
  EventFilterButtons[2]->setChecked(true);
}

void TMainForm::mAllEventsClick() {
  PageControl->setCurrentIndex(2);
  PageControlChange();
  EventFilterButtons[3]->setChecked(true);
}

void TMainForm::ClearEventLogCommand(EventFilter which) {
  const ClearQuestion& question = clearQuestion(which);
  if (dialogs_.messageBox(question.text, question.title, DialogIcon::Warning,
                          DialogButtons::OkCancel) != DialogResult::Ok) {
    return;
  }
  if (const std::optional<std::string> failure = ClearEventLogs(*eventLogComponents_, which)) {
    dialogs_.messageBox(ClearFailedLead + *failure, "error", DialogIcon::Error, DialogButtons::Ok);
  }
  EventFilterButtons[static_cast<std::size_t>(which)]->setChecked(true);
  program_.FullRefresh = true;
  program_.RefreshAllViews = false;
  LaunchRequest(ReqRefreshAll);
}

void TMainForm::Clear1Click() {
  ClearEventLogCommand(EventFilter::Application);
}

void TMainForm::Clear2Click() {
  ClearEventLogCommand(EventFilter::Security);
}

void TMainForm::Clear3Click() {
  ClearEventLogCommand(EventFilter::System);
}

void TMainForm::ClearEventLogALL1Click() {
  ClearEventLogCommand(EventFilter::All);
}

}  // namespace corvane
