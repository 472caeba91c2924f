// One computer as the program sees it: every platform interface together.
#pragma once

#include <memory>
#include <string>

#include "platform/clock.h"
#include "platform/event_logs.h"
#include "platform/registry.h"
#include "platform/scm.h"
#include "platform/system_info.h"

namespace platform {

class Platform {
 public:
  virtual ~Platform() = default;
  virtual Scm& scm() = 0;
  virtual Registry& registry() = 0;
  virtual EventLogs& eventLogs() = 0;
  virtual SystemInfo& systemInfo() = 0;
  virtual SystemMessages& messages() = 0;
  virtual Clock& clock() = 0;
  virtual Processes& processes() = 0;
  virtual Icons& icons() = 0;
};

}  // namespace platform
