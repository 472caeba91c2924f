// Which service commands the selected service offers, over records of every type, state,
// accepted control and start type.
#include <gtest/gtest.h>

#include <string>

#include "corvane/engine/command_rules.h"

namespace corvane {
namespace {

ServiceRecord Record(std::int32_t type, std::uint32_t state, bool acceptsStop, bool acceptsPause,
                     std::uint32_t startType = 3, const std::string& name = "Alpha") {
  ServiceRecord record;
  record.ServiceName = name;
  record.DisplayName = name + " display";
  record.ServiceType = type;
  record.State = state;
  record.AcceptsStop = acceptsStop ? 1 : 0;
  record.AcceptsPause = acceptsPause ? 1 : 0;
  record.StartType = startType;
  return record;
}

// The available run commands as letters: S start, R restart, P pause, T stop, m "man && stop",
// a "auto && start".
std::string RunCommands(const ServiceCommandStates& states) {
  std::string letters;
  letters += states.Start ? "S" : "";
  letters += states.Restart ? "R" : "";
  letters += states.Pause ? "P" : "";
  letters += states.Stop ? "T" : "";
  letters += states.ManualAndStop ? "m" : "";
  letters += states.AutoAndStart ? "a" : "";
  return letters;
}

// The available start types as letters: B boot, S system, A automatic, M manual, D disabled.
std::string StartTypeCommands(const ServiceCommandStates& states) {
  const char letters[] = "BSAMD";
  std::string available;
  for (std::size_t i = 0; i < states.StartTypes.size(); ++i) {
    if (states.StartTypes[i])
      available += letters[i];
  }
  return available;
}

struct RunCase {
  const char* what;
  std::int32_t type;
  std::uint32_t state;
  bool acceptsStop;
  bool acceptsPause;
  const char* expected;
};

class RunCommandsTest : public ::testing::TestWithParam<RunCase> {};

TEST_P(RunCommandsTest, FollowTheTypeStateAndAcceptedControls) {
  const RunCase& c = GetParam();
  const ServiceCommandStates states =
      ServiceCommandsFor(Record(c.type, c.state, c.acceptsStop, c.acceptsPause));
  EXPECT_EQ(RunCommands(states), c.expected) << c.what;
  // Whatever runs, the key can be saved and the service uninstalled.
  EXPECT_TRUE(states.UnInstall) << c.what;
  EXPECT_TRUE(states.SaveRegEntry) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Table, RunCommandsTest,
    ::testing::Values(RunCase{"stopped", 0x10, 1, true, true, "Sa"},
                      RunCase{"stopped, accepting nothing", 0x20, 1, false, false, "Sa"},
                      RunCase{"start pending", 0x20, 2, true, false, "T"},
                      RunCase{"start pending, not accepting stop", 0x20, 2, false, false, "T"},
                      RunCase{"stop pending", 0x10, 3, true, true, ""},
                      RunCase{"running, stop and pause", 0x10, 4, true, true, "RPTm"},
                      RunCase{"running, stop only", 0x110, 4, true, false, "RTm"},
                      RunCase{"running, pause only", 0x20, 4, false, true, "P"},
                      RunCase{"running, nothing accepted", 0x20, 4, false, false, ""},
                      RunCase{"continue pending", 0x20, 5, true, true, "T"},
                      RunCase{"pause pending", 0x20, 6, true, true, ""},
                      RunCase{"paused, stop accepted", 0x20, 7, true, true, "PTm"},
                      RunCase{"paused, stop not accepted", 0x20, 7, false, true, "P"},
                      RunCase{"kernel driver running", 0x1, 4, true, false, ""},
                      RunCase{"kernel driver stopped", 0x1, 1, false, false, ""},
                      RunCase{"file system driver stopped", 0x2, 1, false, false, ""},
                      RunCase{"recognizer driver stopped", 0x8, 1, false, false, "Sa"},
                      RunCase{"recognizer driver running", 0x8, 4, true, false, "RTm"},
                      RunCase{"interactive shared service running", 0x120, 4, true, true, "RPTm"}));

struct StartTypeCase {
  std::int32_t type;
  const char* expected;
};

class StartTypeCommandsTest : public ::testing::TestWithParam<StartTypeCase> {};

TEST_P(StartTypeCommandsTest, ServicesInAProcessCannotBeBootOrSystem) {
  const StartTypeCase& c = GetParam();
  EXPECT_EQ(StartTypeCommands(ServiceCommandsFor(Record(c.type, 1, false, false))), c.expected)
      << "type " << c.type;
}

INSTANTIATE_TEST_SUITE_P(Table, StartTypeCommandsTest,
                         ::testing::Values(StartTypeCase{0x10, "AMD"}, StartTypeCase{0x20, "AMD"},
                                           StartTypeCase{0x100, "AMD"}, StartTypeCase{0x110, "AMD"},
                                           StartTypeCase{0x120, "AMD"}, StartTypeCase{0x1, "BSAMD"},
                                           StartTypeCase{0x2, "BSAMD"}, StartTypeCase{0x8, "BSAMD"},
                                           StartTypeCase{0x30, "BSAMD"},
                                           StartTypeCase{0x0, "BSAMD"}));

TEST(StartTypeDown, IsTheCurrentStartTypeAndNoneOutsideTheFive) {
  for (std::uint32_t startType = 0; startType <= 4; ++startType) {
    EXPECT_EQ(ServiceCommandsFor(Record(0x10, 1, false, false, startType)).StartTypeDown,
              startType);
  }
  EXPECT_FALSE(ServiceCommandsFor(Record(0x10, 1, false, false, 5)).StartTypeDown);
  EXPECT_FALSE(ServiceCommandsFor(Record(0x10, 1, false, false, 0xFFFFFFFF)).StartTypeDown);
}

TEST(RemoteProcedureCall, KeepsAutomaticAndManualAndTheBackupButNeitherDisableNorUninstall) {
  const ServiceCommandStates rpc = ServiceCommandsFor(Record(0x20, 4, false, false, 2, "RpcSs"));
  EXPECT_EQ(StartTypeCommands(rpc), "AM");
  EXPECT_FALSE(rpc.UnInstall);
  EXPECT_TRUE(rpc.SaveRegEntry);
  EXPECT_EQ(rpc.StartTypeDown, 2u);
  // Its run commands follow the usual rules.
  EXPECT_EQ(RunCommands(rpc), "");

  // As a driver type it still loses Boot and System.
  EXPECT_EQ(StartTypeCommands(ServiceCommandsFor(Record(0x1, 4, false, false, 2, "RpcSs"))), "AM");
  // The key name is compared exactly.
  const ServiceCommandStates other = ServiceCommandsFor(Record(0x20, 4, false, false, 2, "rpcss"));
  EXPECT_EQ(StartTypeCommands(other), "AMD");
  EXPECT_TRUE(other.UnInstall);
}

TEST(NoSelection, OffersNothing) {
  const ServiceCommandStates none;
  EXPECT_EQ(RunCommands(none), "");
  EXPECT_EQ(StartTypeCommands(none), "");
  EXPECT_FALSE(none.UnInstall);
  EXPECT_FALSE(none.SaveRegEntry);
  EXPECT_FALSE(none.StartTypeDown);
}

}  // namespace
}  // namespace corvane
