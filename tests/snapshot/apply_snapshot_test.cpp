#include <gtest/gtest.h>

#include "corvane/snapshot/apply_snapshot.h"

namespace corvane {
namespace {

ServiceRecord Listed(const std::string& name, const std::string& display) {
  ServiceRecord record;
  record.ServiceName = name;
  record.DisplayName = display;
  return record;
}

TEST(BatchList, TakesTheValidEntriesOfInstalledServices) {
  ProgramState program;
  program.catalogue.ServiceTable[0] = Listed("Alerter", "Alerter");
  program.catalogue.ServiceTable[1] = Listed("Browser", "Computer Browser");
  program.catalogue.ServiceTable[2] = Listed("Spooler", "Print Spooler");
  program.catalogue.ServiceCount = 3;
  std::vector<std::string> messages;
  const std::vector<SnapshotEntry> entries = {
      {"browser", "Old name", "disabled", "stopped"},
      {"Gone", "Gone", "Automatic", "paused"},  // not installed: no message
      {"Alerter", "Alerter", "Automatic", "started"},
      {"Spooler", "Spooler entry", "manual", "paused"},
      {"Alerter", "Alerter again", "automatic", "started"},
  };
  FillBatchList(entries, BatchModeStates, program,
                [&](const std::string& text) { messages.push_back(text); });
  EXPECT_EQ(messages, (std::vector<std::string>{"invalid starttype: Alerter",
                                                "invalid status: Spooler entry"}));
  ASSERT_EQ(program.BatchCount, 2u);
  EXPECT_EQ(program.BatchMode, BatchModeStates);
  const ServiceRecord& first = program.BatchList[0];
  EXPECT_EQ(first.ServiceName, "Browser");
  EXPECT_EQ(first.DisplayName, "Computer Browser");
  EXPECT_EQ(first.StartType, platform::start::Disabled);
  EXPECT_EQ(first.State, platform::state::Stopped);
  EXPECT_EQ(program.BatchList[1].StartType, platform::start::Automatic);
  EXPECT_EQ(program.BatchList[1].State, platform::state::Running);

  FillBatchList({}, BatchModeStartTypes, program, {});
  EXPECT_EQ(program.BatchCount, 0u);
  EXPECT_EQ(program.BatchMode, BatchModeStartTypes);
}

TEST(BatchList, GrowsPastItsFirstRecords) {
  ProgramState program;
  program.catalogue.ServiceTable[0] = Listed("Alerter", "Alerter");
  program.catalogue.ServiceCount = 1;
  const std::vector<SnapshotEntry> entries(1200, {"Alerter", "Alerter", "manual", "stopped"});
  FillBatchList(entries, BatchModeStartTypes, program, {});
  EXPECT_EQ(program.BatchCount, 1200u);
  EXPECT_EQ(program.BatchList[1199].ServiceName, "Alerter");
}

// Two phases of a fake worker: each phase runs for a number of polls, and may be cancelled.
struct FakeApply : ApplyHost {
  std::vector<std::string> events;
  int pollsPerPhase = 3;
  int polls = 0;
  bool canceled = false;
  bool cancelPhase1 = false;
  bool submits = true;
  int closeAfterPolls = -1;
  int sleptMs = 0;

  void HideSnapshotWindow() override { events.push_back("hide"); }
  void ClearBatchCanceled() override { canceled = false; }
  bool BatchCanceled() override { return canceled; }
  bool BuildBatchList(int mode) override {
    events.push_back("phase " + std::to_string(mode));
    polls = 0;
    if (mode == BatchModeStartTypes && cancelPhase1)
      canceled = true;
    return submits;
  }
  bool WorkerIdle() override { return pollsPerPhase >= 0 && polls >= pollsPerPhase; }
  void ProcessMessages() override { ++polls; }
  bool Closing() override { return closeAfterPolls >= 0 && polls >= closeAfterPolls; }
  void Sleep(std::uint32_t ms) override { sleptMs += static_cast<int>(ms); }
  void ErrorBox(const std::string& text, const std::string& caption) override {
    events.push_back(caption + ": " + text);
  }
  void FocusConsoleButton() override { events.push_back("focus"); }
};

using Events = std::vector<std::string>;

TEST(ApplySnapshot, RunsTheChosenPhasesInOrder) {
  struct Case {
    bool startType, status;
    Events events;
  };
  const Case cases[] = {
      {true, true, {"hide", "phase 1", "phase 2", "focus"}},
      {false, true, {"hide", "phase 2", "focus"}},
      {true, false, {"hide", "phase 1", "focus"}},
      {false, false, {"hide", "focus"}},
  };
  for (const Case& c : cases) {
    FakeApply host;
    ApplySnapshot(c.startType, c.status, host);
    EXPECT_EQ(host.events, c.events);
  }
}

TEST(ApplySnapshot, ACancelledFirstPhaseSkipsTheSecond) {
  FakeApply host;
  host.canceled = true;  // left over from an earlier apply: cleared first
  host.cancelPhase1 = true;
  ApplySnapshot(true, true, host);
  EXPECT_EQ(host.events,
            (Events{"hide", "phase 1",
                    "apply snapshot: stopped: Operation canceled by user request !", "focus"}));
}

TEST(ApplySnapshot, ADroppedRequestIsNotWaitedFor) {
  FakeApply host;
  host.submits = false;
  host.pollsPerPhase = -1;  // a wait would never end
  ApplySnapshot(true, true, host);
  EXPECT_EQ(host.events, (Events{"hide", "phase 1", "phase 2", "focus"}));
}

TEST(WaitForWorker, GivesUpAfter10010Polls) {
  FakeApply host;
  host.pollsPerPhase = 10010;
  EXPECT_EQ(WaitForWorker(host), WorkerWait::TimedOut);
  EXPECT_EQ(host.polls, 10010);
  EXPECT_EQ(host.sleptMs, 50 * 10011);

  FakeApply justInTime;
  justInTime.pollsPerPhase = 10009;
  EXPECT_EQ(WaitForWorker(justInTime), WorkerWait::Idle);

  FakeApply timedOut;
  timedOut.pollsPerPhase = -1;
  ApplySnapshot(true, true, timedOut);
  EXPECT_EQ(
      timedOut.events,
      (Events{"hide", "phase 1",
              "apply snapshot: unknown status: Timeout waiting for secondary thread to finish.",
              "focus"}));
}

TEST(WaitForWorker, ClosingLeavesTheApplyAtOnce) {
  FakeApply host;
  host.pollsPerPhase = -1;
  host.closeAfterPolls = 4;
  ApplySnapshot(true, true, host);
  EXPECT_EQ(host.events, (Events{"hide", "phase 1"}));
  EXPECT_EQ(host.polls, 4);
}

}  // namespace
}  // namespace corvane
