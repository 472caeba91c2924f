// Restart, pause and resume, and the start-type changes, under the virtual clock.
#include <gtest/gtest.h>

#include "corvane/engine/service_pause.h"
#include "corvane/engine/service_restart.h"
#include "engine_fixture.h"

namespace corvane::testing {
namespace {

using namespace platform;

class RestartPauseTest : public EngineTest {
 protected:
  // The operations act on the resolved service.
  std::int32_t Restart(const std::string& name) {
    Prepare();
    request.RequestServiceName = name;
    return RestartService(Worker(), name);
  }
  std::int32_t PauseOrResumeService(const std::string& name) {
    Prepare();
    request.RequestServiceName = name;
    return PauseOrResume(Worker());
  }
};

TEST_F(RestartPauseTest, RestartStopsAndStartsTheService) {
  AddService({"Svc", "Service"});
  RunService("Svc");
  EXPECT_EQ(Restart("Svc"), 0);
  EXPECT_EQ(Lines(), (std::vector<std::string>{
                         "\nstopping: Service ...", "\nservice stopped; restarting...",
                         "\nstarting: Service ...", "\nservice successfully restarted"}));
  EXPECT_EQ(StateOf("Svc"), state::Running);
}

TEST_F(RestartPauseTest, RestartOfAStoppedServiceFailsAtTheStopControl) {
  AddService({"Svc", "Service"});
  EXPECT_EQ(Restart("Svc"), -1);
  EXPECT_EQ(Lines(),
            (std::vector<std::string>{"\nerror: can't stop service",
                                      "\nerrorcode: 1062 - The service has not been started."}));
}

TEST_F(RestartPauseTest, RestartWithoutWaitHintGivesUpAfterTheFirstPoll) {
  AddService({"Svc", "Service"});
  Behaviour("Svc").stopMs = 5000;
  RunService("Svc");
  const std::uint32_t before = clock.tickCount();
  EXPECT_EQ(Restart("Svc"), -1);
  EXPECT_EQ(clock.tickCount() - before, 100u + MinPollInterval);
  EXPECT_EQ(Lines().back(), "\nservice did not respond in a timely fashion.");
}

TEST_F(RestartPauseTest, RestartFollowsCheckPointsUntilTheServiceIsBack) {
  AddService({"Svc", "Service"});
  sim::ServiceBehaviour& behaviour = Behaviour("Svc");
  behaviour.stopMs = 3000;
  behaviour.startMs = 3000;
  behaviour.checkPoints = 6;
  behaviour.waitHint = 1000;
  RunService("Svc");
  EXPECT_EQ(Restart("Svc"), 0);
  EXPECT_EQ(Lines().back(), "\nservice successfully restarted");
  EXPECT_EQ(StateOf("Svc"), state::Running);
}

TEST_F(RestartPauseTest, RestartOfAServiceMissingFromTheCatalogueFails) {
  AddService({"Svc", "Service"});
  EXPECT_EQ(Restart("Ghost"), -1);
  EXPECT_EQ(Lines().front(), "\nerror: can't find service");
}

TEST_F(RestartPauseTest, PauseAndResumeTakeTurns) {
  AddService({"Svc", "Service"});
  Behaviour("Svc").acceptsPause = true;
  RunService("Svc");
  EXPECT_EQ(PauseOrResumeService("Svc"), 0);
  EXPECT_EQ(Lines(), (std::vector<std::string>{"\nwaiting service to pause...",
                                               "\nservice successfully paused."}));
  EXPECT_EQ(StateOf("Svc"), state::Paused);
  EXPECT_EQ(PauseOrResumeService("Svc"), 0);
  EXPECT_EQ(Lines(), (std::vector<std::string>{"\nwaiting service to resume...",
                                               "\nservice successfully resumed"}));
  EXPECT_EQ(StateOf("Svc"), state::Running);
}

TEST_F(RestartPauseTest, PauseWithAZeroCheckPointGetsOnePollAndHalfASecond) {
  AddService({"Svc", "Service"});
  Behaviour("Svc").acceptsPause = true;
  Behaviour("Svc").pauseMs = 60000;
  RunService("Svc");
  const std::uint32_t before = clock.tickCount();
  EXPECT_EQ(PauseOrResumeService("Svc"), -1);
  EXPECT_EQ(clock.tickCount() - before, InitialPollInterval + 500u);
  EXPECT_EQ(Lines(),
            (std::vector<std::string>{"\nwaiting service to pause...", "\nCheckPoint set to zero.",
                                      "\npause control probably failed."}));
}

TEST_F(RestartPauseTest, PauseWaitEndsSilentlyWhenTheUserStopsIt) {
  AddService({"Svc", "Service"});
  sim::ServiceBehaviour& behaviour = Behaviour("Svc");
  behaviour.acceptsPause = true;
  behaviour.pauseMs = 100000;
  behaviour.checkPoints = 100;
  RunService("Svc");
  Prepare();
  request.RequestServiceName = "Svc";
  Worker().Terminate();  // the console's button
  EXPECT_EQ(PauseOrResume(Worker()), -1);
  EXPECT_EQ(Lines(), std::vector<std::string>{"\nwaiting service to pause..."});
}

TEST_F(RestartPauseTest, PauseOfAServiceThatIsNeitherRunningNorPausedSendsNothing) {
  AddService({"Svc", "Service"});
  EXPECT_EQ(PauseOrResumeService("Svc"), -1);
  EXPECT_EQ(Lines(), std::vector<std::string>{
                         "\nerror: the service is neither running nor paused; no control sent."});
  EXPECT_EQ(StateOf("Svc"), state::Stopped);
}

TEST_F(RestartPauseTest, PauseRefusedByTheServiceIsReported) {
  AddService({"Svc", "Service"});
  RunService("Svc");
  EXPECT_EQ(PauseOrResumeService("Svc"), -1);
  EXPECT_EQ(Lines().front(), "\nerror: can't pause service");
}

class StartTypeTest : public EngineTest {
 protected:
  void SetUp() override {
    AddService({"Svc", "Service"});
    AddService({"Off", "Switched off", start::Disabled});
    FillCatalogue();
    host().events.clear();
  }
};

TEST_F(StartTypeTest, StartTypeRequestChangesTheSelectedService) {
  struct Case {
    std::int32_t code;
    const char* word;
  };
  for (const Case c : {Case{ReqStartTypeAutomatic, "automatic"}, Case{ReqStartTypeManual, "manual"},
                       Case{ReqStartTypeDisabled, "disabled"}}) {
    host().lines.clear();
    host().events.clear();
    host().selectedService = "Svc";
    RunRequest(c.code);
    EXPECT_EQ(host().lines, (std::vector<std::string>{"\nservice: Service",
                                                      std::string("\nsetting starttype: ") + c.word,
                                                      "\nstatus updated", "\n"}));
    EXPECT_EQ(StartTypeOf("Svc"), static_cast<std::uint32_t>(c.code));
    EXPECT_EQ(host().Count("refreshCatalogue"), 1);
    EXPECT_TRUE(host().Boxes().empty());
  }
}

TEST_F(StartTypeTest, ServiceThatCannotBeOpenedIsReportedAndTheCatalogueStillRefreshed) {
  host().selectedService = "Gone";
  RunRequest(ReqStartTypeManual);
  EXPECT_EQ(host().Boxes(),
            std::vector<std::string>{"console|error|Unable to open service! Config not updated."});
  EXPECT_EQ(host().lines,
            (std::vector<std::string>{"\nservice: error", "\nsetting starttype: manual",
                                      "\nerror: unable to open service",
                                      "\nerrorcode: 1060 - The specified service does not exist.",
                                      "\nstatus not updated", "\n"}));
  EXPECT_EQ(host().Count("refreshCatalogue"), 1);
}

TEST_F(StartTypeTest, RefusedChangeShowsTheSystemsText) {
  host().selectedService = "Svc";
  RunRequest(ReqStartTypeBoot);  // only drivers start at boot
  const std::string text = messages.messageText(err::InvalidParameter);
  EXPECT_EQ(host().Boxes(),
            std::vector<std::string>{"console|error|Unable to update config!\n\nError:\n" + text});
  EXPECT_EQ(host().lines[2], "\nerror:\n" + text);
  EXPECT_EQ(StartTypeOf("Svc"), start::Manual);
}

TEST_F(StartTypeTest, ManualAndStopChangesTheTypeThenStops) {
  RunService("Svc");
  host().selectedService = "Svc";
  RunRequest(ReqManualAndStop);
  EXPECT_EQ(StartTypeOf("Svc"), start::Manual);
  EXPECT_EQ(StateOf("Svc"), state::Stopped);
  EXPECT_TRUE(host().Boxes().empty());
}

TEST_F(StartTypeTest, AutoAndStartChangesTheTypeThenStarts) {
  host().selectedService = "Svc";
  RunRequest(ReqAutoAndStart);
  EXPECT_EQ(StartTypeOf("Svc"), start::Automatic);
  EXPECT_EQ(StateOf("Svc"), state::Running);
}

TEST_F(StartTypeTest, ManualAndStartOnADisabledServiceChangesItTwice) {
  host().selectedService = "Off";
  RunRequest(ReqManualAndStart);
  // The catalogue still shows it disabled, so the start switches it once more.
  EXPECT_EQ(
      host().lines,
      (std::vector<std::string>{
          "\nservice: Switched off", "\ncontrols to send: manual, start",
          "\nsetting starttype: manual", "\nSwitched off:", " changing starttype to manual ...",
          " done.", "\nstarting: Switched off ...", "\nservice successfully started.", "\n"}));
  EXPECT_EQ(StateOf("Off"), state::Running);
}

TEST_F(StartTypeTest, CombinedChangeActsOnTheResolvedService) {
  RunService("Svc");
  host().page = MainPage::ServiceGroups;
  host().selectedGroupNode = "Service";
  host().selectedService = "Off";  // the list's row shows another service
  RunRequest(ReqManualAndStop);
  EXPECT_EQ(StateOf("Svc"), state::Stopped);
  EXPECT_EQ(StartTypeOf("Svc"), start::Manual);
  EXPECT_EQ(StartTypeOf("Off"), start::Disabled);
}

TEST_F(StartTypeTest, FailedCombinedChangeDoesNotPreventTheStop) {
  RunService("Svc");
  const ScHandle manager = Scm().openSCManager(access::ScManagerAll);
  const ScHandle doomed = Scm().openService(manager, "Svc", access::Delete);
  ASSERT_TRUE(Scm().deleteService(doomed));
  Scm().closeServiceHandle(doomed);
  host().selectedService = "Svc";
  RunRequest(ReqManualAndStop);
  // The computer no longer opens it: the step says so in a box, and the stop is still tried.
  EXPECT_EQ(host().Boxes(),
            std::vector<std::string>{"main|error|Unable to open service! Config not updated."});
  std::string text = messages.messageText(err::ServiceMarkedForDelete);
  text.pop_back();
  EXPECT_EQ(std::vector<std::string>(host().lines.begin() + 3, host().lines.end()),
            (std::vector<std::string>{"\nerror: can't open service Service",
                                      "\nerrorcode: 1072 - " + text, "\n"}));
  Scm().closeServiceHandle(manager);
}

}  // namespace
}  // namespace corvane::testing
