#include "corvane/catalogue/refresh_catalogue.h"

#include <algorithm>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "catalogue/fake_platform.h"
#include "corvane/catalogue/group_order.h"
#include "corvane/catalogue/service_texts.h"
#include "support/scripted_dialogs.h"

namespace corvane {
namespace {

using platform::RegKind;
using platform::RegRoot;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using testing::FakeRegistry;
using testing::FakeScm;
using testing::FakeService;
using ::testing::IsEmpty;
using testing::makeService;

// "Name12": built without operator+ on a literal, which draws a false warning from GCC 12.
std::string numbered(const char* prefix, std::size_t number) {
  std::string text(prefix);
  text += std::to_string(number);
  return text;
}

std::string multiString(const std::vector<std::string>& names) {
  std::string bytes;
  for (const std::string& name : names)
    bytes += name + '\0';
  return bytes + '\0';
}

class RefreshCatalogueTest : public ::testing::Test {
 protected:
  FakeScm scm;
  FakeRegistry registry;
  corvane::testing::ScriptedDialogs dialogs;
  Catalogue catalogue;
  std::vector<platform::EnumServiceEntry> enumBuffer;
  platform::ServiceConfig configBuffer;
  platform::ServiceStatus statusBuffer;

  RefreshCatalogueTest() { setGroupList({"Boot Bus Extender", "NetworkProvider"}); }

  void setGroupList(const std::vector<std::string>& names) {
    registry.setValue(RegRoot::LocalMachine, GroupOrderKey, "List", RegKind::MultiString,
                      multiString(names));
  }

  // Adds a service with its registry key and, unless told otherwise, a description.
  FakeService& add(FakeService service) {
    registry.setText(RegRoot::LocalMachine, ServicesKey + service.entry.serviceName, "Description",
                     "about " + service.entry.serviceName);
    scm.services.push_back(std::move(service));
    return scm.services.back();
  }

  void refresh(bool scmAvailable = true) {
    RefreshContext context{
        scm,        registry,     dialogs,     scmAvailable, FakeScm::ManagerHandle,
        enumBuffer, configBuffer, statusBuffer};
    RefreshCatalogue(context, catalogue);
  }

  const ServiceRecord& record(std::size_t index) const {
    EXPECT_LT(index, catalogue.ServiceCount);
    return catalogue.ServiceTable[index];
  }

  std::vector<std::string> groupNames() const {
    std::vector<std::string> names;
    for (std::size_t k = 0; k < catalogue.GroupCount; ++k) {
      names.push_back(catalogue.GroupTable[k].Name);
    }
    return names;
  }

  std::vector<std::string> errorsShown() const {
    std::vector<std::string> texts;
    for (const auto& asked : dialogs.asked) {
      EXPECT_EQ(asked.caption, "error");
      EXPECT_EQ(asked.icon, DialogIcon::Error);
      texts.push_back(asked.text);
    }
    return texts;
  }
};

TEST_F(RefreshCatalogueTest, RecordTakesEveryFieldFromTheConfigurationAndStatus) {
  FakeService& service = add(makeService("Dhcp", "NetworkProvider", multiString({"Tcpip"})));
  service.entry.displayName = "DHCP Client";
  service.config.startType = platform::start::Automatic;
  service.config.serviceStartName = "NT AUTHORITY\\NetworkService";
  service.status.serviceType = 0x20;
  service.status.currentState = platform::state::Paused;
  service.status.controlsAccepted = platform::control::AcceptPauseContinue;
  refresh();

  ASSERT_EQ(catalogue.ServiceCount, 1u);
  const ServiceRecord& dhcp = record(0);
  EXPECT_EQ(dhcp.FailMark, 0);
  EXPECT_EQ(dhcp.ServiceName, "Dhcp");
  EXPECT_EQ(dhcp.DisplayName, "DHCP Client");
  EXPECT_EQ(dhcp.GroupText, "NetworkProvider");
  EXPECT_EQ(dhcp.StartType, 2u);
  EXPECT_EQ(dhcp.StartTypeText, "automatic");
  EXPECT_EQ(dhcp.ServiceType, 0x20);
  EXPECT_EQ(dhcp.TypeText, "share process");
  EXPECT_EQ(dhcp.InteractiveText, "");
  EXPECT_EQ(dhcp.State, 7u);
  EXPECT_EQ(dhcp.StateText, "paused");
  EXPECT_EQ(dhcp.ExecutablePath, "C:\\WINDOWS\\system32\\Dhcp.exe");
  EXPECT_EQ(dhcp.Account, "NT AUTHORITY\\NetworkService");
  EXPECT_EQ(dhcp.ErrorControl, 1);
  EXPECT_EQ(dhcp.DescriptionText, "about Dhcp");
  EXPECT_THAT(dhcp.Dependencies, ElementsAre("Tcpip"));
  EXPECT_THAT(dhcp.Dependents, ElementsAre(" - none - "));
  EXPECT_EQ(dhcp.AcceptsStop, 0);
  EXPECT_EQ(dhcp.AcceptsPause, 1);
  EXPECT_THAT(dialogs.asked, IsEmpty());
  EXPECT_THAT(scm.openHandles, IsEmpty());
}

TEST_F(RefreshCatalogueTest, EmptyExecutableAndGroupGetTheirMarkers) {
  FakeService& service = add(makeService("Beep"));
  service.config.binaryPathName = "";
  service.status.controlsAccepted = platform::control::AcceptStop;
  refresh();
  EXPECT_EQ(record(0).ExecutablePath, " - unavailable - ");
  EXPECT_EQ(record(0).GroupText, " - does not belong to a group - ");
  EXPECT_EQ(record(0).AcceptsStop, 1);
  EXPECT_EQ(record(0).AcceptsPause, 0);
}

TEST(GroupOrderNamesTest, SplitsTheRawBytesAsTheBufferHoldsThem) {
  struct Case {
    const char* what;
    std::string bytes;
    std::vector<std::string> names;
  };
  const std::vector<Case> cases = {
      {"two names", std::string("A\0B\0\0", 5), {"A", "B"}},
      {"zero bytes before the first name", std::string("\0\0A\0\0", 5), {"A"}},
      {"no names", std::string("\0", 1), {}},
      {"nothing at all", "", {}},
      {"last name without terminator", std::string("A\0B", 3), {"A", "B"}},
      {"an empty name ends the list", std::string("A\0\0B\0\0", 6), {"A"}},
      {"name cut at the buffer's end", std::string(8190, '\0') + "ABCD", {"AB"}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(GroupOrderNames(c.bytes, GroupListBufferBytes), c.names) << c.what;
  }
}

TEST_F(RefreshCatalogueTest, GroupTableFollowsTheOrderList) {
  setGroupList({"System Reserved", "Boot Bus Extender", "NetworkProvider"});
  refresh();
  EXPECT_THAT(groupNames(), ElementsAre("- services not belonging to a group", "System Reserved",
                                        "Boot Bus Extender", "NetworkProvider"));
  EXPECT_EQ(catalogue.GroupTable[0].Listed, 0);
  EXPECT_EQ(catalogue.GroupTable[1].Listed, 1);
  EXPECT_EQ(catalogue.GroupTable[3].Listed, 1);
}

TEST_F(RefreshCatalogueTest, GroupListTooLargeForItsBufferYieldsNoNames) {
  registry.setValue(RegRoot::LocalMachine, GroupOrderKey, "List", RegKind::MultiString,
                    std::string(9000, 'A') + std::string(2, '\0'));
  add(makeService("Tcpip", "PNP_TDI"));
  refresh();
  EXPECT_THAT(groupNames(), ElementsAre("- services not belonging to a group"));
  EXPECT_THAT(catalogue.GroupTable[0].Members, ElementsAre("Tcpip display"));
  EXPECT_THAT(dialogs.asked, IsEmpty());
}

TEST_F(RefreshCatalogueTest, MissingGroupListIsReportedAndEveryServiceGoesToEntryZero) {
  struct Case {
    const char* what;
    bool keyPresent;
    const char* message;
  };
  for (const Case& c : {Case{"key missing", false, "Unable to open group list reg key!"},
                        Case{"List missing", true, "Unable to retrieve group list!"}}) {
    registry.deleteKeyTree(RegRoot::LocalMachine, GroupOrderKey);
    if (c.keyPresent)
      registry.createKey(RegRoot::LocalMachine, GroupOrderKey);
    scm.services.clear();
    add(makeService("Afd", "TDI"));
    add(makeService("Alerter"));
    dialogs.asked.clear();
    // A pass with groups first, so that stale groups would show.
    catalogue.GroupCount = 3;
    catalogue.GroupTable[0].Members = {"stale"};
    refresh();
    EXPECT_THAT(errorsShown(), ElementsAre(c.message)) << c.what;
    EXPECT_THAT(groupNames(), ElementsAre(" - unable to retrieve a group list - ")) << c.what;
    EXPECT_EQ(catalogue.GroupTable[0].Listed, 0) << c.what;
    EXPECT_THAT(catalogue.GroupTable[0].Members, ElementsAre("Afd display", "Alerter display"))
        << c.what;
    EXPECT_EQ(catalogue.ServiceCount, 2u) << c.what;
  }
}

TEST_F(RefreshCatalogueTest, ServicesJoinTheirGroupsWithoutRegardToCase) {
  add(makeService("Tcpip", "PNP_TDI"));
  add(makeService("Afd", "networkprovider"));
  add(makeService("Rdbss", "Network"));
  add(makeService("Mrxsmb", "NETWORK"));
  add(makeService("Alerter"));
  add(makeService("Browser", "NetworkProvider"));
  refresh();

  EXPECT_THAT(groupNames(), ElementsAre("- services not belonging to a group", "Boot Bus Extender",
                                        "NetworkProvider", "PNP_TDI", "Network"));
  const std::vector<GroupRecord>& groups = catalogue.GroupTable;
  EXPECT_THAT(groups[0].Members, ElementsAre("Alerter display"));
  EXPECT_THAT(groups[1].Members, IsEmpty());
  EXPECT_THAT(groups[2].Members, ElementsAre("Afd display", "Browser display"));
  EXPECT_EQ(groups[3].Listed, 0);
  EXPECT_THAT(groups[3].Members, ElementsAre("Tcpip display"));
  EXPECT_EQ(groups[4].Listed, 0);
  EXPECT_THAT(groups[4].Members, ElementsAre("Rdbss display", "Mrxsmb display"));
}

TEST_F(RefreshCatalogueTest, WithoutListedGroupsEveryServiceIsInEntryZero) {
  setGroupList({});
  add(makeService("Tcpip", "PNP_TDI"));
  add(makeService("Alerter"));
  refresh();
  EXPECT_THAT(groupNames(), ElementsAre("- services not belonging to a group"));
  EXPECT_THAT(catalogue.GroupTable[0].Members, ElementsAre("Tcpip display", "Alerter display"));
}

TEST_F(RefreshCatalogueTest, SecondPassRebuildsGroupsWithoutStaleMembers) {
  add(makeService("Tcpip", "PNP_TDI"));
  add(makeService("Afd", "NetworkProvider"));
  refresh();
  scm.services.erase(scm.services.begin());
  refresh();
  EXPECT_THAT(groupNames(), ElementsAre("- services not belonging to a group", "Boot Bus Extender",
                                        "NetworkProvider"));
  EXPECT_THAT(catalogue.GroupTable[2].Members, ElementsAre("Afd display"));
  EXPECT_EQ(catalogue.ServiceCount, 1u);
}

TEST_F(RefreshCatalogueTest, DependenciesKeepTheirOrderAndMarkGroups) {
  std::vector<std::string> many;
  for (int k = 0; k < 120; ++k)
    many.push_back(numbered("Dep", k));
  std::vector<std::string> first100(many.begin(), many.begin() + 100);
  struct Case {
    const char* what;
    std::string list;
    std::vector<std::string> dependencies;
  };
  const std::vector<Case> cases = {
      {"group first", multiString({"+NetworkProvider", "Tcpip"}), {"#*%NetworkProvider", "Tcpip"}},
      {"group last", multiString({"Tcpip", "+NetworkProvider"}), {"Tcpip", "#*%NetworkProvider"}},
      {"nothing", "", {" - none - "}},
      {"empty list", std::string(2, '\0'), {" - none - "}},
      {"120 names", multiString(many), first100},
  };
  for (const Case& c : cases)
    add(makeService(c.what, "", c.list));
  refresh();
  for (std::size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(record(i).Dependencies, cases[i].dependencies) << cases[i].what;
  }
  // A second pass writes over the first one's lists: a shorter list leaves nothing behind.
  std::rotate(scm.services.begin(), scm.services.begin() + 1, scm.services.end());
  refresh();
  for (std::size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(record(i).Dependencies, cases[(i + 1) % cases.size()].dependencies) << i;
  }
}

TEST_F(RefreshCatalogueTest, DependentsAreListedInTableOrderOnceEach) {
  add(makeService("Client1", "", multiString({"Tcpip"})));
  add(makeService("Client2", "", multiString({"tcpip", "Other", "TCPIP"})));
  add(makeService("Tcpip"));
  add(makeService("Client3", "", multiString({"+Tcpip"})));
  add(makeService("Client4", "", multiString({"Other", "Tcpip"})));
  add(makeService("Client5", "", multiString({"Tcpip"})));
  add(makeService("Client6", "", multiString({"Tcpip", "Client5"})));
  refresh();
  EXPECT_THAT(record(2).Dependents,
              ElementsAre("Client1", "Client2", "Client4", "Client5", "Client6"));
  EXPECT_THAT(record(5).Dependents, ElementsAre("Client6"));
  EXPECT_THAT(record(0).Dependents, ElementsAre(" - none - "));
}

TEST_F(RefreshCatalogueTest, DescriptionsByTheirKind) {
  struct Case {
    const char* name;
    std::optional<std::pair<RegKind, std::string>> value;  // nothing: no Description value
    bool keyPresent;
    std::string text;
  };
  const std::vector<Case> cases = {
      {"Text", std::pair{RegKind::String, std::string("Plain\0", 6)}, true, "Plain"},
      {"Expand", std::pair{RegKind::ExpandString, std::string("%SystemRoot%\\x\0", 15)}, true,
       "%SystemRoot%\\x"},
      {"Empty", std::pair{RegKind::String, std::string(1, '\0')}, true, ""},
      {"Multi", std::pair{RegKind::MultiString, multiString({"a", "b"})}, true,
       " - Description value not a string - "},
      {"Dword", std::pair{RegKind::Dword, std::string(4, '\1')}, true,
       " - Description value not a string - "},
      {"NoValue", std::nullopt, true, " - unavailable - "},
      {"NoKey", std::nullopt, false,
       " - error retriving description: 'unable to open reg key for service' - "},
  };
  for (const Case& c : cases) {
    scm.services.push_back(makeService(c.name));
    const std::string key = ServicesKey + std::string(c.name);
    if (c.keyPresent)
      registry.createKey(RegRoot::LocalMachine, key);
    if (c.value)
      registry.setValue(RegRoot::LocalMachine, key, "Description", c.value->first, c.value->second);
  }
  refresh();
  for (std::size_t i = 0; i < cases.size(); ++i) {
    EXPECT_EQ(record(i).DescriptionText, cases[i].text) << cases[i].name;
    EXPECT_EQ(record(i).FailMark, 0) << cases[i].name;
  }
}

TEST_F(RefreshCatalogueTest, TypeStateAndStartTypeTexts) {
  struct Case {
    std::uint32_t type, state, startType;
    const char *typeText, *interactive, *stateText, *startText;
  };
  const std::vector<Case> cases = {
      {1, 1, 0, "kernel driver", "", "stopped", "boot"},
      {2, 2, 1, "file system driver", "", "starting...", "system"},
      {16, 3, 2, "own process", "", "stopping...", "automatic"},
      {32, 4, 3, "share process", "", "running", "manual"},
      {272, 5, 4, "own process", "yes", "resuming...", "disabled"},
      {288, 6, 5, "share process", "yes", "pausing...", "unknown: 5"},
      {8, 7, 4, "unknown: 8", "", "paused", "disabled"},
      {0x110 | 0x20, 0, 3, "unknown: 304", "", "unknown: 0", "manual"},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    FakeService& service = add(makeService(numbered("S", i)));
    service.status.serviceType = cases[i].type;
    service.status.currentState = cases[i].state;
    service.config.startType = cases[i].startType;
  }
  // A stale interactive text at an index whose type has none must not survive.
  catalogue.ServiceTable[6].InteractiveText = "yes";
  refresh();
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const ServiceRecord& r = record(i);
    EXPECT_EQ(r.TypeText, cases[i].typeText) << i;
    EXPECT_EQ(r.InteractiveText, cases[i].interactive) << i;
    EXPECT_EQ(r.StateText, cases[i].stateText) << i;
    EXPECT_EQ(r.StartTypeText, cases[i].startText) << i;
  }
}

TEST_F(RefreshCatalogueTest, FailedOpenOrQueryKeepsTheEnumeratedNamesAndClearsTheRest) {
  struct Case {
    const char* name;
    void (*breakIt)(FakeService&);
    const char* marker;
  };
  const std::vector<Case> cases = {
      {"NoOpen", [](FakeService& s) { s.failOpen = true; }, " - error opening service - "},
      {"NoConfig", [](FakeService& s) { s.failConfig = true; },
       " - error querying service config - "},
      {"NoStatus", [](FakeService& s) { s.failStatus = true; },
       " - error querying service status - "},
  };
  // A first pass fills the same indices with other services, so stale fields would show.
  for (const Case& c : cases)
    add(makeService(std::string("Old") + c.name, "NetworkProvider", multiString({"Tcpip"})));
  refresh();
  scm.services.clear();
  for (const Case& c : cases) {
    FakeService& service =
        add(makeService(c.name, "", "", platform::svctype::KernelDriver, platform::state::Stopped));
    c.breakIt(service);
  }
  add(makeService("Good", "", multiString({"NoOpen"})));
  refresh();

  ASSERT_EQ(catalogue.ServiceCount, 4u);
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const ServiceRecord& r = record(i);
    EXPECT_EQ(r.FailMark, -1) << cases[i].name;
    EXPECT_EQ(r.DescriptionText, cases[i].marker) << cases[i].name;
    EXPECT_EQ(r.ServiceName, cases[i].name);
    EXPECT_EQ(r.DisplayName, std::string(cases[i].name) + " display");
    EXPECT_EQ(r.ServiceType, 1) << cases[i].name;
    EXPECT_EQ(r.TypeText, "kernel driver") << cases[i].name;
    EXPECT_EQ(r.StateText, "stopped") << cases[i].name;
    EXPECT_EQ(r.GroupText, "") << cases[i].name;
    EXPECT_EQ(r.StartTypeText, "") << cases[i].name;
    EXPECT_EQ(r.ExecutablePath, "") << cases[i].name;
    EXPECT_EQ(r.Account, "") << cases[i].name;
    EXPECT_THAT(r.Dependencies, IsEmpty()) << cases[i].name;
  }
  EXPECT_THAT(record(0).Dependents, ElementsAre("Good"));
  EXPECT_EQ(record(3).FailMark, 0);
  EXPECT_THAT(catalogue.GroupTable[0].Members, ElementsAre("Good display"));
  EXPECT_THAT(catalogue.GroupTable[2].Members, IsEmpty());
  EXPECT_THAT(scm.openHandles, IsEmpty());
  EXPECT_THAT(dialogs.asked, IsEmpty());
}

TEST_F(RefreshCatalogueTest, ConfigurationLargerThanTheQuerySizeIsQueriedAgain) {
  add(makeService("Small"));
  FakeService& big = add(makeService("Big", "", multiString({"Tcpip"})));
  big.config.binaryPathName = "C:\\" + std::string(5000, 'p') + ".exe";
  refresh();
  const std::size_t needed = platform::configBytes(big.config);
  EXPECT_THAT(scm.configQuerySizes, ElementsAre(4096u, 4096u, needed));
  EXPECT_EQ(record(1).FailMark, 0);
  EXPECT_EQ(record(1).ExecutablePath, big.config.binaryPathName);
  EXPECT_THAT(record(1).Dependencies, ElementsAre("Tcpip"));
}

TEST_F(RefreshCatalogueTest, ScmUnavailableEmptiesTheCountsAndLeavesTheGroupsAlone) {
  add(makeService("Tcpip", "PNP_TDI"));
  refresh();
  ASSERT_EQ(catalogue.GroupCount, 4u);
  const std::vector<GroupRecord> groupsBefore = catalogue.GroupTable;
  scm.enumBufferSizes.clear();
  refresh(false);
  EXPECT_EQ(catalogue.ServiceCount, 0u);
  EXPECT_EQ(catalogue.GroupCount, 0u);
  for (std::size_t k = 0; k < 4; ++k) {
    EXPECT_EQ(catalogue.GroupTable[k].Name, groupsBefore[k].Name);
    EXPECT_EQ(catalogue.GroupTable[k].Members, groupsBefore[k].Members);
  }
  EXPECT_THAT(scm.enumBufferSizes, IsEmpty());
  EXPECT_THAT(dialogs.asked, IsEmpty());
}

TEST_F(RefreshCatalogueTest, EnumerationBeyondOneBufferReadsEveryService) {
  // About 150 bytes per entry: 1000 entries need several 36000-byte answers.
  std::vector<std::string> names;
  for (int k = 0; k < 1000; ++k) {
    names.push_back(numbered("Service", k) + std::string(50, 'x'));
    FakeService& service = add(makeService(names.back()));
    service.entry.displayName = std::string(60, 'd') + std::to_string(k);
  }
  refresh();
  ASSERT_EQ(catalogue.ServiceCount, 1000u);
  EXPECT_GT(scm.enumBufferSizes.size(), 3u);
  EXPECT_THAT(scm.enumBufferSizes, ::testing::Each(36000u));
  for (std::size_t k = 0; k < names.size(); ++k) {
    ASSERT_EQ(catalogue.ServiceTable[k].ServiceName, names[k]);
    ASSERT_EQ(catalogue.ServiceTable[k].FailMark, 0);
  }
  EXPECT_GE(catalogue.ServiceTable.size(), 1000u);
  EXPECT_THAT(dialogs.asked, IsEmpty());
}

TEST_F(RefreshCatalogueTest, EntryLargerThanTheBufferIsReadWithTheRoomItNeeds) {
  const std::string hugeName(40000, 'h');
  add(makeService("Before"));
  add(makeService("Huge")).entry.displayName = hugeName;
  add(makeService("After"));
  refresh();
  ASSERT_EQ(catalogue.ServiceCount, 3u);
  EXPECT_TRUE(record(1).DisplayName == hugeName);
  EXPECT_EQ(record(2).ServiceName, "After");
}

TEST_F(RefreshCatalogueTest, FailedEnumerationIsReportedAndEmptiesTheList) {
  for (int k = 0; k < 600; ++k)
    add(makeService(numbered("Service", k) + std::string(80, 'x')));
  refresh();
  ASSERT_EQ(catalogue.ServiceCount, 600u);
  for (const std::size_t failingCall : {std::size_t{0}, std::size_t{1}}) {
    dialogs.asked.clear();
    scm.enumBufferSizes.clear();
    scm.failEnumerationCall = failingCall;
    scm.enumError = failingCall == 0 ? platform::err::AccessDenied : platform::err::InvalidHandle;
    refresh();
    EXPECT_THAT(errorsShown(),
                ElementsAre("error enumerating services: " + std::to_string(scm.enumError)))
        << failingCall;
    EXPECT_EQ(catalogue.ServiceCount, 0u) << failingCall;
    EXPECT_EQ(scm.opens, 600u) << "no service is opened after a failed enumeration";
  }
}

TEST_F(RefreshCatalogueTest, MoreThan500ServicesAndGroupsAreAllKept) {
  for (int k = 0; k < 1200; ++k) {
    add(makeService(numbered("S", k), numbered("Group", k % 700),
                    k > 0 ? multiString({"S0"}) : ""));
  }
  refresh();
  ASSERT_EQ(catalogue.ServiceCount, 1200u);
  EXPECT_EQ(record(1199).ServiceName, "S1199");
  EXPECT_EQ(record(0).Dependents.size(), 1199u);
  ASSERT_EQ(catalogue.GroupCount, 3u + 700u);
  EXPECT_EQ(catalogue.GroupTable[3 + 699].Name, "Group699");
  EXPECT_THAT(catalogue.GroupTable[3].Members, ElementsAre("S0 display", "S700 display"));

  // The grown tables are kept for a smaller computer.
  const std::size_t serviceRoom = catalogue.ServiceTable.size();
  scm.services.resize(10);
  refresh();
  EXPECT_EQ(catalogue.ServiceCount, 10u);
  EXPECT_EQ(catalogue.ServiceTable.size(), serviceRoom);
  EXPECT_EQ(record(0).Dependents.size(), 9u);
}

TEST(ServiceTextsTest, CodesOutsideTheTablesAreUnknown) {
  EXPECT_EQ(StartTypeText(4), "disabled");
  EXPECT_EQ(StartTypeText(0xFFFFFFFF), "unknown: 4294967295");
  EXPECT_EQ(StateText(8), "unknown: 8");
  EXPECT_EQ(ServiceTypeTexts(-1).TypeText, "unknown: -1");
  EXPECT_EQ(ServiceTypeTexts(256).InteractiveText, "");
}

}  // namespace
}  // namespace corvane
