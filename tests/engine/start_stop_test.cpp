// Starting with dependencies and stopping with dependents: the order of a tree, the console
// narration and the waits under the virtual clock.
#include <gtest/gtest.h>

#include "corvane/engine/service_start_stop.h"
#include "engine_fixture.h"

namespace corvane::testing {
namespace {

using namespace platform;

using StartStopTest = EngineTest;

TEST_F(StartStopTest, ServiceAlreadyInTheWantedStateIsLeftAlone) {
  AddService({"Spooler", "Print Spooler"});
  RunService("Spooler");
  EXPECT_EQ(Start("Spooler"), 0);
  EXPECT_EQ(Lines(), std::vector<std::string>{"\nalready running."});
  EXPECT_EQ(Stop("Spooler"), 0);
  EXPECT_EQ(Lines().back(), "\nservice successfully stopped.");
  EXPECT_EQ(Stop("Spooler"), 0);
  EXPECT_EQ(Lines(), std::vector<std::string>{"\nalready stopped."});
}

TEST_F(StartStopTest, StartGoesDepthFirstInListOrderAndVisitsAServiceOnce) {
  AddService({"App", "App", start::Manual, {"Rpc", "Net"}});
  AddService({"Rpc", "Rpc", start::Manual, {"Base"}});
  AddService({"Net", "Net", start::Manual, {"Rpc"}, {"NetworkProvider"}});
  AddService({"Base", "Base"});
  AddService({"Other", "Other"});
  AddService(
      {"Provider", "Provider", start::Manual, {}, {}, svctype::OwnProcess, "NetworkProvider"});
  RunService("Provider");
  EXPECT_EQ(Start("app"), 0);
  EXPECT_EQ(Lines(),
            (std::vector<std::string>{
                "\ndependency -> starting: Base ...", " done.", "\ndependency -> starting: Rpc ...",
                " done.", "\ndependency -> Rpc: already running.",
                "\ndependent on a group: NetworkProvider", "\ndependency -> starting: Net ...",
                " done.", "\nstarting: App ...", "\nservice successfully started."}));
  for (const char* name : {"App", "Rpc", "Net", "Base"}) {
    EXPECT_EQ(StateOf(name), state::Running) << name;
  }
  EXPECT_EQ(StateOf("Other"), state::Stopped);
}

TEST_F(StartStopTest, GroupDependencyOnlyNamesTheGroup) {
  AddService({"Net", "Net", start::Manual, {}, {"NetworkProvider"}});
  AddService(
      {"Provider", "Provider", start::Manual, {}, {}, svctype::OwnProcess, "NetworkProvider"});
  // The members are the computer's business when it starts the service.
  EXPECT_EQ(Start("Net"), 0);
  EXPECT_EQ(Lines(),
            (std::vector<std::string>{"\ndependent on a group: NetworkProvider",
                                      "\nstarting: Net ...", "\nservice successfully started."}));
}

TEST_F(StartStopTest, DisabledServicesOnTheWayAreSwitchedToManualWithoutAsking) {
  AddService({"App", "App", start::Disabled, {"Lib"}});
  AddService({"Lib", "Lib", start::Disabled});
  EXPECT_EQ(Start("App"), 0);
  EXPECT_EQ(Lines(),
            (std::vector<std::string>{"\nApp:", " changing starttype to manual ...", " done.",
                                      "\nLib:", " changing starttype to manual ...", " done.",
                                      "\ndependency -> starting: Lib ...", " done.",
                                      "\nstarting: App ...", "\nservice successfully started."}));
  EXPECT_EQ(StartTypeOf("App"), start::Manual);
  EXPECT_EQ(StartTypeOf("Lib"), start::Manual);
  EXPECT_TRUE(host().Boxes().empty());
}

TEST_F(StartStopTest, MissingDependencyIsReportedAndTheServiceIsStillAttempted) {
  AddService({"App", "App", start::Manual, {"Ghost"}});
  EXPECT_EQ(Start("App"), -1);
  // The computer refuses a start whose dependency is missing; the refusal is narrated.
  EXPECT_EQ(Lines(), (std::vector<std::string>{"\nerror dependency not found: Ghost",
                                               "\nerror: can't start service App",
                                               "\nerrorcode: 1068 - " + [this] {
                                                 std::string text = messages.messageText(1068);
                                                 text.pop_back();
                                                 return text;
                                               }()}));
}

TEST_F(StartStopTest, ServiceMissingFromTheCatalogueGivesOnlyABox) {
  AddService({"App", "App"});
  EXPECT_EQ(Start("Nothing"), -1);
  EXPECT_EQ(Stop("Nothing"), -1);
  EXPECT_TRUE(Lines().empty());
  EXPECT_EQ(host().Boxes(), std::vector<std::string>{"application|error|error finding service !"});
}

TEST_F(StartStopTest, CircularDependenciesEndWithAnErrorInsteadOfRecursing) {
  AddService({"A", "A", start::Manual, {"B"}});
  AddService({"B", "B", start::Manual, {"A"}});
  Start("A");
  EXPECT_EQ(Lines().front(), "\nerror circular dependency: A");
  EXPECT_EQ(Stop("A"), 0);  // nothing runs: stopped already
}

TEST_F(StartStopTest, StartOutcomesAreJudgedAfterTheWait) {
  struct Case {
    sim::StartOutcome outcome;
    std::uint32_t exitCode;
    std::int32_t result;
    std::vector<std::string> tail;
  };
  const Case cases[] = {
      {sim::StartOutcome::Runs, 0, 0, {"\nservice successfully started."}},
      {sim::StartOutcome::Fails,
       0,
       -1,
       {"\nservice started and then stopped. some services stop automatically if they have "
        "nothing to do."}},
      {sim::StartOutcome::Fails,
       1067,
       -1,
       {"\nerror: service did not start",
        "\nerrorcode: 1067 - The process terminated unexpectedly.\r"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.exitCode);
    EngineWorld fresh;
    fresh.AddService({"Svc", "Svc"});
    sim::ServiceBehaviour& behaviour = fresh.Behaviour("Svc");
    behaviour.startMs = 1200;
    behaviour.outcome = c.outcome;
    behaviour.exitCode = c.exitCode;
    EXPECT_EQ(fresh.Start("Svc"), c.result);
    const std::vector<std::string> tail(fresh.Lines().end() - c.tail.size(), fresh.Lines().end());
    EXPECT_EQ(tail, c.tail);
  }
}

TEST_F(StartStopTest, NoProgressIsJudgedAfterThreeSecondsWhenTheWaitHintIsSmaller) {
  AddService({"Svc", "Svc"});
  sim::ServiceBehaviour& behaviour = Behaviour("Svc");
  behaviour.outcome = sim::StartOutcome::Hangs;
  Prepare();
  const std::uint32_t before = clock.tickCount();
  EXPECT_EQ(StartWithDependencies(Worker(), "Svc", true), -1);
  // 100 ms before the first look, then 500 ms polls until more than 3000 ms went by.
  EXPECT_EQ(clock.tickCount() - before, 100u + 3500u);
  EXPECT_EQ(request.PollInterval, MinPollInterval);
  EXPECT_EQ(Lines().back().rfind("\nerrorcode: 0 - ", 0), 0u);
  EXPECT_EQ(Lines()[Lines().size() - 2], "\nservice did not respond in a timely fashion.");
}

TEST_F(StartStopTest, ServiceThatKeepsAdvancingItsCheckPointIsWaitedForUntilTheBarIsFull) {
  AddService({"Svc", "Svc"});
  sim::ServiceBehaviour& behaviour = Behaviour("Svc");
  behaviour.startMs = 10'000'000;
  behaviour.checkPoints = 20'000;  // a new one every 500 ms
  behaviour.waitHint = 3000;       // polls of 500 ms
  Prepare();
  EXPECT_EQ(StartWithDependencies(Worker(), "Svc", true), -1);
  EXPECT_EQ(Lines()[Lines().size() - 2], "\nservice pending timed out.");
  EXPECT_EQ(host().progress, ConsoleProgressMax);
  // 3 before the start, steps of 3 up to 51, then of 1 up to 101: 66 polls of 500 ms.
  int polls = 0;
  for (const std::string& event : host().events)
    polls += event.rfind("progress:", 0) == 0;
  EXPECT_EQ(polls, 1 + 66);
  EXPECT_EQ(StateOf("Svc"), state::StartPending);
}

TEST_F(StartStopTest, WaitHintSetsThePollIntervalAndTheTimeWithoutProgress) {
  struct Case {
    std::uint32_t waitHint;
    std::uint32_t poll;
    std::uint32_t elapsed;  // 100 ms, then polls until more than the wait hint (at least 3 s)
  };
  for (const Case c : {Case{2000, 500, 100 + 7 * 500}, Case{12000, 1200, 100 + 11 * 1200},
                       Case{60000, 2000, 100 + 31 * 2000}}) {
    EngineWorld fresh;
    fresh.AddService({"Svc", "Svc"});
    sim::ServiceBehaviour& behaviour = fresh.Behaviour("Svc");
    behaviour.outcome = sim::StartOutcome::Hangs;
    behaviour.waitHint = c.waitHint;
    fresh.Prepare();
    const std::uint32_t before = fresh.clock.tickCount();
    EXPECT_EQ(StartWithDependencies(fresh.Worker(), "Svc", true), -1) << c.waitHint;
    EXPECT_EQ(fresh.request.PollInterval, c.poll) << c.waitHint;
    EXPECT_EQ(fresh.clock.tickCount() - before, c.elapsed) << c.waitHint;
    EXPECT_EQ(fresh.Lines()[fresh.Lines().size() - 2],
              "\nservice did not respond in a timely fashion.");
  }
}

TEST_F(StartStopTest, StopGoesThroughTheDependentsFirst) {
  AddService({"Base", "Base"});
  AddService({"Mid", "Mid", start::Manual, {"Base"}});
  AddService({"Top", "Top", start::Manual, {"Mid", "Base"}});
  AddService({"Side", "Side", start::Manual, {"Base"}});
  RunService("Top");
  RunService("Side");
  EXPECT_EQ(Stop("Base"), 0);
  EXPECT_EQ(Lines(),
            (std::vector<std::string>{"\ndependent -> stopping: Top ...", " done.",
                                      "\ndependent -> stopping: Mid ...", " done.",
                                      "\ndependent -> stopping: Side ...", " done.",
                                      "\ndependent -> Top: not running.", "\nstopping: Base ...",
                                      "\nservice successfully stopped."}));
  for (const char* name : {"Base", "Mid", "Top", "Side"}) {
    EXPECT_EQ(StateOf(name), state::Stopped) << name;
  }
}

TEST_F(StartStopTest, DependentThatRefusesToStopIsReportedAndTheStopIsStillSent) {
  AddService({"Base", "Base"});
  AddService({"User", "User", start::Manual, {"Base"}});
  Behaviour("User").acceptsStop = false;
  RunService("User");
  EXPECT_EQ(Stop("Base"), -1);
  EXPECT_EQ(Lines(), (std::vector<std::string>{
                         "\nerror: can't stop service User",
                         "\nerrorcode: 1052 - The requested control code is not valid, or it is "
                         "unacceptable to the service.",
                         "\nerror stopping dependent: User", "\nerror: can't stop service Base",
                         "\nerrorcode: 1051 - The service cannot be stopped because other running "
                         "services are dependent on it."}));
  EXPECT_EQ(StateOf("Base"), state::Running);
}

TEST_F(StartStopTest, StopThatHangsPendingTimesOutWithItsOwnMessage) {
  AddService({"Svc", "Svc"});
  Behaviour("Svc").stopMs = 10'000'000;
  Behaviour("Svc").checkPoints = 20'000;
  Behaviour("Svc").waitHint = 1000;
  RunService("Svc");
  EXPECT_EQ(Stop("Svc"), -1);
  EXPECT_EQ(Lines()[Lines().size() - 2], "\nservice pending timed out !");
}

}  // namespace
}  // namespace corvane::testing
