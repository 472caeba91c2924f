// The main window's part of the settings: what it stores into them, applies from them and
// writes at its close.
#include <QActionGroup>
#include <QHeaderView>
#include <QLayout>
#include <QSignalBlocker>
#include <algorithm>
#include <climits>

#include "common/atomic_file.h"
#include "common/ini_document.h"
#include "corvane/catalogue/service_list.h"
#include "corvane/shell/Form_console.h"
#include "corvane/shell/Form_main.h"
#include "corvane/shell/Form_settings.h"
#include "corvane/shell/program_state.h"
#include "corvane/snapshot/Form_script.h"

namespace corvane {

namespace {

struct WidthLimits {
  int minimum;
  int maximum;
};
// The event list's columns: "Type" has no limits.
constexpr WidthLimits EventColumnLimits[] = {
    {0, INT_MAX}, {50, 600}, {50, 600}, {50, 600}, {50, 100},
    {50, 100},    {50, 600}, {50, 600}, {50, 600}, {50, 600},
};
// The snapshot window's columns.
constexpr WidthLimits SnapShotColumnLimits[] = {{100, 600}, {30, 600}, {30, 600}, {30, 600}};

void storeColumns(const QHeaderView* header, ColumnLayout& layout) {
  const int count = std::min<int>(header->count(), static_cast<int>(layout.Widths.size()));
  for (int field = 0; field < count; ++field) {
    const auto n = static_cast<std::size_t>(field);
    layout.Positions[n] = header->visualIndex(field);
    layout.Widths[n] = header->sectionSize(field);
  }
}

// Widths within the column's limits (a negative width fits the column to its contents); then
// the recorded order, when it names each position once.
template <typename Limit>
void applyColumns(QTreeView* list, ColumnLayout& layout, Limit limit) {
  QHeaderView* header = list->header();
  const int count = std::min<int>(header->count(), static_cast<int>(layout.Widths.size()));
  for (int field = 0; field < count; ++field) {
    const int width = layout.Widths[static_cast<std::size_t>(field)];
    if (width < 0) {
      list->resizeColumnToContents(field);
    } else {
      header->resizeSection(field, limit(field, width));
    }
  }
  if (count != static_cast<int>(layout.Positions.size()) || !layout.positionsArePermutation()) {
    storeColumns(header, layout);
    return;
  }
  for (int position = 0; position < count; ++position) {
    const auto field =
        static_cast<int>(std::find(layout.Positions.begin(), layout.Positions.end(), position) -
                         layout.Positions.begin());
    header->moveSection(header->visualIndex(field), position);
  }
}

int checkedCode(const std::array<QRadioButton*, 4>& buttons) {
  std::array<bool, 4> checked{};
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    checked[i] = buttons[i]->isChecked();
  }
  return filterCode(checked);
}

// Checks the button of the code (1 to 4); any other code checks none.
void checkFilter(const std::array<QRadioButton*, 4>& buttons, int code) {
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    QRadioButton* button = buttons[i];
    const QSignalBlocker quiet(button);
    button->setAutoExclusive(false);
    button->setChecked(static_cast<int>(i) + 1 == code);
  }
  for (QRadioButton* button : buttons) {
    button->setAutoExclusive(true);
  }
}

void markItems(const std::array<QRadioButton*, 4>& buttons, const std::array<QAction*, 4>& items) {
  QActionGroup* group = items[0]->actionGroup();
  const QActionGroup::ExclusionPolicy policy =
      group != nullptr ? group->exclusionPolicy() : QActionGroup::ExclusionPolicy::None;
  if (group != nullptr) {
    // An exclusive group keeps one item checked; with no button checked none is.
    group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
  }
  for (std::size_t i = 0; i < items.size(); ++i) {
    const QSignalBlocker quiet(items[i]);
    items[i]->setChecked(buttons[i]->isChecked());
  }
  if (group != nullptr) {
    group->setExclusionPolicy(policy);
  }
}

// The first splitter pane takes what the second leaves.
void setSecondPane(QSplitter* splitter, int size) {
  const QList<int> sizes = splitter->sizes();
  const int total = sizes.size() == 2 ? sizes[0] + sizes[1] : 0;
  if (total > 0) {
    splitter->setSizes({std::max(0, total - size), size});
  }
}

}  // namespace

void TMainForm::SpeedButton8Click() {
  if (SettingsDialog != nullptr) {
    SettingsDialog->exec();
  }
}

void TMainForm::StoreWindowSettings() {
  Settings& settings = program_.settings;
  if (!isMaximized()) {
    settings.Main = {y(), x(), width(), height()};
  }
  settings.MainState = isMinimized()   ? MainStateMinimized
                       : isMaximized() ? MainStateMaximized
                                       : MainStateNormal;
  settings.Panel4Height = Panel4->height();
  settings.Panel2Width = Panel2->width();
  if (console_ != nullptr) {
    settings.Console = {console_->y(), console_->x(), console_->width(), console_->height()};
  }
  if (recForm_ != nullptr) {
    settings.RecForm = {recForm_->y(), recForm_->x(), recForm_->width(), recForm_->height()};
  }
}

void TMainForm::StoreViewSettings(bool consoleVisible) {
  Settings& settings = program_.settings;
  storeColumns(ServList->header(), settings.ServListColumns);
  storeColumns(EventLog->header(), settings.EventLogColumns);
  if (recForm_ != nullptr) {
    storeColumns(recForm_->SnapShot->header(), settings.SnapShotColumns);
  }
  settings.ActivePage = PageControl->currentIndex();
  settings.ServiceList = checkedCode(ServFilterButtons);
  settings.EventList = checkedCode(EventFilterButtons);
  settings.LastState = consoleVisible;
}

void TMainForm::ApplyColumnSettings() {
  Settings& settings = program_.settings;
  applyColumns(ServList, settings.ServListColumns, clampServColumnWidth);
  applyColumns(EventLog, settings.EventLogColumns, [](int field, int width) {
    const WidthLimits& limits = EventColumnLimits[field];
    return std::clamp(width, limits.minimum, limits.maximum);
  });
  if (recForm_ != nullptr) {
    applyColumns(recForm_->SnapShot, settings.SnapShotColumns, [](int field, int width) {
      const WidthLimits& limits = SnapShotColumnLimits[field];
      return std::clamp(width, limits.minimum, limits.maximum);
    });
  }
}

void TMainForm::ApplySnapshotWindowSettings() {
  if (recForm_ != nullptr) {
    const WindowBounds& bounds = program_.settings.RecForm;
    recForm_->move(bounds.Left, bounds.Top);
    recForm_->resize(bounds.Width, bounds.Height);
  }
}

void TMainForm::ApplyPageSettings() {
  const Settings& settings = program_.settings;
  // A page the window does not have leaves the page as it is.
  if (settings.ActivePage >= 0 && settings.ActivePage < PageControl->count()) {
    PageControl->setCurrentIndex(settings.ActivePage);
  }
  if (settings.CustomPanel) {
    checkFilter(ServFilterButtons, settings.ServiceList);
    checkFilter(EventFilterButtons, settings.EventList);
  }
  markItems(ServFilterButtons, ServFilterItems);
  markItems(EventFilterButtons, EventFilterItems);
}

void TMainForm::ApplyWindowSettings() {
  const Settings& settings = program_.settings;
  setWindowState(windowState() & ~(Qt::WindowMaximized | Qt::WindowMinimized));
  move(settings.Main.Left, settings.Main.Top);
  resize(settings.Main.Width, settings.Main.Height);
  // The splitters learn their new extent before the details area is sized.
  centralWidget()->layout()->activate();
  setSecondPane(Splitter1, settings.Panel4Height);
  setSecondPane(Splitter2, settings.Panel2Width);
  if (settings.MainState == MainStateMinimized) {
    setWindowState(windowState() | Qt::WindowMinimized);
  } else if (settings.MainState == MainStateMaximized) {
    setWindowState(windowState() | Qt::WindowMaximized);
  }
}

void TMainForm::WriteSettingsAtClose(bool consoleWasVisible) {
  const std::filesystem::path file = settingsFilePath(program_.InstallDir);
  if (program_.settings.ResetRequested) {
    if (!deleteSettingsFile(file)) {
      dialogs_.messageBox("Unable to delete the settings file:\n" + common::pathText(file), "error",
                          DialogIcon::Error, DialogButtons::Ok);
    }
    return;
  }
  StoreWindowSettings();
  StoreViewSettings(consoleWasVisible);
  try {
    writeCloseSettings(file, program_.settings);
  } catch (const common::IniError& failure) {
    dialogs_.messageBox(std::string("Error writing settings file:\n") + failure.what(), "error",
                        DialogIcon::Error, DialogButtons::Ok);
  }
}

}  // namespace corvane
