#include <gtest/gtest.h>

#include "corvane/snapshot/apply_snapshot.h"
#include "engine/engine_fixture.h"

namespace corvane::testing {
namespace {

using platform::start::Automatic;
using platform::start::Disabled;
using platform::start::Manual;
using platform::state::Running;
using platform::state::Stopped;

class RunBatchTest : public EngineTest {
 protected:
  RunBatchTest() {
    AddService({"Alerter", "Alerter", Manual});
    AddService({"Browser", "Computer Browser", Automatic});
    AddService({"Cisvc", "Indexing Service", Disabled});
    AddService({"Messenger", "Messenger", Manual, {"Alerter"}});
    Behaviour("Browser").state = Running;
    Behaviour("Messenger").state = Running;
    Behaviour("Alerter").state = Running;
    FillCatalogue();
  }

  // The entries as the snapshot window hands them over, then the worker's request.
  void RunBatchOf(const std::vector<SnapshotEntry>& entries, int mode) {
    FillBatchList(entries, mode, program, [this](const std::string& text) {
      ADD_FAILURE() << "unexpected message " << text;
    });
    host().events.clear();
    host().lines.clear();
    RunRequest(ReqExecuteBatch);
  }

  std::size_t Find(const std::string& text, std::size_t from = 0) {
    return host().Console().find(text, from);
  }
};

TEST_F(RunBatchTest, StartTypePhaseSetsEachStartType) {
  RunBatchOf({{"alerter", "x", "automatic", "started"},
              {"Browser", "x", "manual", "stopped"},
              {"Cisvc", "x", "disabled", "stopped"}},
             BatchModeStartTypes);
  EXPECT_EQ(StartTypeOf("Alerter"), Automatic);
  EXPECT_EQ(StartTypeOf("Browser"), Manual);
  EXPECT_EQ(StartTypeOf("Cisvc"), Disabled);
  // The states stay as they were.
  EXPECT_EQ(StateOf("Browser"), Running);

  EXPECT_EQ(host().Console(),
            "\noperation: execute batch\nupdate startup type."
            "\nservice: Alerter\nsetting starttype: automatic\nstatus updated."
            "\nservice: Computer Browser\nsetting starttype: manual\nstatus updated."
            "\nservice: Indexing Service\nsetting starttype: disabled\nstatus updated."
            "\nupdate startup type: done\n");
  EXPECT_TRUE(host().consoleVisible);
  EXPECT_EQ(host().Count("caption:Stop"), 1);
  EXPECT_EQ(host().Count("status:0.000000"), 2);  // at the start and for the first entry
  EXPECT_EQ(host().Count("status:50.000000"), 1);
  EXPECT_EQ(host().Count("status:100.000000"), 1);
  // Its own refresh, then the ending's.
  EXPECT_EQ(host().Count("refreshCatalogue"), 2);
  EXPECT_FALSE(request.BatchCanceled);
  EXPECT_TRUE(request.WorkerIdle);
}

TEST_F(RunBatchTest, StatePhaseStartsAndStopsWithTheTrees) {
  RunBatchOf({{"Alerter", "x", "manual", "stopped"}, {"Cisvc", "x", "manual", "started"}},
             BatchModeStates);
  // Messenger depends on Alerter: it was stopped first.
  EXPECT_EQ(StateOf("Messenger"), Stopped);
  EXPECT_EQ(StateOf("Alerter"), Stopped);
  // The start of a disabled service switches it to manual first.
  EXPECT_EQ(StateOf("Cisvc"), Running) << host().Console();
  EXPECT_EQ(StartTypeOf("Cisvc"), Manual);
  EXPECT_EQ(StartTypeOf("Alerter"), Manual);

  const std::size_t stop = Find("\nupdate status.\nservice: Alerter\ncontrols to send: stop");
  const std::size_t start = Find("\nservice: Indexing Service\ncontrols to send: start", stop);
  EXPECT_NE(stop, std::string::npos) << host().Console();
  EXPECT_NE(start, std::string::npos) << host().Console();
  EXPECT_NE(Find("\nupdate status: done\n", start), std::string::npos);
  EXPECT_EQ(host().Console().find("update startup type"), std::string::npos);
}

TEST_F(RunBatchTest, AServiceGoneFromTheCatalogueIsSkippedSilently) {
  FillBatchList({{"Alerter", "x", "disabled", "stopped"}, {"Browser", "x", "disabled", "stopped"}},
                BatchModeStartTypes, program, {});
  program.BatchList[0].ServiceName = "Removed";
  host().lines.clear();
  RunRequest(ReqExecuteBatch);
  EXPECT_EQ(host().Console(),
            "\noperation: execute batch\nupdate startup type."
            "\nservice: Computer Browser\nsetting starttype: disabled\nstatus updated."
            "\nupdate startup type: done\n");
  EXPECT_EQ(StartTypeOf("Alerter"), Manual);
}

TEST_F(RunBatchTest, OneEntryShowsTheWholeProgress) {
  RunBatchOf({{"Alerter", "x", "manual", "started"}}, BatchModeStates);
  EXPECT_EQ(host().Count("status:100.000000"), 1);
}

TEST_F(RunBatchTest, AStopRequestEndsTheBatchAtTheNextEntry) {
  FillBatchList({{"Alerter", "x", "automatic", "stopped"},
                 {"Browser", "x", "disabled", "stopped"},
                 {"Cisvc", "x", "automatic", "stopped"}},
                BatchModeStartTypes, program, {});
  QueueUi ui;
  request.WorkerIdle = false;
  batch worker(ReqExecuteBatch, Context(ui));
  worker.Resume();
  // The user presses Stop while the first entry is being changed.
  ui.RunUntil([&] { return Find("status updated.") != std::string::npos; });
  worker.Terminate();
  ui.RunUntil([&] { return request.WorkerIdle.load(); });
  worker.WaitFor();

  EXPECT_TRUE(request.BatchCanceled);
  EXPECT_EQ(StartTypeOf("Alerter"), Automatic);
  EXPECT_EQ(StartTypeOf("Browser"), Automatic);
  EXPECT_EQ(StartTypeOf("Cisvc"), Disabled);
  const std::string console = host().Console();
  EXPECT_NE(console.find("status updated.\n\nerror: canceled by user !\n"), std::string::npos)
      << console;
  EXPECT_EQ(console.find("Computer Browser"), std::string::npos);
  EXPECT_EQ(console.find("update startup type: done"), std::string::npos);
}

}  // namespace
}  // namespace corvane::testing
