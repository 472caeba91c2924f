// The main window's service commands: the four tool buttons, the seven speed buttons and the
// service entries of the pop-up menu, and their availability for the selected service.
#include <QActionGroup>
#include <QTreeWidgetItem>

#include "corvane/catalogue/Qt_service_list_model.h"
#include "corvane/engine/command_rules.h"
#include "corvane/shell/Form_main.h"

namespace corvane {

namespace {

// Pop-up entries by index.
constexpr std::size_t PopupStart = 2;  // then Restart, Pause, Stop
constexpr std::size_t PopupBoot = 7;   // then System, Automatic, Manual, Disable
constexpr std::size_t PopupUnInstall = 13;
constexpr std::size_t PopupSaveRegEntry = 14;

}  // namespace

void TMainForm::ConnectServiceCommands() {
  CommandWindow window;
  window.refreshSelectionDetails = [this] { RefreshSelectionDetails(); };
  window.selectedService = [this] { return CommandTarget(); };
  window.launchRequest = [this](std::int32_t code) { LaunchRequest(code); };
  commands_.emplace(std::move(window), dialogs_, program_);

  void (TMainForm::*const toolHandlers[4])() = {
      &TMainForm::ToolButton1Click, &TMainForm::ToolButton2Click, &TMainForm::ToolButton3Click,
      &TMainForm::ToolButton4Click};
  for (std::size_t i = 0; i < ToolButtons.size(); ++i) {
    notYetAvailable_.erase(ToolButtons[i]);
    connect(ToolButtons[i], &QToolButton::clicked, this, toolHandlers[i]);
    notYetAvailable_.erase(PopupItems[PopupStart + i]);
    connect(PopupItems[PopupStart + i], &QAction::triggered, this, toolHandlers[i]);
  }
  void (TMainForm::*const speedHandlers[7])() = {
      &TMainForm::SpeedButton1Click, &TMainForm::SpeedButton2Click, &TMainForm::SpeedButton3Click,
      &TMainForm::SpeedButton4Click, &TMainForm::SpeedButton5Click, &TMainForm::SpeedButton6Click,
      &TMainForm::SpeedButton7Click};
  for (std::size_t i = 0; i < SpeedButtons.size(); ++i) {
    notYetAvailable_.erase(SpeedButtons[i]);
    connect(SpeedButtons[i], &QToolButton::clicked, this, speedHandlers[i]);
    if (i < 5) {
      notYetAvailable_.erase(PopupItems[PopupBoot + i]);
      connect(PopupItems[PopupBoot + i], &QAction::triggered, this, speedHandlers[i]);
    }
  }
  // The start-type items may all be unchecked, as the buttons may all be up.
  PopupItems[PopupBoot]->actionGroup()->setExclusionPolicy(
      QActionGroup::ExclusionPolicy::ExclusiveOptional);
  notYetAvailable_.erase(PopupItems[PopupUnInstall]);
  connect(PopupItems[PopupUnInstall], &QAction::triggered, this, &TMainForm::UnInstall1Click);
  notYetAvailable_.erase(PopupItems[PopupSaveRegEntry]);
  connect(PopupItems[PopupSaveRegEntry], &QAction::triggered, this, &TMainForm::SaveRegEntry1Click);
}

void TMainForm::EnableServiceCommands(const ServiceRecord& record) {
  const ServiceCommandStates states = ServiceCommandsFor(record);
  const bool run[4] = {states.Start, states.Restart, states.Pause, states.Stop};
  for (std::size_t i = 0; i < ToolButtons.size(); ++i) {
    setCommandEnabled(ToolButtons[i], run[i]);
    setCommandEnabled(PopupItems[PopupStart + i], run[i]);
  }
  for (std::size_t type = 0; type < states.StartTypes.size(); ++type) {
    const bool down = states.StartTypeDown == type;
    setCommandEnabled(SpeedButtons[type], states.StartTypes[type]);
    SpeedButtons[type]->setChecked(down);
    setCommandEnabled(PopupItems[PopupBoot + type], states.StartTypes[type]);
    PopupItems[PopupBoot + type]->setChecked(down);
  }
  setCommandEnabled(SpeedButtons[5], states.ManualAndStop);
  setCommandEnabled(SpeedButtons[6], states.AutoAndStart);
  setCommandEnabled(PopupItems[PopupUnInstall], states.UnInstall);
  setCommandEnabled(PopupItems[PopupSaveRegEntry], states.SaveRegEntry);
}

std::optional<SelectedService> TMainForm::CommandTarget() {
  const MainPage page = ActivePage();
  if (page == MainPage::ServiceList) {
    const QModelIndexList selected = ServList->selectionModel()->selectedRows();
    if (selected.isEmpty()) {
      return std::nullopt;
    }
    const ServRow& row = servListModel_->row(selected.first().row());
    if (!row.hasCells) {
      return std::nullopt;
    }
    return SelectedService{row.serviceName(), row.texts[0], row.texts[ServStartTypeColumn]};
  }
  if (page == MainPage::ServiceGroups) {
    // A service node of the groups tree carries the display name of its record.
    const QTreeWidgetItem* node = Groups->currentItem();
    if (node == nullptr || !node->isSelected()) {
      return std::nullopt;
    }
    const std::string text = node->text(0).toStdString();
    const Catalogue& catalogue = program_.catalogue;
    for (std::size_t i = 0; i < catalogue.ServiceCount; ++i) {
      const ServiceRecord& record = catalogue.ServiceTable[i];
      if (record.DisplayName == text) {
        return SelectedService{record.ServiceName, record.DisplayName, record.StartTypeText};
      }
    }
  }
  return std::nullopt;
}

void TMainForm::ToolButton1Click() {
  commands_->Start();
}

void TMainForm::ToolButton2Click() {
  commands_->Restart();
}

void TMainForm::ToolButton3Click() {
  commands_->PauseResume();
}

void TMainForm::ToolButton4Click() {
  commands_->Stop();
}

void TMainForm::SpeedButton1Click() {
  commands_->SetStartType(platform::start::Boot);
}

void TMainForm::SpeedButton2Click() {
  commands_->SetStartType(platform::start::System);
}

void TMainForm::SpeedButton3Click() {
  commands_->SetStartType(platform::start::Automatic);
}

void TMainForm::SpeedButton4Click() {
  commands_->SetStartType(platform::start::Manual);
}

void TMainForm::SpeedButton5Click() {
  commands_->SetStartType(platform::start::Disabled);
}

void TMainForm::SpeedButton6Click() {
  commands_->ManualAndStop();
}

void TMainForm::SpeedButton7Click() {
  commands_->AutoAndStart();
}

void TMainForm::UnInstall1Click() {
  commands_->Uninstall();
}

void TMainForm::SaveRegEntry1Click() {
  commands_->SaveRegEntry();
}

}  // namespace corvane
