// The real Windows computer the program runs on, behind the platform interfaces.
#pragma once

#include <memory>

#include "platform/platform.h"
#include "platform/win32/win32_event_logs.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_scm.h"
#include "platform/win32/win32_system.h"

namespace platform::win32 {

class Win32Platform : public Platform {
 public:
  Scm& scm() override { return scm_; }
  Registry& registry() override { return registry_; }
  EventLogs& eventLogs() override { return eventLogs_; }
  SystemInfo& systemInfo() override { return systemInfo_; }
  SystemMessages& messages() override { return messages_; }
  Clock& clock() override { return clock_; }
  Processes& processes() override { return processes_; }
  Icons& icons() override { return icons_; }

 private:
  Win32Scm scm_;
  Win32Registry registry_;
  Win32EventLogs eventLogs_;
  Win32SystemInfo systemInfo_;
  Win32Messages messages_;
  RealClock clock_;
  Win32Processes processes_;
  Win32Icons icons_;
};

std::unique_ptr<Platform> openWindowsPlatform();

}  // namespace platform::win32
