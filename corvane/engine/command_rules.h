// Which service commands of the main window are available for the selected service. Computed by
// the selection-details refresh after every selection change and after every request; a group
// node or no selection leaves every command unavailable (ServiceCommandStates{}).
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "corvane/catalogue/catalogue.h"

namespace corvane {

// The key name of the service whose start type must stay automatic or manual.
inline constexpr const char* RpcServiceName = "RpcSs";

struct ServiceCommandStates {
  // ToolButton1 to ToolButton4 and the pop-up items "&Start", "&Restart", "&Pause", "S&top".
  bool Start = false;
  bool Restart = false;
  bool Pause = false;  // pauses a running service, resumes a paused one
  bool Stop = false;
  // SpeedButton6 "man && stop" and SpeedButton7 "auto && start".
  bool ManualAndStop = false;
  bool AutoAndStart = false;
  // SpeedButton1 to SpeedButton5 and the pop-up items "&Boot" to "&Disable", by start type 0 to 4.
  std::array<bool, 5> StartTypes{};
  // The start type whose button is shown down and whose pop-up item is checked; none when the
  // service's start type is outside 0 to 4.
  std::optional<std::uint32_t> StartTypeDown;
  // The pop-up items "UnInstall" and "Save RegEntry".
  bool UnInstall = false;
  bool SaveRegEntry = false;
};

// The commands that suit `record`, from its service type, current state, accepted controls,
// start type and key name.
ServiceCommandStates ServiceCommandsFor(const ServiceRecord& record);

}  // namespace corvane
