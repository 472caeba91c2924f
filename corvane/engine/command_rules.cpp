#include "corvane/engine/command_rules.h"

#include "platform/types.h"

namespace corvane {

namespace {

bool IsDriver(std::int32_t type) {
  return type == static_cast<std::int32_t>(platform::svctype::KernelDriver) ||
         type == static_cast<std::int32_t>(platform::svctype::FileSystemDriver);
}

// Services in their own or a shared process, with or without desktop interaction: they cannot
// be loaded at boot or by the system.
bool RunsInAProcess(std::int32_t type) {
  switch (type) {
    case 0x10:
    case 0x20:
    case 0x100:
    case 0x110:
    case 0x120:
      return true;
    default:
      return false;
  }
}

void SetRunCommands(const ServiceRecord& record, ServiceCommandStates& states) {
  if (IsDriver(record.ServiceType))
    return;
  const bool acceptsStop = record.AcceptsStop != 0;
  switch (record.State) {
    case platform::state::Stopped:
      states.Start = true;
      states.AutoAndStart = true;
      break;
    case platform::state::StartPending:
    case platform::state::ContinuePending:
      states.Stop = true;
      break;
    case platform::state::Running:
      states.Restart = acceptsStop;
      states.Pause = record.AcceptsPause != 0;
      states.Stop = acceptsStop;
      states.ManualAndStop = acceptsStop;
      break;
    case platform::state::Paused:
      states.Pause = true;
      states.Stop = acceptsStop;
      states.ManualAndStop = acceptsStop;
      break;
    default:  // stop pending, pause pending
      break;
  }
}

}  // namespace

ServiceCommandStates ServiceCommandsFor(const ServiceRecord& record) {
  ServiceCommandStates states;
  SetRunCommands(record, states);
  states.UnInstall = true;
  states.SaveRegEntry = true;

  states.StartTypes.fill(true);
  if (RunsInAProcess(record.ServiceType)) {
    states.StartTypes[platform::start::Boot] = false;
    states.StartTypes[platform::start::System] = false;
  }
  if (record.StartType <= platform::start::Disabled)
    states.StartTypeDown = record.StartType;

  if (record.ServiceName == RpcServiceName) {
    states.StartTypes[platform::start::Boot] = false;
    states.StartTypes[platform::start::System] = false;
    states.StartTypes[platform::start::Disabled] = false;
    states.UnInstall = false;
  }
  return states;
}

}  // namespace corvane
