#include "corvane/catalogue/groups_tree.h"

#include <gtest/gtest.h>

#include "catalogue_fixture.h"

namespace corvane {
namespace {

using testing::catalogueOf;
using testing::render;

TEST(GroupsTreeTest, GroupsInStartOrderWithTheirMembersAndTheUngroupedLast) {
  const Catalogue catalogue = catalogueOf(
      {
          {"Alerter", "Alerter"},
          {"AFD", "AFD Networking Support", {}, "TDI", 1},
          {"Tcpip", "TCP/IP Protocol Driver", {}, "PNP_TDI", 1},
          {"NetBT", "NetBios over Tcpip", {}, "PNP_TDI", 1},
          {"Fastfat", "Fastfat", {}, "Boot file system", 2},
          {"Foo1", "Foo Service", {}, "Foo"},
          {"Foo2", "Second Foo", {}, "foo"},
          {"Spooler", "Print Spooler", {}, "SpoolerGroup", 272},
      },
      {"Base", "Boot file system", "PNP_TDI", "TDI", "PNP Filter"});
  EXPECT_EQ(render(groupsTreeContent(catalogue)),
            "Base:28 "
            "Boot file system:12[Fastfat:29] "
            "PNP_TDI:12[TCP/IP Protocol Driver:29 NetBios over Tcpip:29] "
            "TDI:12[AFD Networking Support:29] "
            "PNP Filter:28 "
            "Foo:15[Foo Service:13] "
            "foo:15[Second Foo:13] "
            "SpoolerGroup:15[Print Spooler:13] "
            "- services not belonging to a group:15[Alerter:13]");
}

TEST(GroupsTreeTest, EmptyAndUnusualTables) {
  struct Case {
    const char* what;
    Catalogue catalogue;
    std::string tree;
  };
  Catalogue none;
  Catalogue withoutUngrouped = catalogueOf({{"Beep", "Beep", {}, "Base", 1}}, {"Base"});
  withoutUngrouped.GroupTable[0].Name = " - unable to retrieve a group list - ";
  Catalogue memberWithoutRecord = catalogueOf({}, {"Base"});
  memberWithoutRecord.GroupTable[1].Members = {"Gone"};
  const Case cases[] = {
      {"GroupCount 0", none, " - no groups defined - :14"},
      {"no services at all", catalogueOf({}, {"Base"}),
       "Base:28 - services not belonging to a group:28"},
      {"no entry named for the ungrouped services: nothing is added last", withoutUngrouped,
       " - unable to retrieve a group list - :28 Base:12[Beep:29]"},
      {"a member no record carries keeps the default image", memberWithoutRecord,
       "Base:12[Gone:-1] - services not belonging to a group:28"},
      {"members are matched to records without regard to case",
       [] {
         Catalogue c = catalogueOf({{"Beep", "Beep", {}, "Base", 1}}, {"Base"});
         c.GroupTable[1].Members = {"BEEP"};
         return c;
       }(),
       "Base:12[BEEP:29] - services not belonging to a group:28"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(render(groupsTreeContent(c.catalogue)), c.tree) << c.what;
  }
}

TEST(GroupsTreeTest, OrderTextCountsFromZero) {
  EXPECT_EQ(groupOrderText(0), "order: 0");
  EXPECT_EQ(groupOrderText(12), "order: 12");
}

TEST(GroupsTreeTest, TheTwoExplanationsDifferOnlyByTheQuotesAroundTheKey) {
  std::string quoted = GroupExplanationOnRefresh;
  const std::string key =
      "HKEY_LOCAL_MACHINE\\System\\CurrentControlSet\\Control\\ServiceGroupOrder";
  const std::size_t at = quoted.find("'" + key + "'");
  ASSERT_NE(at, std::string::npos);
  quoted.replace(at, key.size() + 2, key);
  EXPECT_EQ(quoted, GroupExplanationOnSelection);
  EXPECT_EQ(std::string(GroupExplanationOnSelection).rfind("Description:\nNames the load", 0), 0u);
}

}  // namespace
}  // namespace corvane
