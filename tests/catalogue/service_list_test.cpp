#include "corvane/catalogue/service_list.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace corvane {
namespace {

struct Entry {
  std::string display;
  std::string name;
  std::int32_t type = 16;
  std::uint32_t state = 1;
  std::uint32_t start = 3;
  std::string path = "C:\\WINDOWS\\system32\\svchost.exe -k netsvcs";
};

ServiceRecord record(const Entry& entry) {
  ServiceRecord r;
  r.DisplayName = entry.display;
  r.ServiceName = entry.name;
  r.ServiceType = entry.type;
  r.TypeText = entry.type == 1   ? "kernel driver"
               : entry.type == 2 ? "file system driver"
                                 : "own process";
  r.State = entry.state;
  r.StateText = entry.state == 4 ? "running" : entry.state == 7 ? "paused" : "stopped";
  r.StartType = entry.start;
  r.StartTypeText = entry.start == 2 ? "automatic" : entry.start == 4 ? "disabled" : "manual";
  r.ExecutablePath = entry.path;
  return r;
}

Catalogue catalogueOf(const std::vector<Entry>& entries) {
  Catalogue catalogue;
  for (const Entry& entry : entries) {
    catalogue.ServiceTable[catalogue.ServiceCount++] = record(entry);
  }
  return catalogue;
}

std::vector<std::string> column(const ServiceList& list, int column) {
  std::vector<std::string> texts;
  for (const ServRow& row : list.rows()) {
    texts.push_back(row.texts[static_cast<std::size_t>(column)]);
  }
  return texts;
}

class ServiceListTest : public ::testing::Test {
 protected:
  int sortColumn = 0;
  ServiceList list{sortColumn};
  ServFillHooks hooks;

  ServListDiff fill(const Catalogue& catalogue, bool full, ServFilter filter = ServFilter::All) {
    return fillServiceList(list, catalogue, filter, full, hooks);
  }
};

TEST(ServFilterTest, OnlyTypesOneAndTwoAreDrivers) {
  struct Case {
    std::int32_t type;
    bool services, fileSystem, kernel;
  };
  const Case cases[] = {
      {1, false, false, true},   {2, false, true, false},  {8, true, false, false},
      {16, true, false, false},  {32, true, false, false}, {272, true, false, false},
      {288, true, false, false}, {0, true, false, false},
  };
  for (const Case& c : cases) {
    ServiceRecord r;
    r.ServiceType = c.type;
    SCOPED_TRACE(c.type);
    EXPECT_EQ(passesServFilter(r, ServFilter::Services), c.services);
    EXPECT_EQ(passesServFilter(r, ServFilter::FileSystemDrivers), c.fileSystem);
    EXPECT_EQ(passesServFilter(r, ServFilter::KernelDrivers), c.kernel);
    EXPECT_TRUE(passesServFilter(r, ServFilter::All));
  }
}

TEST(ServImagesTest, StartTypeAndStatusImages) {
  const std::pair<std::uint32_t, int> starts[] = {{0, 22}, {1, 22}, {2, 23},
                                                  {3, 33}, {4, 24}, {9, 22}};
  for (const auto& [start, expected] : starts) {
    EXPECT_EQ(startTypeImage(start), expected) << start;
  }
  const std::pair<std::uint32_t, int> states[] = {{1, 8},  {2, 11}, {3, 11}, {4, 9},
                                                  {5, 11}, {6, 11}, {7, 10}, {0, 11}};
  for (const auto& [state, expected] : states) {
    EXPECT_EQ(statusImage(state), expected) << state;
  }
}

TEST(ServImagesTest, IconExecutableIsCutAfterTheFirstExe) {
  const std::pair<const char*, const char*> cases[] = {
      {"C:\\WINDOWS\\System32\\spoolsv.exe -x", "C:\\WINDOWS\\System32\\spoolsv.exe"},
      {"\"C:\\Program Files\\app.exe\" -service", "\"C:\\Program Files\\app.exe\""},
      {"C:\\a.exe\\b.exe", "C:\\a.exe"},
      {"C:\\WINDOWS\\SYSTEM32\\SERVICES.EXE", "C:\\WINDOWS\\SYSTEM32\\SERVICES.EXE"},
      {"system32\\DRIVERS\\tcpip.sys", "system32\\DRIVERS\\tcpip.sys"},
      {"", ""},
  };
  for (const auto& [path, expected] : cases) {
    EXPECT_EQ(iconExecutable(path), expected) << path;
  }
}

TEST(ServImagesTest, ColumnWidthsStayWithinTheirLimits) {
  EXPECT_EQ(clampServColumnWidth(0, 5), 30);
  EXPECT_EQ(clampServColumnWidth(0, 900), 600);
  EXPECT_EQ(clampServColumnWidth(5, 900), 900);
  EXPECT_EQ(clampServColumnWidth(6, 250), 200);
  EXPECT_EQ(clampServColumnWidth(1, -1), -1);
}

TEST(CompareServTextTest, CaseDecidesOnlyBetweenOtherwiseEqualTexts) {
  EXPECT_LT(compareServText("alerter", "Browser"), 0);
  EXPECT_LT(compareServText("abc", "ABC"), 0);
  EXPECT_GT(compareServText("ABC", "abc"), 0);
  EXPECT_LT(compareServText("ABC", "abd"), 0);
  EXPECT_LT(compareServText("abc", "abcd"), 0);
  EXPECT_EQ(compareServText("Same", "Same"), 0);
  EXPECT_NE(compareServText("Dhcp", "DHCP"), 0);
}

TEST_F(ServiceListTest, RowIconsByTypeSvchostAndExecutable) {
  std::vector<std::string> asked;
  hooks.executableIcon = [&](const std::string& file) {
    asked.push_back(file);
    return file == "C:\\WINDOWS\\system32\\spoolsv.exe" ? 36 : image::RowService;
  };
  fill(catalogueOf({{"Beep", "Beep", 1, 4, 1, "system32\\drivers\\beep.sys"},
                    {"Fastfat", "Fastfat", 2, 1, 3, "system32\\drivers\\fastfat.sys"},
                    {"DHCP Client", "Dhcp", 32, 4, 2, "svchost.exe -k netsvcs"},
                    {"Print Spooler", "Spooler", 16, 4, 2, "C:\\WINDOWS\\system32\\spoolsv.exe"},
                    {"Fax", "Fax", 16, 1, 3, "C:\\WINDOWS\\system32\\fxssvc.exe"},
                    {"Second", "Second", 16, 1, 3, "C:\\WINDOWS\\system32\\spoolsv.exe /x"}}),
       true);
  std::map<std::string, int> images;
  for (const ServRow& row : list.rows()) {
    images[row.serviceName()] = row.rowImage;
  }
  EXPECT_EQ(images["Beep"], 35);
  EXPECT_EQ(images["Fastfat"], 35);
  EXPECT_EQ(images["Dhcp"], 34);
  EXPECT_EQ(images["Spooler"], 36);
  EXPECT_EQ(images["Second"], 36);
  EXPECT_EQ(images["Fax"], 34);
  // Drivers and svchost services are never looked at; one executable is read once per fill.
  EXPECT_EQ(asked, (std::vector<std::string>{"C:\\WINDOWS\\system32\\spoolsv.exe",
                                             "C:\\WINDOWS\\system32\\fxssvc.exe"}));
}

TEST_F(ServiceListTest, FullFillKeepsTheFilterAndSortsByDisplayName) {
  const Catalogue catalogue = catalogueOf({{"Workstation", "lanmanworkstation"},
                                           {"Beep", "Beep", 1},
                                           {"alerter", "Alerter"},
                                           {"Fastfat", "Fastfat", 2},
                                           {"Browser", "Browser", 8}});
  fill(catalogue, true, ServFilter::Services);
  EXPECT_EQ(column(list, 0), (std::vector<std::string>{"alerter", "Browser", "Workstation"}));
  fill(catalogue, true, ServFilter::KernelDrivers);
  EXPECT_EQ(column(list, 1), (std::vector<std::string>{"Beep"}));
  const ServRow& row = list.rows()[0];
  EXPECT_EQ(row.texts[2], "manual");
  EXPECT_EQ(row.texts[3], "stopped");
  EXPECT_EQ(row.texts[4], "kernel driver");
  EXPECT_EQ(row.startTypeImage, 33);
  EXPECT_EQ(row.statusImage, 8);
}

TEST_F(ServiceListTest, EmptyCatalogueShowsTheErrorRowAndTheNextFillAddsBesideIt) {
  fill(catalogueOf({{"Alerter", "Alerter"}}), true);
  const ServListDiff diff = fill(Catalogue{}, false);
  EXPECT_TRUE(diff.errorRow);
  ASSERT_EQ(list.rows().size(), 1u);
  EXPECT_EQ(list.rows()[0].texts[0], " - error retrieving service list - ");
  EXPECT_FALSE(list.rows()[0].hasCells);
  fill(catalogueOf({{"Alerter", "Alerter"}}), false);
  EXPECT_EQ(column(list, 0),
            (std::vector<std::string>{" - error retrieving service list - ", "Alerter"}));
  fill(catalogueOf({{"Alerter", "Alerter"}}), true);
  EXPECT_EQ(column(list, 0), (std::vector<std::string>{"Alerter"}));
}

TEST_F(ServiceListTest, QuickFillChangesOnlyWhatDiffers) {
  fill(catalogueOf({{"Alerter", "Alerter"}, {"Messenger", "Messenger"}, {"Telnet", "TlntSvr"}}),
       true);
  const std::vector<std::string> before = column(list, 0);

  EXPECT_TRUE(
      list.diff(catalogueOf(
                    {{"Alerter", "Alerter"}, {"Messenger", "Messenger"}, {"Telnet", "TlntSvr"}}),
                ServFilter::All, hooks)
          .updates.empty());

  // A new service gets a row and the list sorts again; a removed one keeps its row; a change of
  // letter case alone keeps the old text; a state change updates text and image.
  const ServListDiff diff =
      fill(catalogueOf(
               {{"ALERTER", "Alerter", 16, 4}, {"Telnet", "TlntSvr"}, {"Beep service", "BeepSvc"}}),
           false);
  EXPECT_EQ(diff.additions.size(), 1u);
  ASSERT_EQ(diff.updates.size(), 1u);
  EXPECT_EQ(column(list, 0),
            (std::vector<std::string>{"Alerter", "Beep service", "Messenger", "Telnet"}));
  const ServRow& alerter = list.rows()[static_cast<std::size_t>(list.findRow("Alerter"))];
  EXPECT_EQ(alerter.texts[3], "running");
  EXPECT_EQ(alerter.statusImage, 9);
  EXPECT_NE(list.findRow("Messenger"), -1);

  fill(catalogueOf({{"ALERTER", "Alerter", 16, 4}, {"Telnet", "TlntSvr"}}), true);
  EXPECT_EQ(column(list, 0), (std::vector<std::string>{"ALERTER", "Telnet"}));
  EXPECT_EQ(before.size(), 3u);
}

TEST_F(ServiceListTest, QuickFillWithoutNewRowsDoesNotSort) {
  fill(catalogueOf({{"Alpha", "A"}, {"Beta", "B"}}), true);
  fill(catalogueOf({{"Zulu", "A"}, {"Beta", "B"}}), false);
  EXPECT_EQ(column(list, 0), (std::vector<std::string>{"Zulu", "Beta"}));
}

TEST_F(ServiceListTest, ClosingStopsTheFillAtTheNextEntry) {
  int asked = 0;
  std::vector<double> progress;
  hooks.closing = [&] { return ++asked > 2; };
  hooks.progress = [&](double percent) { progress.push_back(percent); };
  const ServListDiff diff =
      fill(catalogueOf({{"A", "A"}, {"B", "B"}, {"C", "C"}, {"D", "D"}}), true);
  EXPECT_TRUE(diff.stoppedByClosing);
  EXPECT_EQ(column(list, 1), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(progress, (std::vector<double>{0.0, 25.0}));
}

TEST_F(ServiceListTest, SortClicksKeepEachColumnsOwnDirection) {
  fill(catalogueOf({{"One", "a", 16, 4}, {"Two", "b", 16, 1}, {"Three", "c", 16, 7}}), true);
  const auto names = [&] { return column(list, 1); };

  list.columnClick(ServStatusColumn);  // Status ascending: paused, running, stopped
  EXPECT_EQ(sortColumn, 3);
  EXPECT_EQ(names(), (std::vector<std::string>{"c", "a", "b"}));
  list.columnClick(ServStatusColumn);  // the same column again: descending
  EXPECT_EQ(names(), (std::vector<std::string>{"b", "a", "c"}));
  list.columnClick(ServNameColumn);  // Name keeps its own ascending flag
  EXPECT_EQ(names(), (std::vector<std::string>{"a", "b", "c"}));
  list.columnClick(ServStatusColumn);  // back to Status, still descending
  EXPECT_EQ(names(), (std::vector<std::string>{"b", "a", "c"}));
  EXPECT_EQ(list.findRow("c"), 2);
}

}  // namespace
}  // namespace corvane
