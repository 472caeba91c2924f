#include "corvane/shell/Form_main.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTabBar>
#include <QTextBlock>
#include <QVBoxLayout>

#include "corvane/catalogue/Qt_service_list_model.h"
#include "corvane/editors/Form_edit.h"
#include "corvane/eventlog/Qt_event_list_model.h"
#include "corvane/engine/request_state.h"
#include "corvane/shell/Form_console.h"
#include "corvane/shell/Form_settings.h"
#include "corvane/shell/help_launch.h"
#include "corvane/shell/program_state.h"
#include "corvane/snapshot/Form_script.h"
#include "platform/platform.h"

namespace corvane {

namespace {

const char* const PleaseWait = "Please wait. Retrieving data...";

const char* const RefreshHint =
    "Perform a quick refresh. (lists are not cleared, instead the \nprogram checks for new items "
    "and modified ones)\nNote: If 'AutoRefresh EventLog' option is not checked\nEventLog page is "
    "not refreshed unless is active.";
const char* const DependenciesHint =
    "Dependency on a service means that this service\ncan only run if the service it depends on "
    "is\nrunning. Dependency on a group means that this\nservice can run if at least one member "
    "of the\ngroup is running after an attempt to start all\nmembers of the group.";
const char* const DependentsHint =
    "Dependent services are other services that need\nthis service running in order for them to "
    "run.";

void boldCaption(QWidget* widget) {
  QFont font = widget->font();
  font.setBold(true);
  widget->setFont(font);
}

void colourPane(QWidget* widget, const QColor& text, const QColor& background) {
  QPalette palette = widget->palette();
  for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    palette.setColor(group, QPalette::Base, background);
    palette.setColor(group, QPalette::Window, background);
    palette.setColor(group, QPalette::Text, text);
    palette.setColor(group, QPalette::WindowText, text);
  }
  // The selection stays as visible without the focus as with it.
  palette.setColor(QPalette::Inactive, QPalette::Highlight,
                   palette.color(QPalette::Active, QPalette::Highlight));
  palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                   palette.color(QPalette::Active, QPalette::HighlightedText));
  widget->setPalette(palette);
  widget->setAutoFillBackground(true);
}

QLabel* coverPanel(QWidget* parent, const char* name) {
  auto* panel = new QLabel(PleaseWait, parent);
  panel->setObjectName(name);
  panel->setAlignment(Qt::AlignCenter);
  panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  boldCaption(panel);
  colourPane(panel, Qt::white, Qt::black);
  panel->hide();
  return panel;
}

QToolButton* toolButton(QToolBar* bar, const QString& name, const QString& hint) {
  auto* button = new QToolButton(bar);
  button->setObjectName(name);
  button->setToolTip(hint);
  button->setAutoRaise(true);
  bar->addWidget(button);
  return button;
}

// The file an icon is read from: without the quotes that may enclose a path with blanks.
std::string unquoted(const std::string& file) {
  std::string path = file;
  if (!path.empty() && path.front() == '"') {
    path.erase(0, 1);
  }
  if (!path.empty() && path.back() == '"') {
    path.pop_back();
  }
  return path;
}

}  // namespace

TMainForm::TMainForm(platform::Platform& machine, Dialogs& dialogs, ProgramState& program,
                     RequestState& request)
    : machine_(machine),
      dialogs_(dialogs),
      program_(program),
      request_(request),
      host_(*this, machine, dialogs, program, request),
      launcher_(*this, dialogs,
                WorkerContext{machine.scm(), machine.clock(), machine.messages(), host_, ui_,
                              program, request, machine.processes()}) {
  setObjectName("MainForm");
  setWindowTitle("Corvane");
  resize(898, 698);
  setMinimumSize(800, 550);
  setFont(QFont("Tahoma", 8));

  servListModel_ = new QtServiceListModel(images_, program_.ServSortColumn, this);
  buildToolBar();
  buildPages();
  buildFilterStrips();
  buildDetailArea();
  buildMenus();
  buildContextMenus();
  ConnectEventLogCommands();
  ConnectServiceCommands();
  ConnectGroupsAndTrees();

  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  Splitter1 = new QSplitter(Qt::Vertical, central);
  Splitter1->setObjectName("Splitter1");
  Splitter1->setChildrenCollapsible(false);
  Splitter1->addWidget(PageControl);
  Splitter1->addWidget(Panel4);
  Splitter1->setStretchFactor(0, 1);
  Splitter1->setStretchFactor(1, 0);
  Splitter1->setSizes({698 - 160, 160});
  PageControl->setMinimumHeight(150);
  Panel4->setMinimumHeight(150);
  layout->addWidget(Splitter1, 1);
  StatusBar = new QtStatusBar(central);
  StatusBar->setObjectName("StatusBar");
  layout->addWidget(StatusBar);
  setCentralWidget(central);
  StatusBar->setPanelText(0, QString::fromStdString(program_.OsVersionText));

  Timer = new QTimer(this);
  Timer->setObjectName("Timer");
  connect(Timer, &QTimer::timeout, this, &TMainForm::TimerTimer);
  SetAutoRefresh(false, 30);
  TenthSecTick = new QTimer(this);
  TenthSecTick->setObjectName("TenthSecTick");
  TenthSecTick->setInterval(100);
  connect(TenthSecTick, &QTimer::timeout, this, &TMainForm::TenthSecTickTimer);
  TenthSecTick->start();

  program_.FullRefresh = true;
  program_.RefreshAllViews = true;
  program_.SnapshotRequest = false;
  program_.ServSortColumn = 0;
  program_.EventSortColumn = 1;
  request_.Busy = true;

  PageControl->setEnabled(false);
  for (QToolButton* button : ToolButtons) {
    button->setEnabled(false);
  }
  for (QToolButton* button : SpeedButtons) {
    button->setEnabled(false);
  }
}

TMainForm::~TMainForm() {
  // A worker stopped from inside one of its own hand-overs leaves only now.
  launcher_.WaitForStoppedWorker();
  // The list's pictures are members: the view lets go of them before they go.
  hide();
  ServList->setModel(nullptr);
  EventLog->setModel(nullptr);
}

StartupOutcome TMainForm::FormCreate(const StartupEnvironment& environment) {
  const StartupOutcome outcome = MainFormCreate(program_, environment);
  StatusBar->setPanelText(0, QString::fromStdString(program_.OsVersionText));
  return outcome;
}

void TMainForm::SetConsole(TConsole* console) {
  console_ = console;
  host_.SetConsole(console);
  if (console_ == nullptr) {
    return;
  }
  console_->SetConsoleFont(ServList->font());
  console_->onVisibility = [this](bool visible) { ConsoleToggle->setChecked(visible); };
  console_->onDisplayMouseUp = [this](const QPoint& position) {
    emEdit->setVisible(false);
    emCut->setVisible(false);
    emPaste->setVisible(false);
    EditMenu->popup(position);
  };
  console_->onClose = [this] {
    raise();
    activateWindow();
  };
  console_->onHelp = [this](const std::string& page) { OpenHelpPage(page); };
}

void TMainForm::buildToolBar() {
  ToolBar = new QToolBar(this);
  ToolBar->setObjectName("ToolBar");
  ToolBar->setMovable(false);
  ToolBar->setFloatable(false);
  ToolBar->setFixedHeight(27);
  ToolBar->setIconSize(QSize(16, 16));
  ToolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  addToolBar(Qt::TopToolBarArea, ToolBar);

  Refresh = toolButton(ToolBar, "Refresh", RefreshHint);
  Refresh->setText("Refresh");
  boldCaption(Refresh);
  connect(Refresh, &QToolButton::clicked, this, &TMainForm::RefreshClick);
  ToolBar->addSeparator();
  ConsoleToggle = toolButton(ToolBar, "ConsoleToggle", "Show/Hide Console");
  ConsoleToggle->setText("Console");
  ConsoleToggle->setCheckable(true);
  boldCaption(ConsoleToggle);
  connect(ConsoleToggle, &QToolButton::clicked, this, &TMainForm::ConsoleToggleClick);
  ToolBar->addSeparator();

  const char* const hints[4] = {"Start service", "Restart service", "Pause service",
                                "Stop service"};
  const int pictures[4] = {image::ToolStart, image::ToolRestart, image::ToolPause, image::ToolStop};
  for (int i = 0; i < 4; ++i) {
    QToolButton* button = toolButton(ToolBar, QString("ToolButton%1").arg(i + 1), hints[i]);
    QIcon icon;
    icon.addPixmap(images_.icon(pictures[i]).pixmap(16), QIcon::Normal);
    icon.addPixmap(images_.icon(pictures[i] + 1).pixmap(16), QIcon::Disabled);
    button->setIcon(icon);
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    ToolButtons[static_cast<std::size_t>(i)] = button;
    notYetAvailable_.insert(button);
    ToolBar->addSeparator();
  }

  const char* const captions[7] = {"Boot",     "System",      "Automatic",    "Manual",
                                   "Disabled", "man && stop", "auto && start"};
  for (int i = 0; i < 7; ++i) {
    const QString hint = i < 5 ? QString("Set service start type")
                         : i == 5
                             ? QString("Set service to 'manual' starttype and then stop it")
                             : QString("Set service to 'automatic' starttype and then start it");
    QToolButton* button = toolButton(ToolBar, QString("SpeedButton%1").arg(i + 1), hint);
    button->setText(captions[i]);
    // The five start types are one group that may be all up.
    button->setCheckable(i < 5);
    SpeedButtons[static_cast<std::size_t>(i)] = button;
    notYetAvailable_.insert(button);
    if (i == 4) {
      ToolBar->addSeparator();
    }
  }
}

void TMainForm::buildPages() {
  PageControl = new QTabWidget(this);
  PageControl->setObjectName("PageControl");
  PageControl->tabBar()->setStyleSheet("QTabBar::tab { width: 110px; }");
  PageControl->tabBar()->installEventFilter(this);

  const auto page = [this](const char* name, QWidget* content, QLabel*& cover,
                           const char* coverName) {
    auto* tab = new QWidget(PageControl);
    tab->setObjectName(name);
    auto* grid = new QGridLayout(tab);
    grid->setContentsMargins(0, 0, 0, 0);
    content->setParent(tab);
    grid->addWidget(content, 0, 0);
    cover = coverPanel(tab, coverName);
    grid->addWidget(cover, 0, 0);
    return tab;
  };

  ServList = new QTreeView;
  ServList->setObjectName("ServList");
  ServList->setModel(servListModel_);
  ServList->setRootIsDecorated(false);
  ServList->setItemsExpandable(false);
  ServList->setUniformRowHeights(true);
  ServList->setAllColumnsShowFocus(true);
  ServList->setSelectionBehavior(QAbstractItemView::SelectRows);
  ServList->setSelectionMode(QAbstractItemView::SingleSelection);
  ServList->setEditTriggers(QAbstractItemView::NoEditTriggers);
  ServList->setContextMenuPolicy(Qt::NoContextMenu);
  ServList->setIconSize(QSize(16, 16));
  colourPane(ServList, Qt::white, Qt::black);
  QHeaderView* header = ServList->header();
  header->setSectionsMovable(true);
  header->setSectionsClickable(true);
  header->setStretchLastSection(false);
  header->setMinimumSectionSize(30);
  header->setSortIndicatorShown(true);
  header->setSortIndicator(0, Qt::AscendingOrder);
  for (int column = 0; column < ServColumnCount; ++column) {
    header->resizeSection(column, ServColumns[static_cast<std::size_t>(column)].width);
  }
  connect(header, &QHeaderView::sectionResized, this, [header](int column, int, int width) {
    const int limited = clampServColumnWidth(column, width);
    if (limited != width) {
      header->resizeSection(column, limited);
    }
  });
  connect(header, &QHeaderView::sectionClicked, this, &TMainForm::ServListColumnClick);
  connect(header, &QHeaderView::sectionMoved, this, [this] { ServListColumnDragged(); });
  connect(ServList->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this] { ServListSelectItem(); });
  connect(ServList, &QTreeView::doubleClicked, this, [this] { ServListDblClick(); });
  ServList->installEventFilter(this);
  ServList->viewport()->installEventFilter(this);
  TabServices = page("TabServices", ServList, RefreshMsg, "RefreshMsg");

  PanelGroups = new QWidget;
  PanelGroups->setObjectName("PanelGroups");
  auto* groupsLayout = new QVBoxLayout(PanelGroups);
  groupsLayout->setContentsMargins(0, 0, 0, 0);
  groupsLayout->setSpacing(0);
  PanelLabelGroups = new QLabel("Load Ordering Groups", PanelGroups);
  PanelLabelGroups->setObjectName("PanelLabelGroups");
  PanelLabelGroups->setAlignment(Qt::AlignCenter);
  PanelLabelGroups->setFrameStyle(QFrame::Panel | QFrame::Raised);
  boldCaption(PanelLabelGroups);
  groupsLayout->addWidget(PanelLabelGroups);
  Groups = new QTreeWidget(PanelGroups);
  Groups->setObjectName("Groups");
  Groups->setHeaderHidden(true);
  Groups->setUniformRowHeights(true);
  colourPane(Groups, Qt::white, Qt::black);
  groupsLayout->addWidget(Groups, 1);
  TabGroups = page("TabGroups", PanelGroups, RefreshMsg2, "RefreshMsg2");

  EventLog = BuildEventLog();
  colourPane(EventLog, Qt::white, Qt::black);
  TabEventLog = page("TabEventLog", EventLog, RefreshMsg3, "RefreshMsg3");

  PageControl->addTab(TabServices, " Service List ");
  PageControl->addTab(TabGroups, " Service Groups ");
  PageControl->addTab(TabEventLog, " Event Log ");
  connect(PageControl, &QTabWidget::currentChanged, this, [this] { PageControlChange(); });
}

void TMainForm::buildFilterStrips() {
  auto* strips = new QWidget(PageControl);
  auto* stripsLayout = new QHBoxLayout(strips);
  stripsLayout->setContentsMargins(0, 0, 2, 0);

  Panel = new QWidget(strips);
  Panel->setObjectName("Panel");
  auto* servicesLayout = new QHBoxLayout(Panel);
  servicesLayout->setContentsMargins(4, 0, 4, 0);
  ListCount = new QLabel("0", Panel);
  ListCount->setObjectName("ListCount");
  ListCount->setToolTip("Currently listed services");
  ServNo = new QLabel("0", Panel);
  ServNo->setObjectName("ServNo");
  ServNo->setToolTip("All services installed on this computer");
  servicesLayout->addWidget(ListCount);
  servicesLayout->addWidget(new QLabel("/", Panel));
  servicesLayout->addWidget(ServNo);
  servicesLayout->addSpacing(8);
  const char* const servCaptions[4] = {"Services", "File system drivers", "Kernel drivers", "All"};
  const char* const servHints[4] = {"Show services", "Show file system drivers",
                                    "Show kernel mode drivers",
                                    "No filtering (all services and drivers listed)"};
  for (int i = 0; i < 4; ++i) {
    auto* button = new QRadioButton(servCaptions[i], Panel);
    button->setObjectName(QString("RadioButton%1").arg(i + 1));
    button->setToolTip(servHints[i]);
    connect(button, &QRadioButton::toggled, this, [this](bool on) {
      if (on) {
        RadioButton1Click();
      }
    });
    servicesLayout->addWidget(button);
    ServFilterButtons[static_cast<std::size_t>(i)] = button;
  }
  {
    const QSignalBlocker quiet(ServFilterButtons[0]);
    ServFilterButtons[0]->setChecked(true);
  }

  EventPanel = new QWidget(strips);
  EventPanel->setObjectName("EventPanel");
  auto* eventLayout = new QHBoxLayout(EventPanel);
  eventLayout->setContentsMargins(4, 0, 4, 0);
  eventLayout->addWidget(new QLabel("Events:", EventPanel));
  ListCount2 = new QLabel("--", EventPanel);
  ListCount2->setObjectName("ListCount2");
  eventLayout->addWidget(ListCount2);
  eventLayout->addSpacing(8);
  const char* const eventCaptions[4] = {"Application", "Security", "System", "All"};
  for (int i = 0; i < 4; ++i) {
    auto* button = new QRadioButton(eventCaptions[i], EventPanel);
    button->setObjectName(QString("RadioButton%1").arg(i + 5));
    eventLayout->addWidget(button);
    EventFilterButtons[static_cast<std::size_t>(i)] = button;
    notYetAvailable_.insert(button);
    button->setEnabled(false);
  }
  EventFilterButtons[0]->setChecked(true);

  for (QWidget* strip : {Panel, EventPanel}) {
    colourPane(strip, Qt::black, palette().color(QPalette::Button));
    stripsLayout->addWidget(strip);
    strip->hide();
  }
  PageControl->setCornerWidget(strips, Qt::TopRightCorner);
}

void TMainForm::buildDetailArea() {
  Panel4 = new QWidget(this);
  Panel4->setObjectName("Panel4");
  auto* layout = new QVBoxLayout(Panel4);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  Splitter2 = new QSplitter(Qt::Horizontal, Panel4);
  Splitter2->setObjectName("Splitter2");
  Splitter2->setChildrenCollapsible(false);
  Description = new QTextEdit(Splitter2);
  Description->setObjectName("Description");
  Description->setReadOnly(true);
  Description->setUndoRedoEnabled(false);
  Description->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  Description->setContextMenuPolicy(Qt::NoContextMenu);
  Description->setMinimumWidth(280);
  colourPane(Description, QColor(0, 255, 0), Qt::black);
  Description->viewport()->installEventFilter(this);

  Panel2 = new QWidget(Splitter2);
  Panel2->setObjectName("Panel2");
  Panel2->setMinimumWidth(280);
  auto* right = new QVBoxLayout(Panel2);
  right->setContentsMargins(0, 0, 0, 0);
  right->setSpacing(0);
  Group = new QLineEdit(Panel2);
  Group->setObjectName("Group");
  Group->setReadOnly(true);
  colourPane(Group, Qt::white, Qt::black);
  right->addWidget(Group);
  auto* buttons = new QHBoxLayout;
  buttons->setSpacing(0);
  SpeedDependencies = new QToolButton(Panel2);
  SpeedDependencies->setObjectName("SpeedDependencies");
  SpeedDependencies->setText("Dependencies");
  SpeedDependencies->setToolTip(DependenciesHint);
  SpeedDependents = new QToolButton(Panel2);
  SpeedDependents->setObjectName("SpeedDependents");
  SpeedDependents->setText("Dependents");
  SpeedDependents->setToolTip(DependentsHint);
  for (QToolButton* button : {SpeedDependencies, SpeedDependents}) {
    boldCaption(button);
    button->setCheckable(true);
    button->setAutoExclusive(true);
    button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    buttons->addWidget(button);
    notYetAvailable_.insert(button);
    button->setEnabled(false);
  }
  SpeedDependencies->setChecked(true);
  right->addLayout(buttons);
  auto* treeArea = new QWidget(Panel2);
  auto* treeGrid = new QGridLayout(treeArea);
  treeGrid->setContentsMargins(0, 0, 0, 0);
  Tree = new QTreeWidget(treeArea);
  Tree->setObjectName("Tree");
  Tree->setHeaderHidden(true);
  colourPane(Tree, Qt::yellow, Qt::black);
  treeGrid->addWidget(Tree, 0, 0);
  RefreshMsg4 = coverPanel(treeArea, "RefreshMsg4");
  treeGrid->addWidget(RefreshMsg4, 0, 0);
  right->addWidget(treeArea, 1);
  Splitter2->addWidget(Description);
  Splitter2->addWidget(Panel2);
  Splitter2->setStretchFactor(0, 1);
  Splitter2->setStretchFactor(1, 0);
  Splitter2->setSizes({898 - 382, 382});
  layout->addWidget(Splitter2, 1);

  Executable = new QLineEdit(Panel4);
  Executable->setObjectName("Executable");
  Executable->setReadOnly(true);
  Executable->setFixedHeight(22);
  colourPane(Executable, QColor(0, 255, 255), Qt::black);
  layout->addWidget(Executable);
}

void TMainForm::buildMenus() {
  FileMenu = menuBar()->addMenu(" &File ");
  mTake = FileMenu->addAction("&Take SnapShot");
  mTake->setShortcut(QKeySequence("Ctrl+T"));
  mLoad = FileMenu->addAction("&Load SnapShot");
  mLoad->setShortcut(QKeySequence("Ctrl+L"));
  mSettings = FileMenu->addAction("&Settings");
  mSettings->setShortcut(QKeySequence("Ctrl+P"));
  connect(mSettings, &QAction::triggered, this, &TMainForm::SpeedButton8Click);
  FileMenu->addSeparator();
  mExit = FileMenu->addAction("E&xit");
  mExit->setShortcut(QKeySequence("Alt+F4"));
  connect(mExit, &QAction::triggered, this, &TMainForm::mExitClick);

  ViewMenu = menuBar()->addMenu(" &View ");
  ServicesPanelMenu = ViewMenu->addMenu("&Services Panel");
  auto* servGroup = new QActionGroup(this);
  const char* const servItems[4] = {"&Services", "&File system drivers", "&Kernel drivers",
                                    "&All services"};
  const char* const servNames[4] = {"mServices", "mFilesystemdrivers", "mKerneldrivers", "mAll"};
  void (TMainForm::*const servHandlers[4])() = {
      &TMainForm::mServicesClick, &TMainForm::mFilesystemdriversClick,
      &TMainForm::mKerneldriversClick, &TMainForm::mAllClick};
  for (int i = 0; i < 4; ++i) {
    QAction* item = ServicesPanelMenu->addAction(servItems[i]);
    item->setObjectName(servNames[i]);
    item->setShortcut(QKeySequence(QString("Ctrl+%1").arg(i + 1)));
    item->setCheckable(true);
    servGroup->addAction(item);
    connect(item, &QAction::triggered, this, servHandlers[i]);
    ServFilterItems[static_cast<std::size_t>(i)] = item;
  }
  ServFilterItems[0]->setChecked(true);

  EventLogPanelMenu = ViewMenu->addMenu("&Event Log Panel");
  auto* eventGroup = new QActionGroup(this);
  const char* const eventItems[4] = {"A&pplication", "S&ecurity", "S&ystem", "A&ll events"};
  for (int i = 0; i < 4; ++i) {
    QAction* item = EventLogPanelMenu->addAction(eventItems[i]);
    item->setShortcut(QKeySequence(QString("Ctrl+%1").arg(i + 5)));
    item->setCheckable(true);
    eventGroup->addAction(item);
    EventFilterItems[static_cast<std::size_t>(i)] = item;
    notYetAvailable_.insert(item);
  }
  EventFilterItems[0]->setChecked(true);
  ViewMenu->addSeparator();
  mRefresh = ViewMenu->addAction("&Refresh All");
  mRefresh->setShortcut(QKeySequence(Qt::Key_F5));
  connect(mRefresh, &QAction::triggered, this, &TMainForm::mRefreshClick);
  ShowConsole1 = ViewMenu->addAction("Show Console Window");
  ShowConsole1->setShortcut(QKeySequence("Ctrl+Q"));
  connect(ShowConsole1, &QAction::triggered, this, &TMainForm::ShowConsole1Click);
  ShowSnapShor1 = ViewMenu->addAction("Show SnapShot Window");
  ShowSnapShor1->setShortcut(QKeySequence("Ctrl+S"));

  EventLogMenu = menuBar()->addMenu(" &Event Log ");
  const char* const clearItems[4] = {"Clear EventLog ( &Application )",
                                     "Clear EventLog ( &Security )", "Clear EventLog ( S&ystem )",
                                     "Clear EventLog ( A&LL )"};
  for (int i = 0; i < 4; ++i) {
    if (i == 3) {
      EventLogMenu->addSeparator();
    }
    ClearItems[static_cast<std::size_t>(i)] = EventLogMenu->addAction(clearItems[i]);
    notYetAvailable_.insert(ClearItems[static_cast<std::size_t>(i)]);
  }
  EventLogMenu->menuAction()->setVisible(false);

  HelpMenu = menuBar()->addMenu(" &Help ");
  mHelpContext = HelpMenu->addAction("&Help");
  ContextHelp1 = HelpMenu->addAction("&Context Help");
  ContextHelp1->setShortcut(QKeySequence(Qt::Key_F1));
  IconsLegend1 = HelpMenu->addAction("Icons &Legend");
  mAbout = HelpMenu->addAction("&About Corvane");
  ConnectHelpCommands();

  // The snapshot window, the settings dialog and the event logs are not part of the program
  // yet: their commands stay disabled.
  for (QAction* pending : {mTake, mLoad, ShowSnapShor1}) {
    notYetAvailable_.insert(pending);
  }
  for (QObject* pending : notYetAvailable_) {
    if (auto* action = qobject_cast<QAction*>(pending)) {
      action->setEnabled(false);
    }
  }
}

void TMainForm::buildContextMenus() {
  PopupMenu = new QMenu(this);
  PopupMenu->setObjectName("PopupMenu");
  const char* const entries[18] = {
      "Properties", nullptr,     "&Start",        "&Restart",   "&Pause",      "S&top",
      nullptr,      "&Boot",     "&System",       "&Automatic", "&Manual",     "&Disable",
      nullptr,      "UnInstall", "Save RegEntry", nullptr,      "&Expand All", "&Collapse All"};
  for (std::size_t i = 0; i < PopupItems.size(); ++i) {
    PopupItems[i] =
        entries[i] == nullptr ? PopupMenu->addSeparator() : PopupMenu->addAction(entries[i]);
    if (entries[i] != nullptr) {
      notYetAvailable_.insert(PopupItems[i]);
      PopupItems[i]->setEnabled(false);
    }
  }
  PopupMenu->setDefaultAction(PopupItems[0]);
  for (std::size_t i = 7; i <= 11; ++i) {
    PopupItems[i]->setCheckable(true);
  }
  auto* startTypes = new QActionGroup(this);
  for (std::size_t i = 7; i <= 11; ++i) {
    startTypes->addAction(PopupItems[i]);
  }

  SsPopup = new QMenu(this);
  SsPopup->setObjectName("SsPopup");
  SsPopup->addAction("&Expand All");
  SsPopup->addAction("&Collapse All");

  EditMenu = new QMenu(this);
  EditMenu->setObjectName("EditMenu");
  emCut = EditMenu->addAction("Cu&t");
  emCut->setShortcut(QKeySequence("Ctrl+X"));
  emCopy = EditMenu->addAction("&Copy");
  emCopy->setShortcut(QKeySequence("Ctrl+C"));
  connect(emCopy, &QAction::triggered, this, &TMainForm::emCopyClick);
  emPaste = EditMenu->addAction("&Paste");
  emPaste->setShortcut(QKeySequence("Ctrl+V"));
  emDelete = EditMenu->addAction("&Delete");
  emDelete->setShortcut(QKeySequence(Qt::Key_Delete));
  emDelete->setVisible(false);
  EditMenu->addSeparator();
  emEdit = EditMenu->addAction("&Edit");
  emEdit->setShortcut(QKeySequence("Ctrl+E"));
  // Cut and Paste serve the description editor's text box, Edit opens that editor.
  for (QAction* pending : {emCut, emPaste, emEdit}) {
    notYetAvailable_.insert(pending);
    pending->setEnabled(false);
  }
}

void TMainForm::setCommandEnabled(QObject* command, bool enabled) {
  const bool allowed = enabled && notYetAvailable_.count(command) == 0;
  if (auto* widget = qobject_cast<QWidget*>(command)) {
    widget->setEnabled(allowed);
  } else if (auto* action = qobject_cast<QAction*>(command)) {
    action->setEnabled(allowed);
  }
}

QString TMainForm::ClockText(const platform::LocalTime& time) {
  return QString::asprintf("%02d:%02d:%02d.%d", time.hour, time.minute, time.second,
                           time.millisecond / 100);
}

void TMainForm::SetAutoRefresh(bool enabled, int intervalSeconds) {
  Timer->stop();
  Timer->setInterval(autoRefreshPeriodMs(intervalSeconds));
  // A zero period would fire without pause; such a timer never fires instead.
  if (enabled && Timer->interval() > 0) {
    Timer->start();
  }
}

bool TMainForm::LaunchRequest(std::int32_t code) {
  return launcher_.LaunchRequest(code);
}

void TMainForm::TenthSecTickTimer() {
  StatusBar->setPanelText(2, ClockText(machine_.clock().localTime()));
}

void TMainForm::TimerTimer() {
  program_.FullRefresh = false;
  program_.RefreshAllViews = true;
  LaunchRequest(ReqRefreshAll);
}

void TMainForm::DrawStatusProgress(double percent) {
  StatusBar->DrawStatusProgress(percent);
}

void TMainForm::ShowErrorBox(const std::string& text, int terminate) {
  const std::string shown =
      text.empty() ? machine_.messages().messageText(machine_.scm().lastError()) : text;
  dialogs_.messageBox(shown, "error", DialogIcon::Error, DialogButtons::Ok);
  if (terminate == 1) {
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
  }
}

// --- Pages, selection and details -------------------------------------------------------------

MainPage TMainForm::ActivePage() {
  switch (PageControl->currentIndex()) {
    case 0:
      return MainPage::ServiceList;
    case 1:
      return MainPage::ServiceGroups;
    case 2:
      return MainPage::EventLog;
    default:
      return MainPage::None;
  }
}

void TMainForm::ShowServicesPage() {
  PageControl->setCurrentIndex(0);
}

void TMainForm::PageControlChange() {
  if (!PageControl->isEnabled() || request_.Busy || program_.SnapshotRequest) {
    return;
  }
  const MainPage page = ActivePage();
  Panel->setVisible(page == MainPage::ServiceList);
  EventPanel->setVisible(page == MainPage::EventLog);
  setCommandEnabled(SpeedDependencies, page != MainPage::EventLog);
  setCommandEnabled(SpeedDependents, page != MainPage::EventLog);
  Description->setVisible(true);
  EventLogMenu->menuAction()->setVisible(page == MainPage::EventLog);
  QTreeView* list = page == MainPage::ServiceList ? ServList
                    : page == MainPage::EventLog  ? static_cast<QTreeView*>(EventLog)
                                                  : nullptr;
  if (list != nullptr) {
    const QModelIndexList selected = list->selectionModel()->selectedRows();
    if (!selected.isEmpty()) {
      list->selectionModel()->setCurrentIndex(selected.first(), QItemSelectionModel::NoUpdate);
    }
  }
  RefreshSelectionDetails();
  switch (page) {
    case MainPage::ServiceList:
      ServList->setFocus();
      break;
    case MainPage::ServiceGroups:
      Groups->setFocus();
      break;
    case MainPage::EventLog:
      EventLogPageShown();
      break;
    case MainPage::None:
      break;
  }
}

void TMainForm::RefreshSelectionDetails() {
  if (request_.Busy) {
    QCoreApplication::processEvents();
    return;
  }
  Group->clear();
  Executable->clear();
  Description->clear();
  Tree->clear();
  for (QToolButton* button : ToolButtons) {
    button->setEnabled(false);
  }
  for (QToolButton* button : SpeedButtons) {
    button->setEnabled(false);
  }
  for (const std::size_t entry : {2, 3, 5, 6, 7, 8, 9, 11, 12, 13, 14}) {
    PopupItems[entry]->setEnabled(false);
  }
  if (ActivePage() == MainPage::EventLog) {
    RefreshEventSelectionDetails();
  }
  if (ActivePage() == MainPage::ServiceList && servListModel_->rowCount() > 0 &&
      request_.ScmAvailable) {
    if (!ServList->selectionModel()->hasSelection()) {
      ServList->setCurrentIndex(servListModel_->index(0, 0));
    }
    ShowDetailsOfSelectedRow();
  } else if (ActivePage() == MainPage::ServiceGroups && Groups->topLevelItemCount() > 0 &&
             request_.ScmAvailable) {
    RefreshGroupsSelectionDetails();
  }
  QCoreApplication::processEvents();
}

std::optional<std::string> TMainForm::SelectedServiceName() const {
  const QModelIndexList selected = ServList->selectionModel()->selectedRows();
  if (selected.isEmpty()) {
    return std::nullopt;
  }
  return servListModel_->row(selected.first().row()).serviceName();
}

void TMainForm::ShowDetailsOfSelectedRow() {
  const std::optional<std::string> name = SelectedServiceName();
  if (!name) {
    return;
  }
  const Catalogue& catalogue = program_.catalogue;
  for (std::size_t i = 0; i < catalogue.ServiceCount; ++i) {
    if (catalogue.ServiceTable[i].ServiceName == *name) {
      ShowServiceDetails(static_cast<std::ptrdiff_t>(i));
      return;
    }
  }
}

void TMainForm::ServListSelectItem() {
  if (!request_.Busy) {
    ShowDetailsOfSelectedRow();
  }
}

void TMainForm::ServListDblClick() {
  PropertiesClick();
}

void TMainForm::ServListKeyPress(int key) {
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    ServListDblClick();
  }
}

void TMainForm::ServListMouseDown(Qt::MouseButton button, const QPoint& globalPosition) {
  for (std::size_t entry = 15; entry <= 17; ++entry) {
    PopupItems[entry]->setVisible(false);
  }
  if (button == Qt::RightButton) {
    PopupMenu->popup(globalPosition);
  }
}

void TMainForm::ServListColumnClick(int column) {
  // A fill in progress (it lets messages run) keeps the rows where it found them.
  if (request_.Busy) {
    return;
  }
  servListModel_->columnClick(column);
  const int sorted = servListModel_->list().sortColumn();
  ServList->header()->setSortIndicator(
      sorted, servListModel_->list().ascending(sorted) ? Qt::AscendingOrder : Qt::DescendingOrder);
}

void TMainForm::ServListColumnDragged() {
  const QHeaderView* header = ServList->header();
  for (int column = 0; column < ServColumnCount; ++column) {
    // Each column is recognised by its caption.
    const QString caption =
        servListModel_->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    for (int field = 0; field < ServColumnCount; ++field) {
      if (caption == ServColumns[static_cast<std::size_t>(field)].caption) {
        servColumnPositions_[static_cast<std::size_t>(field)] = header->visualIndex(column);
      }
    }
  }
}

ServFilter TMainForm::SelectedServFilter() const {
  for (int i = 0; i < 4; ++i) {
    if (ServFilterButtons[static_cast<std::size_t>(i)]->isChecked()) {
      return static_cast<ServFilter>(i + 1);
    }
  }
  return ServFilter::Services;
}

void TMainForm::RadioButton1Click() {
  if (program_.SnapshotRequest) {
    return;
  }
  program_.FullRefresh = true;
  program_.RefreshAllViews = false;
  LaunchRequest(ReqRefresh);
}

void TMainForm::mServicesClick() {
  PageControl->setCurrentIndex(0);
  PageControlChange();
  ServFilterButtons[0]->setChecked(true);
}

void TMainForm::mFilesystemdriversClick() {
  PageControl->setCurrentIndex(0);
  PageControlChange();
  ServFilterButtons[1]->setChecked(true);
}

void TMainForm::mKerneldriversClick() {
  PageControl->setCurrentIndex(0);
  PageControlChange();
  ServFilterButtons[2]->setChecked(true);
}

void TMainForm::mAllClick() {
  PageControl->setCurrentIndex(0);
  PageControlChange();
  ServFilterButtons[3]->setChecked(true);
}

void TMainForm::mRefreshClick() {
  program_.FullRefresh = true;
  program_.RefreshAllViews = true;
  LaunchRequest(ReqRefreshAll);
}

void TMainForm::RefreshClick() {
  commands_->Refresh();
}

void TMainForm::mExitClick() {
  close();
}

void TMainForm::ConsoleToggleClick() {
  if (console_ == nullptr) {
    return;
  }
  if (console_->isVisible()) {
    console_->hide();
    ConsoleToggle->setChecked(false);
  } else {
    console_->show();
    console_->CloseButton->setEnabled(true);
    ConsoleToggle->setChecked(true);
  }
}

void TMainForm::ShowConsole1Click() {
  if (console_ != nullptr) {
    console_->show();
    console_->CloseButton->setEnabled(true);
  }
}

// --- Edit menu ----------------------------------------------------------------------------------

void TMainForm::DescriptionMouseUp(Qt::MouseButton button, const QPoint& globalPosition) {
  if (request_.Busy) {
    return;
  }
  emCut->setVisible(false);
  emPaste->setVisible(false);
  emEdit->setVisible(ActivePage() == MainPage::ServiceList);
  if (button == Qt::RightButton) {
    EditMenu->popup(globalPosition);
  }
}

void TMainForm::emCopyClick() {
  QTextCursor selection;
  QString whole;
  if (Description->hasFocus()) {
    selection = Description->textCursor();
    whole = Description->toPlainText();
  } else if (FormEdit != nullptr && FormEdit->Description->hasFocus()) {
    selection = FormEdit->Description->textCursor();
    whole = FormEdit->Description->toPlainText();
  } else if (console_ != nullptr && console_->Display->hasFocus()) {
    selection = console_->Display->textCursor();
    whole = console_->Display->toPlainText();
  } else {
    return;
  }
  // A selection holds paragraph separators where the text has line breaks.
  const QString selected = selection.selectedText().replace(QChar::ParagraphSeparator, '\n');
  QApplication::clipboard()->setText(selected.isEmpty() ? whole : selected);
}

// --- The fills ----------------------------------------------------------------------------------

void TMainForm::FillViews() {
  const bool full = program_.FullRefresh;
  if (full) {
    QCoreApplication::processEvents();
    ServList->setUpdatesEnabled(false);
    Groups->setUpdatesEnabled(false);
    Groups->clear();
  }
  images_.trimTo(image::BaseImageCount);
  QCoreApplication::processEvents();

  ServFillHooks hooks;
  hooks.closing = [this] { return request_.Closing; };
  hooks.progress = [this](double percent) { DrawStatusProgress(percent); };
  hooks.executableIcon = [this](const std::string& file) {
    const std::optional<platform::IconImage> icon = machine_.icons().firstIcon(unquoted(file));
    if (!icon || icon->width <= 0 || icon->height <= 0 || icon->width > 256 || icon->height > 256 ||
        icon->pixels.size() != static_cast<std::size_t>(icon->width) * icon->height) {
      return image::RowService;
    }
    QImage picture(icon->width, icon->height, QImage::Format_ARGB32);
    for (int y = 0; y < icon->height; ++y) {
      std::copy_n(icon->pixels.data() + static_cast<std::size_t>(y) * icon->width, icon->width,
                  reinterpret_cast<std::uint32_t*>(picture.scanLine(y)));
    }
    return images_.append(QIcon(QPixmap::fromImage(picture)));
  };
  const ServListDiff diff =
      servListModel_->fill(program_.catalogue, SelectedServFilter(), full, hooks);
  if (full && !diff.stoppedByClosing) {
    FillGroupsTree();
  }

  if (!diff.stoppedByClosing) {
    ServNo->setText(QString::number(program_.catalogue.ServiceCount));
    ListCount->setText(QString::number(servListModel_->rowCount()));
  }
  if (full) {
    QCoreApplication::processEvents();
    Groups->setUpdatesEnabled(true);
    ServList->setUpdatesEnabled(true);
    if (!diff.stoppedByClosing && servListModel_->rowCount() > 0) {
      const QSignalBlocker quiet(ServList->selectionModel());
      ServList->setCurrentIndex(servListModel_->index(0, 0));
    }
    if (Groups->topLevelItemCount() > 0) {
      Groups->setCurrentItem(Groups->topLevelItem(0));
    }
    if (eventListModel_->rowCount() > 0) {
      EventLog->setCurrentIndex(eventListModel_->index(0, 0));
    }
  }
  QCoreApplication::processEvents();
}

bool TMainForm::AutoRefreshEventLog() {
  return program_.settings.AutoRefreshEventLog;
}

// --- MainWindowView -----------------------------------------------------------------------------

QObject* TMainForm::control(MainControl which) const {
  switch (which) {
    case MainControl::MainForm:
      return const_cast<TMainForm*>(this);
    case MainControl::PageControl:
      return PageControl;
    case MainControl::ToolBar:
      return ToolBar;
    case MainControl::Refresh:
      return Refresh;
    case MainControl::Panel:
      return Panel;
    case MainControl::EventPanel:
      return EventPanel;
    case MainControl::Description:
      return Description;
    case MainControl::RefreshMsg:
      return RefreshMsg;
    case MainControl::RefreshMsg2:
      return RefreshMsg2;
    case MainControl::RefreshMsg3:
      return RefreshMsg3;
    case MainControl::ToolButton1:
    case MainControl::ToolButton2:
    case MainControl::ToolButton3:
    case MainControl::ToolButton4:
      return ToolButtons[static_cast<std::size_t>(static_cast<int>(which) -
                                                  static_cast<int>(MainControl::ToolButton1))];
    case MainControl::SpeedButton1:
    case MainControl::SpeedButton2:
    case MainControl::SpeedButton3:
    case MainControl::SpeedButton4:
    case MainControl::SpeedButton5:
    case MainControl::SpeedButton6:
    case MainControl::SpeedButton7:
      return SpeedButtons[static_cast<std::size_t>(static_cast<int>(which) -
                                                   static_cast<int>(MainControl::SpeedButton1))];
    case MainControl::RadioButton1:
    case MainControl::RadioButton2:
    case MainControl::RadioButton3:
    case MainControl::RadioButton4:
      return ServFilterButtons[static_cast<std::size_t>(
          static_cast<int>(which) - static_cast<int>(MainControl::RadioButton1))];
    case MainControl::RadioButton5:
    case MainControl::RadioButton6:
    case MainControl::RadioButton7:
    case MainControl::RadioButton8:
      return EventFilterButtons[static_cast<std::size_t>(
          static_cast<int>(which) - static_cast<int>(MainControl::RadioButton5))];
    case MainControl::mServices:
    case MainControl::mFilesystemdrivers:
    case MainControl::mKerneldrivers:
    case MainControl::mAll:
      return ServFilterItems[static_cast<std::size_t>(static_cast<int>(which) -
                                                      static_cast<int>(MainControl::mServices))];
    case MainControl::mApplication:
    case MainControl::mSecurity:
    case MainControl::mSystem:
    case MainControl::mAllEvents:
      return EventFilterItems[static_cast<std::size_t>(
          static_cast<int>(which) - static_cast<int>(MainControl::mApplication))];
    case MainControl::mRefresh:
      return mRefresh;
    case MainControl::mTake:
      return mTake;
    case MainControl::mLoad:
      return mLoad;
  }
  return nullptr;
}

void TMainForm::SetEnabled(MainControl which, bool enabled) {
  if (which == MainControl::MainForm) {
    setEnabled(enabled);
    return;
  }
  setCommandEnabled(control(which), enabled);
}

void TMainForm::SetVisible(MainControl which, bool visible) {
  if (auto* widget = qobject_cast<QWidget*>(control(which))) {
    widget->setVisible(visible);
  } else if (auto* action = qobject_cast<QAction*>(control(which))) {
    action->setVisible(visible);
  }
}

void TMainForm::SetChecked(MainControl which, bool checked) {
  if (auto* button = qobject_cast<QAbstractButton*>(control(which))) {
    button->setChecked(checked);
  } else if (auto* action = qobject_cast<QAction*>(control(which))) {
    action->setChecked(checked);
  }
}

bool TMainForm::IsChecked(MainControl which) {
  if (auto* button = qobject_cast<QAbstractButton*>(control(which))) {
    return button->isChecked();
  }
  if (auto* action = qobject_cast<QAction*>(control(which))) {
    return action->isChecked();
  }
  return false;
}

void TMainForm::Repaint(MainControl which) {
  if (auto* widget = qobject_cast<QWidget*>(control(which))) {
    widget->repaint();
  }
}

void TMainForm::ProcessMessages() {
  QCoreApplication::processEvents();
}

void TMainForm::SetStatusText(int panel, const std::string& text) {
  StatusBar->setPanelText(panel, QString::fromStdString(text));
}

void TMainForm::SetConsoleButtonCaption(const std::string& caption) {
  if (console_ != nullptr) {
    console_->CloseButton->setText(QString::fromStdString(caption));
  }
}

// --- Showing and closing ------------------------------------------------------------------------

void TMainForm::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (!event->spontaneous()) {
    FormShow();
  }
}

void TMainForm::FormShow() {
  DrawStatusProgress(0);
  if (SettingsDialog != nullptr) {
    SettingsDialog->ReadSettings();
  }
  QCoreApplication::processEvents();
  LaunchRequest(MainFormShow(program_) == FirstRequest::LoadSnapshot ? ReqLoadSnapshot
                                                                     : ReqRefreshAll);
}

void TMainForm::closeEvent(QCloseEvent* event) {
  if (FormCloseQuery()) {
    event->accept();
  } else {
    event->ignore();
  }
}

bool TMainForm::FormCloseQuery() {
  if (!request_.WorkerIdle && launcher_.StopWorkerForClose() == CloseWithWorker::KeepRunning) {
    return false;
  }
  request_.Closing = true;
  request_.WorkerIdle = false;
  request_.Busy = true;
  QCoreApplication::processEvents();
  const bool consoleWasVisible = console_ != nullptr && console_->isVisible();
  if (console_ != nullptr) {
    console_->hide();
  }
  if (recForm_ != nullptr) {
    recForm_->hide();
  }
  hide();
  DeleteBrowseFlag(program_.InstallDir);
  WriteSettingsAtClose(consoleWasVisible);
  return true;
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  if (Description == nullptr) {
    return QMainWindow::eventFilter(watched, event);  // still being built
  }
  if (watched == ServList->viewport() && event->type() == QEvent::MouseButtonPress) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    ServListMouseDown(mouse->button(), mouse->globalPosition().toPoint());
  } else if (watched == ServList && event->type() == QEvent::KeyPress) {
    ServListKeyPress(static_cast<QKeyEvent*>(event)->key());
  } else if (watched == Description->viewport() && event->type() == QEvent::MouseButtonRelease) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    DescriptionMouseUp(mouse->button(), mouse->globalPosition().toPoint());
  } else if (watched == PageControl->tabBar() && event->type() == QEvent::MouseButtonRelease) {
    QTimer::singleShot(0, this, [this] {
      const MainPage page = ActivePage();
      if (page == MainPage::ServiceList) {
        ServList->setFocus();
      } else if (page == MainPage::ServiceGroups) {
        Groups->setFocus();
      } else if (page == MainPage::EventLog) {
        EventLog->setFocus();
      }
    });
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace corvane
