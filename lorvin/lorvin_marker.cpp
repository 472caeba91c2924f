#include "lorvin/lorvin_marker.h"

#include <system_error>

#include "common/atomic_file.h"

namespace lorvin {

bool MarkerWatch::Start() {
  try {
    common::writeFileAtomically(marker_, "");
    watching_ = true;
  } catch (const common::FileError&) {
    watching_ = false;
  }
  return watching_;
}

bool MarkerWatch::MarkerGone() const {
  if (!watching_) {
    return false;
  }
  std::error_code error;
  const bool present = std::filesystem::exists(marker_, error);
  // A file that cannot be looked at is not taken as gone.
  return !present && !error;
}

TimerTick OnTimerTick(bool browserBusy, const MarkerWatch& marker) {
  return TimerTick{browserBusy, marker.MarkerGone()};
}

}  // namespace lorvin
