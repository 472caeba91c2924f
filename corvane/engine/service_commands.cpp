#include "corvane/engine/service_commands.h"

#include <utility>

#include "common/text.h"
#include "corvane/engine/request_state.h"
#include "platform/types.h"

namespace corvane {

namespace {

const char* const NoDependents = " - none - ";

const char* const ReservedModesWarning =
    "'Boot' and 'System' are reserved modes. Use them if you know what you are doing";
const char* const DisableWarning =
    "Are you sure you want to disable this service !?\nAny services explicitly depending on a "
    "disabled \nservice will fail to start. Disable anyway?";

}  // namespace

ServiceCommands::ServiceCommands(CommandWindow window, Dialogs& dialogs, ProgramState& program)
    : window_(std::move(window)), dialogs_(dialogs), program_(program) {}

void ServiceCommands::SubmitRunCommand(std::int32_t code) {
  program_.FullRefresh = false;
  program_.RefreshAllViews = true;
  window_.launchRequest(code);
}

const ServiceRecord* ServiceCommands::FindRecord(const std::string& serviceName) const {
  const Catalogue& catalogue = program_.catalogue;
  for (std::size_t i = 0; i < catalogue.ServiceCount; ++i) {
    if (catalogue.ServiceTable[i].ServiceName == serviceName)
      return &catalogue.ServiceTable[i];
  }
  return nullptr;
}

void ServiceCommands::Start() {
  window_.refreshSelectionDetails();
  const std::optional<SelectedService> selected = window_.selectedService();
  if (!selected || !common::equalsIgnoreCase(selected->startTypeText, "disabled")) {
    SubmitRunCommand(ReqStart);
    return;
  }
  const DialogResult answer = dialogs_.messageBox(
      "Service '" + selected->caption +
          "' is disabled !   \nIn order to be started, first it must be enabled.   \nSet "
          "StartupType to 'manual' and then start ?",
      "Service disabled !", DialogIcon::Warning, DialogButtons::OkCancel);
  if (answer == DialogResult::Ok)
    SubmitRunCommand(ReqManualAndStart);
}

void ServiceCommands::Restart() {
  SubmitRunCommand(ReqRestart);
}

void ServiceCommands::PauseResume() {
  SubmitRunCommand(ReqPauseResume);
}

void ServiceCommands::Stop() {
  const std::optional<SelectedService> selected = window_.selectedService();
  const ServiceRecord* record = selected ? FindRecord(selected->name) : nullptr;
  if (record == nullptr) {
    dialogs_.messageBox("Error: no service selected !", "", DialogIcon::Error, DialogButtons::Ok);
    return;
  }
  if (record->Dependents.empty() || record->Dependents.front() == NoDependents) {
    SubmitRunCommand(ReqStop);
    return;
  }
  // The record's texts are copied: the boxes below let window messages run.
  const std::string displayName = record->DisplayName;
  const std::vector<std::string> dependents = record->Dependents;
  std::string running;
  for (const std::string& name : dependents) {
    const ServiceRecord* dependent = FindRecord(name);
    if (dependent == nullptr) {
      dialogs_.messageBox("not found", "error", DialogIcon::None, DialogButtons::Ok);
      continue;
    }
    if (dependent->State != platform::state::Stopped)
      running += "\n    " + dependent->DisplayName;
  }
  if (running.empty()) {
    SubmitRunCommand(ReqStop);
    return;
  }
  const DialogResult answer = dialogs_.messageBox(
      "The following services depending on '" + displayName +
          "'          \nappear to be running at this moment:\n" + running +
          "\n\nThese services and their running dependents will be recursively          \nstopped "
          "before attempting to stop '" +
          displayName + "'.\nDo you wish to continue ?",
      "Stop service tree ?", DialogIcon::Warning, DialogButtons::YesNo);
  if (answer == DialogResult::Yes)
    SubmitRunCommand(ReqStop);
}

void ServiceCommands::SetStartType(std::uint32_t startType) {
  const char* warning = nullptr;
  if (startType == platform::start::Boot || startType == platform::start::System)
    warning = ReservedModesWarning;
  else if (startType == platform::start::Disabled)
    warning = DisableWarning;
  const bool confirmed = warning == nullptr || !program_.settings.ShowWarnings ||
                         dialogs_.messageBox(warning, "Warning", DialogIcon::Warning,
                                             DialogButtons::OkCancel) == DialogResult::Ok;
  if (confirmed && startType <= platform::start::Disabled) {
    program_.FullRefresh = false;
    program_.RefreshAllViews = false;
    window_.launchRequest(static_cast<std::int32_t>(startType));
  }
  window_.refreshSelectionDetails();
}

void ServiceCommands::ManualAndStop() {
  SubmitRunCommand(ReqManualAndStop);
}

void ServiceCommands::AutoAndStart() {
  SubmitRunCommand(ReqAutoAndStart);
}

void ServiceCommands::Uninstall() {
  const std::optional<SelectedService> selected = window_.selectedService();
  if (!selected)
    return;
  const DialogResult answer = dialogs_.messageBox(
      "You choosed to uninstall service: " + selected->caption +
          "\nThere is no rollback to the uninstall procedure!\nAre you sure you want to proceed "
          "with the uninstall?",
      "Confirm uninstall", DialogIcon::Warning, DialogButtons::OkCancel);
  if (answer != DialogResult::Ok)
    return;
  program_.FullRefresh = true;
  program_.RefreshAllViews = false;
  window_.launchRequest(ReqUninstall);
  window_.refreshSelectionDetails();
}

void ServiceCommands::SaveRegEntry() {
  window_.launchRequest(ReqBackupRegEntry);
  window_.refreshSelectionDetails();
}

void ServiceCommands::Refresh() {
  SubmitRunCommand(ReqRefresh);
}

}  // namespace corvane
