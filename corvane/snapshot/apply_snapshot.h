// Applying a snapshot: its entries go into BatchList, and the worker applies first the start
// types and then the states, each as one ReqExecuteBatch request.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "corvane/shell/program_state.h"
#include "corvane/snapshot/snapshot_file.h"

namespace corvane {

inline constexpr int BatchModeStartTypes = 1;
inline constexpr int BatchModeStates = 2;

// "automatic" 2, "manual" 3, "disabled" 4; "started" 4 (running), "stopped" 1. Exact texts only.
std::optional<std::uint32_t> StartTypeOfText(const std::string& text);
std::optional<std::uint32_t> StateOfText(const std::string& text);

// Steps 1 and 2 of BuildBatchList: the entries whose service is in the catalogue and whose both
// texts are valid go into BatchList (which grows when they are more than its records); an invalid
// text gives "invalid starttype: " or "invalid status: " with the entry's display name. Sets
// BatchCount and BatchMode.
void FillBatchList(const std::vector<SnapshotEntry>& entries, int mode, ProgramState& program,
                   const std::function<void(const std::string&)>& showMessage);

// What the two-phase apply needs of the windows and the worker.
class ApplyHost {
 public:
  virtual ~ApplyHost() = default;
  virtual void HideSnapshotWindow() = 0;
  virtual void ClearBatchCanceled() = 0;
  virtual bool BatchCanceled() = 0;
  // BuildBatchList for the phase: fills BatchList, sets the refresh flags and submits
  // ReqExecuteBatch; true when the worker was started.
  virtual bool BuildBatchList(int mode) = 0;
  virtual bool WorkerIdle() = 0;
  virtual void ProcessMessages() = 0;
  virtual bool Closing() = 0;
  virtual void Sleep(std::uint32_t milliseconds) = 0;
  // A box owned by the snapshot window, with the error icon.
  virtual void ErrorBox(const std::string& text, const std::string& caption) = 0;
  // Gives the console's button the focus when the console is visible and the button enabled.
  virtual void FocusConsoleButton() = 0;
};

enum class WorkerWait { Idle, TimedOut, Closing };

// Sleeps 50 ms, then polls WorkerIdle, letting messages run and sleeping 50 ms between polls;
// gives up after 10010 polls (about 500 seconds).
WorkerWait WaitForWorker(ApplyHost& host);

inline constexpr const char* ApplyTimeoutCaption = "apply snapshot: unknown status";
inline constexpr const char* ApplyTimeoutText = "Timeout waiting for secondary thread to finish.";
inline constexpr const char* ApplyCanceledCaption = "apply snapshot: stopped";
inline constexpr const char* ApplyCanceledText = "Operation canceled by user request !";

// ApplyClick's flow: the start-type phase when `applyStartType`, then the state phase when
// `applyStatus`, unless the first was cancelled or timed out.
void ApplySnapshot(bool applyStartType, bool applyStatus, ApplyHost& host);

}  // namespace corvane
