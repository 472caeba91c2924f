#include "corvane/editors/service_properties.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

ServiceRecord record(std::int32_t type, std::uint32_t state, std::int32_t errorControl,
                     std::uint32_t startType) {
  ServiceRecord r;
  r.ServiceName = "Key";
  r.DisplayName = "Shown Name";
  r.ExecutablePath = "C:\\x.exe";
  r.Account = "LocalSystem";
  r.ServiceType = type;
  r.State = state;
  r.ErrorControl = errorControl;
  r.StartType = startType;
  return r;
}

TEST(ServiceProperties, NamesExecutableAndAccountComeFromTheRecord) {
  ServiceRecord driver = record(1, 4, 1, 1);
  driver.Account = "\\Driver\\Cdrom";
  const ServiceProperties shown = ServicePropertiesOf(driver);
  EXPECT_EQ(shown.ServName, "Key");
  EXPECT_EQ(shown.DispName, "Shown Name");
  EXPECT_EQ(shown.ServExe, "C:\\x.exe");
  EXPECT_EQ(shown.StartName, "\\Driver\\Cdrom");
}

TEST(ServiceProperties, ServiceTypeSelectsTheTypeItemAndTheDesktopBox) {
  struct Case {
    std::int32_t type;
    ListChoice item;
    bool cdiEnabled;
    bool cdiChecked;
  };
  const Case cases[] = {
      {1, {1, ""}, false, false},   // kernel driver
      {2, {0, ""}, false, false},   // file system driver
      {16, {2, ""}, true, false},   // win32 own process
      {32, {3, ""}, true, false},   // win32 share process
      {272, {2, ""}, true, true},   // own process, interactive
      {288, {3, ""}, true, true},   // share process, interactive
      {8, {-1, "8"}, true, false},  // a recognizer driver: its code is added
      {-1, {-1, "-1"}, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.type);
    const ServiceProperties shown = ServicePropertiesOf(record(c.type, 1, 1, 3));
    EXPECT_EQ(shown.ServType, c.item);
    EXPECT_EQ(shown.CdiEnabled, c.cdiEnabled);
    EXPECT_EQ(shown.CdiChecked, c.cdiChecked);
  }
  EXPECT_STREQ(ServTypeItems[1], "kernel driver");
  EXPECT_STREQ(ServTypeItems[3], "win32 share process");
}

TEST(ServiceProperties, StateSelectsItsStatusItemOrAddsAnException) {
  struct Case {
    std::uint32_t state;
    ListChoice item;
  };
  const Case cases[] = {
      {1, {1, ""}},
      {2, {4, ""}},
      {3, {6, ""}},
      {4, {2, ""}},
      {5, {3, ""}},
      {6, {5, ""}},
      {7, {0, ""}},
      {0, {-1, "exception: 0"}},
      {8, {-1, "exception: 8"}},
      {4294967295u, {-1, "exception: 4294967295"}},
  };
  const char* const names[] = {"",        "stopped",    "starting", "stopping",
                               "running", "continuing", "pausing",  "paused"};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.state);
    const ListChoice shown = ServicePropertiesOf(record(16, c.state, 1, 3)).CurrentStatus;
    EXPECT_EQ(shown, c.item);
    if (c.state >= 1 && c.state <= 7) {
      EXPECT_STREQ(CurrentStatusItems[static_cast<std::size_t>(shown.item)], names[c.state]);
    }
  }
}

TEST(ServiceProperties, ErrorControlAndStartTypeSelectTheirItems) {
  struct Case {
    std::int32_t errorControl;
    std::uint32_t startType;
    ListChoice error;
    ListChoice start;
  };
  const Case cases[] = {
      {0, 0, {0, ""}, {0, ""}},
      {3, 4, {3, ""}, {4, ""}},
      {4, 5, {-1, "exception: 4"}, {-1, ""}},  // another start type leaves the box as it was
      {-2, 99, {-1, "exception: -2"}, {-1, ""}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.errorControl);
    const ServiceProperties shown = ServicePropertiesOf(record(16, 1, c.errorControl, c.startType));
    EXPECT_EQ(shown.ErrorCtrl, c.error);
    EXPECT_EQ(shown.StartType, c.start);
  }
  EXPECT_STREQ(ErrorCtrlItems[0], "error_ignore\t");
  EXPECT_STREQ(ErrorCtrlItems[3], "error_critical");
}

TEST(ServiceProperties, TheRecordIsFoundByItsExactKeyNameWithinTheCount) {
  Catalogue catalogue;
  catalogue.ServiceTable[0].ServiceName = "Alerter";
  catalogue.ServiceTable[1].ServiceName = "alerter";
  catalogue.ServiceTable[2].ServiceName = "Stale";
  catalogue.ServiceCount = 2;
  EXPECT_EQ(FindServiceRecord(catalogue, "alerter"), &catalogue.ServiceTable[1]);
  EXPECT_EQ(FindServiceRecord(catalogue, "Alerter"), &catalogue.ServiceTable[0]);
  EXPECT_EQ(FindServiceRecord(catalogue, "ALERTER"), nullptr);
  EXPECT_EQ(FindServiceRecord(catalogue, "Stale"), nullptr);
  EXPECT_EQ(FindServiceRecord(catalogue, ""), nullptr);
}

}  // namespace
}  // namespace corvane
