// The marker file browse.flag in InstallDir: Lorvin writes it at start, Corvane deletes it when it
// closes, and every Lorvin closes itself once the file is gone.
#pragma once

#include <filesystem>

namespace lorvin {

inline constexpr const char* MarkerFileName = "browse.flag";

class MarkerWatch {
 public:
  explicit MarkerWatch(std::filesystem::path marker) : marker_(std::move(marker)) {}

  // Writes the empty marker file, replacing any. False when it cannot be written: the watch is
  // then off, since a missing file would say nothing about Corvane.
  bool Start();
  // The marker was written and has disappeared since.
  bool MarkerGone() const;

  const std::filesystem::path& path() const { return marker_; }

 private:
  std::filesystem::path marker_;
  bool watching_ = false;
};

// What the 500 ms timer does on a tick.
struct TimerTick {
  bool stopEnabled = false;  // BStop, exactly while the browser is busy
  bool closeWindow = false;  // the marker file has gone
};

TimerTick OnTimerTick(bool browserBusy, const MarkerWatch& marker);

}  // namespace lorvin
