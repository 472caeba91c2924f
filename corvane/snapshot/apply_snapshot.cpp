#include "corvane/snapshot/apply_snapshot.h"

#include "common/text.h"
#include "platform/types.h"

namespace corvane {

namespace {

constexpr std::uint32_t WaitSleep = 50;
constexpr int WaitPollsPerTen = 10;
constexpr int WaitTensLimit = 1000;

const ServiceRecord* findRecord(const Catalogue& catalogue, const std::string& name) {
  for (std::size_t i = 0; i < catalogue.ServiceCount; ++i) {
    if (common::equalsIgnoreCase(catalogue.ServiceTable[i].ServiceName, name))
      return &catalogue.ServiceTable[i];
  }
  return nullptr;
}

// One phase: false when the apply must stop here.
bool RunPhase(int mode, ApplyHost& host, bool& leave) {
  if (!host.BuildBatchList(mode))
    return true;
  switch (WaitForWorker(host)) {
    case WorkerWait::Closing:
      leave = true;
      return false;
    case WorkerWait::TimedOut:
      host.ErrorBox(ApplyTimeoutText, ApplyTimeoutCaption);
      return false;
    case WorkerWait::Idle:
      break;
  }
  if (host.BatchCanceled()) {
    host.ErrorBox(ApplyCanceledText, ApplyCanceledCaption);
    return false;
  }
  return true;
}

}  // namespace

std::optional<std::uint32_t> StartTypeOfText(const std::string& text) {
  if (text == "automatic")
    return platform::start::Automatic;
  if (text == "manual")
    return platform::start::Manual;
  if (text == "disabled")
    return platform::start::Disabled;
  return std::nullopt;
}

std::optional<std::uint32_t> StateOfText(const std::string& text) {
  if (text == "started")
    return platform::state::Running;
  if (text == "stopped")
    return platform::state::Stopped;
  return std::nullopt;
}

void FillBatchList(const std::vector<SnapshotEntry>& entries, int mode, ProgramState& program,
                   const std::function<void(const std::string&)>& showMessage) {
  std::size_t count = 0;
  for (const SnapshotEntry& entry : entries) {
    const ServiceRecord* record = findRecord(program.catalogue, entry.Name);
    if (record == nullptr)
      continue;
    const std::optional<std::uint32_t> startType = StartTypeOfText(entry.StartupType);
    if (!startType) {
      showMessage("invalid starttype: " + entry.DisplayName);
      continue;
    }
    const std::optional<std::uint32_t> state = StateOfText(entry.Status);
    if (!state) {
      showMessage("invalid status: " + entry.DisplayName);
      continue;
    }
    if (count == program.BatchList.size())
      program.BatchList.resize(count + InitialTableRecords);
    ServiceRecord& target = program.BatchList[count];
    target.ServiceName = record->ServiceName;
    target.DisplayName = record->DisplayName;
    target.StartType = *startType;
    target.State = *state;
    ++count;
  }
  program.BatchCount = count;
  program.BatchMode = mode;
}

WorkerWait WaitForWorker(ApplyHost& host) {
  host.Sleep(WaitSleep);
  int polls = 0;
  for (;;) {
    if (host.WorkerIdle())
      return WorkerWait::Idle;
    host.ProcessMessages();
    if (host.Closing())
      return WorkerWait::Closing;
    host.Sleep(WaitSleep);
    ++polls;
    if (polls / WaitPollsPerTen > WaitTensLimit)
      return WorkerWait::TimedOut;
  }
}

void ApplySnapshot(bool applyStartType, bool applyStatus, ApplyHost& host) {
  host.HideSnapshotWindow();
  host.ClearBatchCanceled();
  bool leave = false;
  bool goOn = true;
  if (applyStartType)
    goOn = RunPhase(BatchModeStartTypes, host, leave);
  if (leave)
    return;
  if (goOn && applyStatus) {
    RunPhase(BatchModeStates, host, leave);
    if (leave)
      return;
  }
  host.FocusConsoleButton();
}

}  // namespace corvane
