// Corvane's main window (TMainForm): tool bar, menus, the three pages with their filter strips and
// cover panels, the details area and the status bar with its progress bar and clock. It submits
// requests through the launcher and is the view the launcher and the completion routine drive.
#pragma once

#include <QAction>
#include <QActionGroup>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QRadioButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>
#include <array>
#include <optional>
#include <set>
#include <string>

#include "corvane/catalogue/dependency_tree.h"
#include "corvane/catalogue/service_list.h"
#include "corvane/engine/main_window_view.h"
#include "corvane/engine/request_launcher.h"
#include "corvane/eventlog/event_log_components.h"
#include "corvane/engine/service_commands.h"
#include "corvane/shell/QtImages.h"
#include "corvane/shell/QtStatusBar.h"
#include "corvane/shell/QtWorkerHost.h"
#include "corvane/shell/startup.h"
#include "platform/clock.h"

namespace platform {
class Platform;
}

namespace corvane {

class QtEventListModel;
class QtServiceListModel;
class TConsole;
class TFormEdit;
class TServEdit;
class TSettings;
class TRecForm;
struct ProgramState;
struct RequestState;

class TMainForm : public QMainWindow, public MainWindowView {
  Q_OBJECT

 public:
  // Creates the window hidden, its page control disabled, all service commands disabled and
  // both filter strips hidden.
  TMainForm(platform::Platform& machine, Dialogs& dialogs, ProgramState& program,
            RequestState& request);
  ~TMainForm() override;

  // FormCreate's start-up steps (InstallDir, command line, system check, tables), then the
  // window's own: the first status-bar panel. Terminate: the window is never shown.
  StartupOutcome FormCreate(const StartupEnvironment& environment);

  // The console is created after the main window.
  void SetConsole(TConsole* console);
  TConsole* Console() const { return console_; }

  // The hh:mm:ss.t text of the clock.
  static QString ClockText(const platform::LocalTime& time);

  // The auto-refresh timer Timer: `intervalSeconds` × 1000 ms, running when `enabled`.
  void SetAutoRefresh(bool enabled, int intervalSeconds);

  // Submits a request through the launcher; false when it was dropped.
  bool LaunchRequest(std::int32_t code);

  // Routines every view shares.
  void RefreshSelectionDetails();
  void DrawStatusProgress(double percent);
  void ShowErrorBox(const std::string& text, int terminate);
  void ShowServiceDetails(std::ptrdiff_t index);
  std::optional<std::string> SelectedServiceName() const;
  QtServiceListModel& ServListModel() { return *servListModel_; }
  QtImageList& Images() { return images_; }

  // Event handlers, named after their control and event.
  void TenthSecTickTimer();
  void TimerTimer();
  void ConsoleToggleClick();
  void ShowConsole1Click();
  void mRefreshClick();
  void RefreshClick();
  void mExitClick();
  void RadioButton1Click();
  void mServicesClick();
  void mFilesystemdriversClick();
  void mKerneldriversClick();
  void mAllClick();
  void ServListColumnClick(int column);
  void ServListColumnDragged();
  void ServListSelectItem();
  void ServListDblClick();
  void ServListKeyPress(int key);
  void ServListMouseDown(Qt::MouseButton button, const QPoint& globalPosition);
  void DescriptionMouseUp(Qt::MouseButton button, const QPoint& globalPosition);
  void emCopyClick();

  // --- Snapshots (corvane/snapshot/Form_main_snapshot.cpp) ---
  // The snapshot window is created after the console; its commands work from then on.
  void SetRecForm(TRecForm* form);
  TRecForm* RecForm() const { return recForm_; }
  void mTakeClick();
  void mLoadClick();
  void ShowSnapShor1Click();

  // --- Event-log page (corvane/eventlog/Form_main_eventlog.cpp) ---
  // The event-log reactivation the worker has run on the user-interface thread.
  void ReactivateEventLogs();
  void EventLogSelectItem(bool selected);
  void EventLogColumnClick(int column);
  // The comparison of two rows of the list by EventSortColumn: negative when `row1` goes first.
  int EventLogCompare(int row1, int row2) const;
  void EventLogColumnDragged();
  // Any of the four filter buttons has been checked.
  void RadioButton2Click();
  void mApplicationClick();
  void mSecurityClick();
  void mSystemClick();
  void mAllEventsClick();
  void Clear1Click();
  void Clear2Click();
  void Clear3Click();
  void ClearEventLogALL1Click();
  // The filter whose button is checked.
  EventFilter SelectedEventFilter() const;
  QtEventListModel& EventListModel() { return *eventListModel_; }
  EventLogState& EventLogs() { return eventLogState_; }
  EventLogComponents& EventLogComponentSet() { return *eventLogComponents_; }

  // --- Help (corvane/shell/Form_main_help.cpp) ---
  // Starts a Lorvin on a page of the help folder ("mainwindow.html#Group_panel"); the console's
  // and the snapshot window's F1 call it too.
  void OpenHelpPage(const std::string& page);
  void mHelpContextClick();
  void ContextHelp1Click();
  void IconsLegend1Click();
  void mAboutClick();

  // --- Service commands (corvane/engine/Form_main_commands.cpp) ---
  // Enables the service commands that suit `record` (tool buttons, speed buttons and pop-up
  // items) and shows its start type down; ShowServiceDetails calls it for the shown service.
  void EnableServiceCommands(const ServiceRecord& record);
  void ToolButton1Click();  // Start
  void ToolButton2Click();  // Restart
  void ToolButton3Click();  // Pause or resume
  void ToolButton4Click();  // Stop
  void SpeedButton1Click();  // Boot
  void SpeedButton2Click();  // System
  void SpeedButton3Click();  // Automatic
  void SpeedButton4Click();  // Manual
  void SpeedButton5Click();  // Disabled
  void SpeedButton6Click();  // "man && stop"
  void SpeedButton7Click();  // "auto && start"
  void UnInstall1Click();
  void SaveRegEntry1Click();

  // --- Settings (corvane/shell/Form_main_settings.cpp) ---
  // The settings dialog, created after the console; its ReadSettings runs at the first showing.
  TSettings* SettingsDialog = nullptr;
  // "&Settings" (Ctrl+P): the settings dialog, modal.
  void SpeedButton8Click();
  // Into the settings: the main window's bounds (its stored normal bounds stay while it is
  // maximised), state and details area, and the console's bounds.
  void StoreWindowSettings();
  // Into the settings: the column widths and positions of the lists, the page, the checked
  // filters and whether the console is visible.
  void StoreViewSettings(bool consoleVisible);
  // From the settings: the lists' column widths (within each column's limits) and order.
  void ApplyColumnSettings();
  // From the settings: the snapshot window's bounds.
  void ApplySnapshotWindowSettings();
  // From the settings: the page, and the filter buttons (with CustomPanel) and menu marks.
  void ApplyPageSettings();
  // From the settings: the main window's normal bounds, its details area and its state.
  void ApplyWindowSettings();
  // The close: settings.ini deleted after "&Defaults", else the close's keys written.
  void WriteSettingsAtClose(bool consoleWasVisible);

  // --- Details area, groups tree and dependency tree (corvane/catalogue/Form_main_groups.cpp) ---
  void FillGroupsTree();
  void BuildDependenciesTree(std::size_t record);
  void BuildDependentsTree(std::size_t record);
  // Selects the service-list row, centres it and switches to the " Service List " page.
  void RevealInServiceList(int row);
  void GroupsChange();
  // In the tree's coordinates; true when the press needs no further handling by the tree.
  bool GroupsMouseDown(Qt::MouseButton button, const QPoint& position);
  void GroupsMouseUp(Qt::MouseButton button, const QPoint& position);
  void GroupsDblClick();
  void TreeDblClick();
  void SpeedDependenciesClick();
  void SpeedDependentsClick();
  void ExpandAll1Click();
  void CollapseAllClick();
  // The tree last pressed with the mouse: what "&Expand All" and "&Collapse All" act on.
  QTreeWidget* LastClickedTree = nullptr;

  // MainWindowView.
  void SetEnabled(MainControl control, bool enabled) override;
  void SetVisible(MainControl control, bool visible) override;
  void SetChecked(MainControl control, bool checked) override;
  bool IsChecked(MainControl control) override;
  void Repaint(MainControl control) override;
  void ProcessMessages() override;
  MainPage ActivePage() override;
  void ShowServicesPage() override;
  void SetStatusText(int panel, const std::string& text) override;
  bool AutoRefreshEventLog() override;
  void FillViews() override;
  void FillEventList() override;
  void LoadSnapshotWindowFile() override;
  void FillSnapshotFromCatalogue() override;
  void ShowSnapshotWindow() override;
  void SetConsoleButtonCaption(const std::string& caption) override;
  void PageControlChange() override;

  // The service filter whose button is checked.
  ServFilter SelectedServFilter() const;
  // The displayed position of each of the seven columns, by design order.
  const std::array<int, ServColumnCount>& ServColumnPositions() const {
    return servColumnPositions_;
  }

  // Controls, named as the window names them.
  QToolBar* ToolBar = nullptr;
  QToolButton* Refresh = nullptr;
  QToolButton* ConsoleToggle = nullptr;
  std::array<QToolButton*, 4> ToolButtons{};   // ToolButton1 to ToolButton4
  std::array<QToolButton*, 7> SpeedButtons{};  // SpeedButton1 to SpeedButton7
  QTabWidget* PageControl = nullptr;
  QWidget* TabServices = nullptr;
  QWidget* TabGroups = nullptr;
  QWidget* TabEventLog = nullptr;
  QTreeView* ServList = nullptr;
  QLabel* RefreshMsg = nullptr;
  QWidget* PanelGroups = nullptr;
  QLabel* PanelLabelGroups = nullptr;
  QTreeWidget* Groups = nullptr;
  QLabel* RefreshMsg2 = nullptr;
  QTreeView* EventLog = nullptr;
  QLabel* RefreshMsg3 = nullptr;
  QWidget* Panel = nullptr;
  QLabel* ListCount = nullptr;
  QLabel* ServNo = nullptr;
  std::array<QRadioButton*, 4> ServFilterButtons{};  // RadioButton1 to RadioButton4
  QWidget* EventPanel = nullptr;
  QLabel* ListCount2 = nullptr;
  std::array<QRadioButton*, 4> EventFilterButtons{};  // RadioButton5 to RadioButton8
  QSplitter* Splitter1 = nullptr;
  QWidget* Panel4 = nullptr;
  QSplitter* Splitter2 = nullptr;
  QTextEdit* Description = nullptr;
  QWidget* Panel2 = nullptr;
  QLineEdit* Group = nullptr;
  QToolButton* SpeedDependencies = nullptr;
  QToolButton* SpeedDependents = nullptr;
  QTreeWidget* Tree = nullptr;
  QLabel* RefreshMsg4 = nullptr;
  QLineEdit* Executable = nullptr;
  QtStatusBar* StatusBar = nullptr;
  QTimer* Timer = nullptr;
  QTimer* TenthSecTick = nullptr;

  QMenu* FileMenu = nullptr;
  QAction* mTake = nullptr;
  QAction* mLoad = nullptr;
  QAction* mSettings = nullptr;
  QAction* mExit = nullptr;
  QMenu* ViewMenu = nullptr;
  QMenu* ServicesPanelMenu = nullptr;
  std::array<QAction*, 4> ServFilterItems{};  // mServices, mFilesystemdrivers, mKerneldrivers, mAll
  QMenu* EventLogPanelMenu = nullptr;
  std::array<QAction*, 4> EventFilterItems{};  // mApplication, mSecurity, mSystem, mAllEvents
  QAction* mRefresh = nullptr;
  QAction* ShowConsole1 = nullptr;
  QAction* ShowSnapShor1 = nullptr;
  QMenu* EventLogMenu = nullptr;
  std::array<QAction*, 4> ClearItems{};  // Clear1, Clear2, Clear3, ClearEventLogALL1
  QMenu* HelpMenu = nullptr;
  QAction* mHelpContext = nullptr;
  QAction* ContextHelp1 = nullptr;
  QAction* IconsLegend1 = nullptr;
  QAction* mAbout = nullptr;

  QMenu* PopupMenu = nullptr;
  std::array<QAction*, 18> PopupItems{};
  QMenu* SsPopup = nullptr;
  QMenu* EditMenu = nullptr;
  QAction* emCut = nullptr;
  QAction* emCopy = nullptr;
  QAction* emPaste = nullptr;
  QAction* emDelete = nullptr;
  QAction* emEdit = nullptr;

  // --- Service editors (corvane/editors/Form_main_editors.cpp) ---
  // Creates the properties dialog and the description editor, the last windows of the start-up,
  // and brings in the commands that open them and the editor's cut and paste.
  void CreateEditors();
  void PropertiesClick();
  void emEditClick();
  void emCutClick();
  void emPasteClick();
  TServEdit* ServEdit = nullptr;
  TFormEdit* FormEdit = nullptr;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildToolBar();
  void buildPages();
  void buildFilterStrips();
  void buildDetailArea();
  void buildMenus();
  void buildContextMenus();
  QObject* control(MainControl which) const;
  // Commands whose windows and routines are not part of the program yet stay disabled.
  void setCommandEnabled(QObject* command, bool enabled);
  void FormShow();
  bool FormCloseQuery();
  void ShowDetailsOfSelectedRow();
  // Event-log page (corvane/eventlog/Form_main_eventlog.cpp): the list and its model, the
  // commands' connections, the page's branch of the page change and of the selection details.
  QTreeView* BuildEventLog();
  void ConnectEventLogCommands();
  void EventLogPageShown();
  void RefreshEventSelectionDetails();
  void ClearEventLogCommand(EventFilter which);
  // Service commands (corvane/engine/Form_main_commands.cpp): connects the buttons and pop-up
  // items to their handlers.
  void ConnectServiceCommands();
  std::optional<SelectedService> CommandTarget();
  // Details area, groups tree and dependency tree (corvane/catalogue/Form_main_groups.cpp).
  void ConnectGroupsAndTrees();
  // The group branch of RefreshSelectionDetails.
  void RefreshGroupsSelectionDetails();
  void FillDependencyTree(std::size_t record, DependencyKind kind);
  void ShowDetailsInPaneMode();
  void ShowGroupNode(QTreeWidgetItem& node, const char* explanation);
  void DisableServiceCommands();
  // Help (corvane/shell/Form_main_help.cpp): connects the help menu to its handlers.
  void ConnectHelpCommands();

  platform::Platform& machine_;
  Dialogs& dialogs_;
  ProgramState& program_;
  RequestState& request_;
  QtImageList images_;
  QtServiceListModel* servListModel_;
  std::array<int, ServColumnCount> servColumnPositions_{0, 1, 2, 3, 4, 5, 6};
  std::set<QObject*> notYetAvailable_;
  TConsole* console_ = nullptr;
  TRecForm* recForm_ = nullptr;
  bool shownOnce_ = false;
  QtUiThread ui_;
  QtWorkerHost host_;
  RequestLauncher launcher_;
  // Event-log page: ELapp, ELsec, ELsys, the page's program-wide state and the list's model.
  std::unique_ptr<EventLogComponents> eventLogComponents_;
  EventLogState eventLogState_;
  QtEventListModel* eventListModel_ = nullptr;
  std::optional<ServiceCommands> commands_;  // service commands
};

}  // namespace corvane
