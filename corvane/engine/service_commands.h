// The service commands of the main window: each checks its precondition, asks where the
// operation is risky, sets the request flags and submits its request code.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "corvane/shell/dialogs.h"
#include "corvane/shell/program_state.h"

namespace corvane {

// The service a command acts on, as the active page shows it: on the services page the selected
// row's Name cell, caption and start-type cell; on the groups page the selected service node's
// record.
struct SelectedService {
  std::string name;
  std::string caption;
  std::string startTypeText;
};

// What the commands need of the main window.
struct CommandWindow {
  std::function<void()> refreshSelectionDetails;
  // Nothing when no service is selected.
  std::function<std::optional<SelectedService>()> selectedService;
  // LaunchRequest; dropped requests are lost without notice.
  std::function<void(std::int32_t)> launchRequest;
};

class ServiceCommands {
 public:
  ServiceCommands(CommandWindow window, Dialogs& dialogs, ProgramState& program);

  // ToolButton1Click: ReqStart, or, after the question, ReqManualAndStart for a disabled service.
  void Start();
  void Restart();
  // Pauses a running service, resumes a paused one.
  void PauseResume();
  // ToolButton4Click: asks before stopping a service whose dependents run.
  void Stop();
  // SpeedButton1Click to SpeedButton5Click, start types 0 to 4; Boot, System and Disabled ask
  // first while the ShowWarnings setting is on.
  void SetStartType(std::uint32_t startType);
  void ManualAndStop();
  void AutoAndStart();
  void Uninstall();
  void SaveRegEntry();
  void Refresh();

 private:
  // Submits with FullRefresh cleared and RefreshAllViews set (the run commands).
  void SubmitRunCommand(std::int32_t code);
  const ServiceRecord* FindRecord(const std::string& serviceName) const;

  CommandWindow window_;
  Dialogs& dialogs_;
  ProgramState& program_;
};

}  // namespace corvane
