// The main window's details area, groups tree and dependency tree: ShowServiceDetails, the
// groups page with its selection, mouse and menu handling, the dependency pane and its buttons,
// and the double clicks that lead back to the service list.
#include <QAction>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <QTreeWidgetItem>
#include <cstring>

#include "corvane/catalogue/Qt_service_list_model.h"
#include "corvane/catalogue/catalogue_lookups.h"
#include "corvane/catalogue/dependency_tree.h"
#include "corvane/catalogue/groups_tree.h"
#include "corvane/catalogue/service_details.h"
#include "corvane/engine/request_state.h"
#include "corvane/shell/Form_main.h"
#include "corvane/shell/program_state.h"
#include "platform/platform.h"

namespace corvane {

namespace {

// Pop-up entries shown for the groups tree and hidden for the service list: the separator,
// "&Expand All" and "&Collapse All".
constexpr std::size_t PopupTreeSeparator = 15;
constexpr std::size_t PopupExpandAll = 16;
constexpr std::size_t PopupCollapseAll = 17;

// The role under which each tree item keeps its image index.
constexpr int ImageRole = Qt::UserRole;

const char* const CircularHint = "Met again on its own path: not expanded again here.";

QString qText(const std::string& text) {
  return QString::fromStdString(text);
}

QTreeWidgetItem* treeItem(const TreeNode& node, const QtImageList& images) {
  auto* item = new QTreeWidgetItem(QStringList{qText(node.Text)});
  item->setData(0, ImageRole, node.ImageIndex);
  if (node.ImageIndex != DefaultTreeImage) {
    item->setIcon(0, images.icon(node.ImageIndex));
  }
  if (node.Circular) {
    item->setToolTip(0, CircularHint);
  }
  for (const TreeNode& child : node.Children) {
    item->addChild(treeItem(child, images));
  }
  return item;
}

// The position of a node among its siblings, counted from 0.
int siblingPosition(QTreeWidgetItem* node) {
  return node->parent() != nullptr ? node->parent()->indexOfChild(node)
                                   : node->treeWidget()->indexOfTopLevelItem(node);
}

// A character position of the panel text for a byte offset of its UTF-8.
int panelPosition(const std::string& text, std::size_t offset) {
  return static_cast<int>(QString::fromUtf8(text.data(), static_cast<qsizetype>(offset)).size());
}

// Hands the presses and releases of the groups tree to its handlers, in the tree's coordinates.
class GroupsMouse : public QObject {
 public:
  explicit GroupsMouse(TMainForm& form) : QObject(&form), form_(form) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonPress) {
      auto* mouse = static_cast<QMouseEvent*>(event);
      // A press beside every node has nothing more to do than the handler.
      return form_.GroupsMouseDown(mouse->button(), mouse->position().toPoint());
    }
    if (event->type() == QEvent::MouseButtonRelease) {
      auto* mouse = static_cast<QMouseEvent*>(event);
      form_.GroupsMouseUp(mouse->button(), mouse->position().toPoint());
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  TMainForm& form_;
};

}  // namespace

void TMainForm::ConnectGroupsAndTrees() {
  Groups->setRootIsDecorated(true);
  Groups->setSortingEnabled(false);
  Groups->setSelectionMode(QAbstractItemView::SingleSelection);
  Groups->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Groups->setContextMenuPolicy(Qt::NoContextMenu);
  Groups->viewport()->installEventFilter(new GroupsMouse(*this));
  connect(Groups, &QTreeWidget::currentItemChanged, this, [this] { GroupsChange(); });
  connect(Groups, &QTreeWidget::itemDoubleClicked, this, [this] { GroupsDblClick(); });

  Tree->setSortingEnabled(false);  // the content comes sorted
  Tree->setEditTriggers(QAbstractItemView::NoEditTriggers);
  connect(Tree, &QTreeWidget::itemDoubleClicked, this, [this] { TreeDblClick(); });

  for (QToolButton* button : {SpeedDependencies, SpeedDependents}) {
    notYetAvailable_.erase(button);
  }
  connect(SpeedDependencies, &QToolButton::clicked, this, &TMainForm::SpeedDependenciesClick);
  connect(SpeedDependents, &QToolButton::clicked, this, &TMainForm::SpeedDependentsClick);

  for (const std::size_t entry : {PopupExpandAll, PopupCollapseAll}) {
    notYetAvailable_.erase(PopupItems[entry]);
    PopupItems[entry]->setEnabled(true);
  }
  connect(PopupItems[PopupExpandAll], &QAction::triggered, this, &TMainForm::ExpandAll1Click);
  connect(PopupItems[PopupCollapseAll], &QAction::triggered, this, &TMainForm::CollapseAllClick);
  const QList<QAction*> groupMenu = SsPopup->actions();
  connect(groupMenu.at(0), &QAction::triggered, this, &TMainForm::ExpandAll1Click);
  connect(groupMenu.at(1), &QAction::triggered, this, &TMainForm::CollapseAllClick);
}

// --- The details area ---------------------------------------------------------------------------

void TMainForm::ShowServiceDetails(std::ptrdiff_t index) {
  if (request_.Busy || index < 0 ||
      static_cast<std::size_t>(index) >= program_.catalogue.ServiceCount) {
    return;
  }
  const auto record = static_cast<std::size_t>(index);
  const ServiceRecord& entry = program_.catalogue.ServiceTable[record];
  EnableServiceCommands(entry);

  const ServiceDetails details = composeServiceDetails(entry, program_.ExtraDescriptions.Lines);
  Description->clear();
  QTextCharFormat normal;
  normal.setForeground(details.FailColour ? QColor(Qt::red)
                                          : Description->palette().color(QPalette::Text));
  normal.setFontWeight(QFont::Normal);
  QTextCursor cursor(Description->document());
  cursor.insertText(qText(details.Text), normal);
  QTextCharFormat bold;
  bold.setFontWeight(QFont::Bold);
  for (const TextRange& range : details.Bold) {
    cursor.setPosition(panelPosition(details.Text, range.start));
    cursor.setPosition(panelPosition(details.Text, range.start + range.length),
                       QTextCursor::KeepAnchor);
    cursor.mergeCharFormat(bold);
  }
  Executable->setText(qText(details.Executable));
  Group->setText(qText(details.Group));

  // A group node selected before may have disabled the pane buttons.
  if (ActivePage() != MainPage::EventLog) {
    setCommandEnabled(SpeedDependencies, true);
    setCommandEnabled(SpeedDependents, true);
  }
  if (SpeedDependencies->isChecked()) {
    BuildDependenciesTree(record);
  } else if (SpeedDependents->isChecked()) {
    BuildDependentsTree(record);
  }
  Description->moveCursor(QTextCursor::Start);
}

// --- The dependency pane ------------------------------------------------------------------------

void TMainForm::BuildDependenciesTree(std::size_t record) {
  FillDependencyTree(record, DependencyKind::Dependencies);
}

void TMainForm::BuildDependentsTree(std::size_t record) {
  FillDependencyTree(record, DependencyKind::Dependents);
}

void TMainForm::FillDependencyTree(std::size_t record, DependencyKind kind) {
  RefreshMsg4->show();
  RefreshMsg4->repaint();
  Tree->clear();
  Tree->setUpdatesEnabled(false);
  const auto localeLess = [](const std::string& a, const std::string& b) {
    return QString::localeAwareCompare(qText(a), qText(b)) < 0;
  };
  for (const TreeNode& node : dependencyTreeContent(program_.catalogue, record, kind,
                                                    program_.settings.FullTree, localeLess)) {
    Tree->addTopLevelItem(treeItem(node, images_));
  }
  Tree->setUpdatesEnabled(true);
  RefreshMsg4->hide();
}

void TMainForm::SpeedDependenciesClick() {
  ShowDetailsInPaneMode();
}

void TMainForm::SpeedDependentsClick() {
  ShowDetailsInPaneMode();
}

void TMainForm::ShowDetailsInPaneMode() {
  if (!request_.ScmAvailable) {
    return;
  }
  const MainPage page = ActivePage();
  if (page == MainPage::ServiceList) {
    if (ServList->selectionModel()->hasSelection()) {
      ServListSelectItem();
    }
  } else if (page == MainPage::ServiceGroups) {
    if (const QTreeWidgetItem* node = Groups->currentItem()) {
      ShowServiceDetails(findRecordByDisplayName(program_.catalogue, node->text(0).toStdString(),
                                                 LetterCase::Heeded));
    }
  }
}

void TMainForm::TreeDblClick() {
  const QTreeWidgetItem* node = Tree->currentItem();
  if (node == nullptr) {
    return;
  }
  const std::ptrdiff_t row = findRowByCaption(servListModel_->list().rows(),
                                              node->text(0).toStdString(), LetterCase::Ignored);
  if (row < 0) {
    return;
  }
  QCoreApplication::processEvents();
  machine_.clock().sleep(300);
  RevealInServiceList(static_cast<int>(row));
}

void TMainForm::RevealInServiceList(int row) {
  const QModelIndex index = servListModel_->index(row, 0);
  ServList->selectionModel()->setCurrentIndex(
      index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  ServList->scrollTo(index, QAbstractItemView::PositionAtCenter);
  if (PageControl->currentIndex() != 0) {
    PageControl->setCurrentIndex(0);  // runs the page-change handler
  } else {
    PageControlChange();
  }
}

// --- The groups page ----------------------------------------------------------------------------

void TMainForm::FillGroupsTree() {
  for (const TreeNode& node : groupsTreeContent(program_.catalogue)) {
    Groups->addTopLevelItem(treeItem(node, images_));
  }
}

void TMainForm::ShowGroupNode(QTreeWidgetItem& node, const char* explanation) {
  setCommandEnabled(SpeedDependencies, false);
  setCommandEnabled(SpeedDependents, false);
  Description->clear();
  QTextCharFormat normal;
  normal.setForeground(Description->palette().color(QPalette::Text));
  QTextCursor cursor(Description->document());
  cursor.insertText(explanation, normal);
  QTextCharFormat bold;
  bold.setFontWeight(QFont::Bold);
  cursor.setPosition(0);
  cursor.setPosition(static_cast<int>(std::strlen("Description:")), QTextCursor::KeepAnchor);
  cursor.mergeCharFormat(bold);
  Description->moveCursor(QTextCursor::Start);
  Executable->setText(qText(groupOrderText(static_cast<std::size_t>(siblingPosition(&node)))));
  Group->setText(node.text(0));
}

void TMainForm::GroupsChange() {
  if (!request_.ScmAvailable || request_.Busy) {
    return;
  }
  QTreeWidgetItem* node = Groups->currentItem();
  if (node == nullptr) {
    return;
  }
  if (node->parent() == nullptr) {
    ShowGroupNode(*node, GroupExplanationOnSelection);
    Tree->clear();
    DisableServiceCommands();
    return;
  }
  const std::ptrdiff_t record =
      findRecordByDisplayName(program_.catalogue, node->text(0).toStdString(), LetterCase::Heeded);
  if (record >= 0) {
    ShowServiceDetails(record);
  }
}

void TMainForm::RefreshGroupsSelectionDetails() {
  if (Groups->selectedItems().isEmpty()) {
    const QSignalBlocker quiet(Groups);
    Groups->setCurrentItem(Groups->topLevelItem(0));
  }
  QTreeWidgetItem* node = Groups->currentItem();
  const std::ptrdiff_t record =
      findRecordByDisplayName(program_.catalogue, node->text(0).toStdString(), LetterCase::Heeded);
  if (record >= 0) {
    ShowServiceDetails(record);
  } else {
    ShowGroupNode(*node, GroupExplanationOnRefresh);
  }
}

void TMainForm::DisableServiceCommands() {
  for (QToolButton* button : ToolButtons) {
    button->setEnabled(false);
  }
  for (QToolButton* button : SpeedButtons) {
    button->setEnabled(false);
  }
  for (const std::size_t entry : {2, 3, 5, 6, 7, 8, 9, 11, 12, 13, 14}) {
    PopupItems[entry]->setEnabled(false);
  }
}

void TMainForm::GroupsDblClick() {
  const QTreeWidgetItem* node = Groups->currentItem();
  if (!request_.ScmAvailable || node == nullptr || node->parent() == nullptr) {
    return;
  }
  const std::ptrdiff_t row = findRowByCaption(servListModel_->list().rows(),
                                              node->text(0).toStdString(), LetterCase::Heeded);
  if (row >= 0) {
    RevealInServiceList(static_cast<int>(row));
  }
}

bool TMainForm::GroupsMouseDown(Qt::MouseButton, const QPoint& position) {
  if (!request_.ScmAvailable) {
    return false;
  }
  LastClickedTree = Groups;
  if (QTreeWidgetItem* node = Groups->itemAt(position)) {
    Groups->setCurrentItem(node);
    Groups->setFocus();
    return false;
  }
  Groups->clearSelection();
  {
    const QSignalBlocker quiet(Groups);
    Groups->setCurrentItem(nullptr);
  }
  PageControlChange();
  return true;
}

void TMainForm::GroupsMouseUp(Qt::MouseButton button, const QPoint& position) {
  const QTreeWidgetItem* node = Groups->currentItem();
  if (!request_.ScmAvailable || node == nullptr || !node->isSelected()) {
    return;
  }
  for (const std::size_t entry : {PopupTreeSeparator, PopupExpandAll, PopupCollapseAll}) {
    PopupItems[entry]->setVisible(true);
  }
  if (button != Qt::RightButton) {
    return;
  }
  const QPoint screen = Groups->viewport()->mapToGlobal(position);
  if (node->parent() != nullptr) {
    PopupMenu->popup(screen);
  } else {
    SsPopup->popup(screen);
  }
}

void TMainForm::ExpandAll1Click() {
  if (LastClickedTree != nullptr) {
    LastClickedTree->expandAll();
  }
}

void TMainForm::CollapseAllClick() {
  if (LastClickedTree != nullptr) {
    LastClickedTree->collapseAll();
  }
}

}  // namespace corvane
