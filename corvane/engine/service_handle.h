// A service handle that is closed on every path out of the routine that opened it.
#pragma once

#include "platform/scm.h"

namespace corvane {

class OpenedService {
 public:
  // Opens `name` with full access on `manager` into `slot`; 0 when it could not be opened.
  OpenedService(platform::Scm& scm, platform::ScHandle manager, const std::string& name,
                platform::ScHandle& slot)
      : scm_(scm), slot_(slot) {
    slot_ = scm_.openService(manager, name, platform::access::ServiceAll);
  }
  ~OpenedService() { Close(); }
  OpenedService(const OpenedService&) = delete;
  OpenedService& operator=(const OpenedService&) = delete;

  explicit operator bool() const { return slot_ != 0; }
  platform::ScHandle Handle() const { return slot_; }
  void Close() {
    if (slot_ != 0)
      scm_.closeServiceHandle(slot_);
    slot_ = 0;
  }

 private:
  platform::Scm& scm_;
  platform::ScHandle& slot_;
};

}  // namespace corvane
