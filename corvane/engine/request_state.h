// The request: its code and the program-wide variables that carry it from the main window to the
// worker and back. FullRefresh, RefreshAllViews, RequestsBlocked, SnapshotRequest, StatusBuffer
// and the catalogue live in ProgramState (corvane/shell/program_state.h).
//
// The user-interface thread writes these before it resumes the worker and reads them after the
// worker's hand-overs; the worker reads and writes them only between its hand-overs. Only
// WorkerIdle is read across threads without a hand-over, so it is atomic.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/scm.h"
#include "platform/types.h"

namespace corvane {

class batch;

// Request codes. Any other value is dispatched as an unknown request.
inline constexpr std::int32_t ReqStartTypeBoot = 0;
inline constexpr std::int32_t ReqStartTypeSystem = 1;
inline constexpr std::int32_t ReqStartTypeAutomatic = 2;
inline constexpr std::int32_t ReqStartTypeManual = 3;
inline constexpr std::int32_t ReqStartTypeDisabled = 4;
inline constexpr std::int32_t ReqRefreshAll = -1;
inline constexpr std::int32_t ReqRefresh = -2;
inline constexpr std::int32_t ReqStart = -10;
inline constexpr std::int32_t ReqRestart = -11;
inline constexpr std::int32_t ReqPauseResume = -12;
inline constexpr std::int32_t ReqStop = -13;
inline constexpr std::int32_t ReqAutoAndStart = -14;
inline constexpr std::int32_t ReqManualAndStop = -15;
inline constexpr std::int32_t ReqManualAndStart = -16;
inline constexpr std::int32_t ReqUninstall = -50;
inline constexpr std::int32_t ReqBackupRegEntry = -60;
inline constexpr std::int32_t ReqExecuteBatch = -100;
inline constexpr std::int32_t ReqTakeSnapshot = -200;
inline constexpr std::int32_t ReqLoadSnapshot = -300;

// Waits for a service (milliseconds, and the console progress-bar step per poll).
inline constexpr std::uint32_t MinPollInterval = 500;
inline constexpr std::uint32_t MaxPollInterval = 2000;
inline constexpr std::uint32_t InitialPollInterval = 1000;
inline constexpr int ProgressStep = 3;
inline constexpr std::uint32_t WaitHintFactor = 1;

// The console's progress bar runs from 0 to 101; a wait gives up once it passes 100.
inline constexpr int ConsoleProgressMin = 0;
inline constexpr int ConsoleProgressMax = 101;

struct RequestState {
  std::int32_t OperationCode = 0;
  // Key and display name of the service the request acts on; "error" when none was resolved.
  std::string RequestServiceName;
  std::string RequestDisplayName;
  // The line being handed from the worker to the console.
  std::string ConsoleLine;
  // The percentage of a batch shown in the status bar.
  float ProgressPercent = 0;
  // The service control manager connection of the request.
  platform::ScHandle ScmHandle = 0;
  bool ScmAvailable = false;
  // The service opened by the current step.
  platform::ScHandle ServiceHandle = 0;
  // The enumeration answer, allocated with each worker and freed when it ends.
  std::vector<platform::EnumServiceEntry> EnumBuffer;
  // The running worker; meaningful only while WorkerIdle is false.
  batch* CurrentWorker = nullptr;
  // No worker runs. Cleared by the launcher, set by the worker as its last step.
  std::atomic<bool> WorkerIdle{true};
  bool LoadSnapshotRequest = false;
  bool BatchCanceled = false;
  bool SkipEventLogFillOnce = false;
  bool FirstCompletion = true;
  // The last computed poll sleep, shared by every wait of this run of the program.
  std::uint32_t PollInterval = InitialPollInterval;

  // The main window's flags. Busy: a view fill or a worker completion is in progress (set at
  // creation, cleared by the first completion). Closing: the program is shutting down.
  bool Busy = true;
  bool Closing = false;
};

// The request state of the running program; tests make their own.
RequestState& requestState();

}  // namespace corvane
