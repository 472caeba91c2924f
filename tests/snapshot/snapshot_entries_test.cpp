#include <gtest/gtest.h>

#include <map>

#include "common/text.h"
#include "corvane/catalogue/service_list.h"
#include "corvane/snapshot/snapshot_entries.h"

namespace corvane {
namespace {

ServiceRecord Record(std::string name, std::string display, std::int32_t type,
                     std::string startType, std::string state) {
  ServiceRecord record;
  record.ServiceName = std::move(name);
  record.DisplayName = std::move(display);
  record.ServiceType = type;
  record.StartTypeText = std::move(startType);
  record.StateText = std::move(state);
  return record;
}

// A catalogue of services and drivers in every state the snapshot tells apart.
struct EntriesTest : ::testing::Test {
  EntriesTest() {
    const ServiceRecord records[] = {
        Record("Alerter", "Alerter", 0x20, "disabled", "stopped"),
        Record("Beep", "Beep", 1, "system", "running"),
        Record("Browser", "Computer Browser", 0x20, "automatic", "running"),
        Record("Fastfat", "Fastfat", 2, "manual", "stopped"),
        Record("RpcSs", "Remote Procedure Call (RPC)", 0x20, "disabled", "stopped"),
        Record("Spooler", "Print Spooler", 0x110, "automatic", "paused"),
        Record("Odd", "Odd one", 0x10, "unknown: 9", "starting..."),
        Record("Cisvc", "Indexing Service", 0x20, "manual", "unknown: 12"),
    };
    catalogue.ServiceCount = std::size(records);
    std::copy(std::begin(records), std::end(records), catalogue.ServiceTable.begin());
  }

  EntryCheckContext Context() {
    EntryCheckContext context{catalogue};
    context.closing = [this] { return closing; };
    context.showWarnings = showWarnings;
    context.showInformation = [this](const std::string& text) { messages.push_back(text); };
    context.mainListImage = [this](const std::string& name) -> std::optional<int> {
      for (const auto& [listed, picture] : mainList) {
        if (common::equalsIgnoreCase(listed, name))
          return picture;
      }
      return std::nullopt;
    };
    return context;
  }

  Catalogue catalogue;
  bool closing = false;
  bool showWarnings = true;
  std::vector<std::string> messages;
  std::map<std::string, int> mainList{{"Browser", 40}, {"Alerter", image::RowService}};
};

TEST_F(EntriesTest, CatalogueGivesEveryServiceButTheDrivers) {
  const std::vector<SnapshotEntry> entries = EntriesFromCatalogue(catalogue, [] { return false; });
  std::vector<std::string> rows;
  for (const SnapshotEntry& e : entries)
    rows.push_back(e.Name + "|" + e.DisplayName + "|" + e.StartupType + "|" + e.Status);
  EXPECT_EQ(rows, (std::vector<std::string>{
                      "Alerter|Alerter|disabled|stopped",
                      "Browser|Computer Browser|automatic|started",
                      "RpcSs|Remote Procedure Call (RPC)|disabled|stopped",
                      "Spooler|Print Spooler|automatic|started",
                      "Odd|Odd one|unknown: 9|stopped",
                      "Cisvc|Indexing Service|manual|stopped",
                  }));

  int asked = 0;
  EXPECT_EQ(EntriesFromCatalogue(catalogue, [&] { return ++asked > 2; }).size(), 1u);
}

struct CheckCase {
  SnapshotEntry entry;
  int rowImage;
  int startTypeImage;
  int statusImage;
  std::string startupTypeAfter;
};

TEST_F(EntriesTest, CheckSetsTheIcons) {
  const CheckCase cases[] = {
      // In the main list: its row icon.
      {{"browser", "Computer Browser", "automatic", "started"},
       40,
       image::StartAutomatic,
       image::StateRunning,
       "automatic"},
      // In the catalogue, not in the main list: the installed icon, even with invalid texts.
      {{"Cisvc", "Indexing Service", "Manual", "running"},
       image::RowService,
       image::InvalidSnapshotEntry,
       image::InvalidSnapshotEntry,
       "Manual"},
      {{"Gone", "Gone", "manual", "stopped"},
       image::ServiceNotInstalled,
       image::StartManual,
       image::StateStopped,
       "manual"},
      {{"Gone", "Gone", "disabled", "paused"},
       image::ServiceNotInstalled,
       image::StartDisabled,
       image::InvalidSnapshotEntry,
       "disabled"},
      // A section without keys.
      {{"Alerter", "error", "error", "error"},
       image::InvalidSnapshotEntry,
       image::InvalidSnapshotEntry,
       image::InvalidSnapshotEntry,
       "error"},
      // 'Remote Procedure Call' can be automatic or manual, nothing else.
      {{"rpcss", "x", "disabled", "stopped"},
       image::RowService,
       image::StartAutomatic,
       image::StateStopped,
       "automatic"},
      {{"RpcSs", "x", "manual", "stopped"},
       image::RowService,
       image::StartManual,
       image::StateStopped,
       "manual"},
  };
  for (const CheckCase& c : cases) {
    SCOPED_TRACE(c.entry.Name + " " + c.entry.StartupType);
    SnapshotRow row{c.entry};
    EXPECT_TRUE(CheckEntry(row, Context()));
    EXPECT_EQ(row.rowImage, c.rowImage);
    EXPECT_EQ(row.startTypeImage, c.startTypeImage);
    EXPECT_EQ(row.statusImage, c.statusImage);
    EXPECT_EQ(row.entry.StartupType, c.startupTypeAfter);
  }
  EXPECT_EQ(messages, std::vector<std::string>{RpcWarning});
}

TEST_F(EntriesTest, CheckRemovesTheOptionsAndIdlesWhileClosing) {
  SnapshotRow options{{"-options-", "error", "error", "error"}};
  EXPECT_FALSE(CheckEntry(options, Context()));
  SnapshotRow named{{"x", "-options-", "manual", "stopped"}};
  EXPECT_FALSE(CheckEntry(named, Context()));
  SnapshotRow upper{{"-OPTIONS-", "error", "error", "error"}};
  EXPECT_TRUE(CheckEntry(upper, Context()));

  closing = true;
  SnapshotRow untouched{{"RpcSs", "x", "disabled", "started"}};
  EXPECT_TRUE(CheckEntry(untouched, Context()));
  EXPECT_EQ(untouched.rowImage, -1);
  EXPECT_EQ(untouched.entry.StartupType, "disabled");
}

TEST_F(EntriesTest, WithoutACatalogueOnlyTheTextsDecide) {
  catalogue.ServiceCount = 0;
  SnapshotRow valid{{"Alerter", "Alerter", "manual", "stopped"}};
  CheckEntry(valid, Context());
  EXPECT_EQ(valid.rowImage, -1);
  SnapshotRow invalid{{"Alerter", "Alerter", "manual", "halted"}};
  CheckEntry(invalid, Context());
  EXPECT_EQ(invalid.rowImage, image::InvalidSnapshotEntry);
}

TEST_F(EntriesTest, EditingSetsEverySelectedRowAndKeepsRpcBootable) {
  showWarnings = false;
  SnapshotList list;
  for (const SnapshotEntry& entry : EntriesFromCatalogue(catalogue, {}))
    list.add(entry, Context());
  // The disabled 'Remote Procedure Call' was corrected when it was added, without a message.
  EXPECT_EQ(list.rows()[2].entry.StartupType, "automatic");
  EXPECT_TRUE(messages.empty());

  list.setStatus({0, 2, 3}, "stopped", Context());
  list.setStartupType({0, 2}, "disabled", Context());
  EXPECT_EQ(list.rows()[0].entry.Status, "stopped");
  EXPECT_EQ(list.rows()[3].entry.Status, "stopped");
  EXPECT_EQ(list.rows()[3].statusImage, image::StateStopped);
  EXPECT_EQ(list.rows()[0].entry.StartupType, "disabled");
  EXPECT_EQ(list.rows()[0].startTypeImage, image::StartDisabled);
  EXPECT_EQ(list.rows()[2].entry.StartupType, "automatic");
  list.setStartupType({2}, "manual", Context());
  EXPECT_EQ(list.rows()[2].entry.StartupType, "manual");
  list.setStatus({}, "started", Context());
  EXPECT_EQ(list.rows()[1].entry.Status, "started");

  EXPECT_FALSE(list.add({"-options-", "error", "error", "error"}, Context()));
  EXPECT_EQ(list.size(), 6u);
  list.remove(0);
  list.remove(99);
  EXPECT_EQ(list.rows()[0].entry.Name, "Browser");
}

std::vector<std::string> Column(const SnapshotList& list, int field) {
  std::vector<std::string> texts;
  for (const SnapshotRow& row : list.rows())
    texts.push_back(FieldText(row.entry, field));
  return texts;
}

TEST_F(EntriesTest, HeaderPositionsSortWithTheirOwnDirections) {
  SnapshotList list;
  for (const SnapshotEntry& entry : EntriesFromCatalogue(catalogue, {}))
    list.add(entry, Context());
  list.sort();
  EXPECT_EQ(Column(list, FieldDisplayName),
            (std::vector<std::string>{"Alerter", "Computer Browser", "Indexing Service", "Odd one",
                                      "Print Spooler", "Remote Procedure Call (RPC)"}));
  list.columnClick(FieldStatus);
  EXPECT_EQ(Column(list, FieldStatus).front(), "started");
  EXPECT_TRUE(list.ascending(FieldStatus));
  list.columnClick(FieldStatus);
  EXPECT_FALSE(list.ascending(FieldStatus));
  EXPECT_EQ(Column(list, FieldStatus).front(), "stopped");

  list.columnClick(FieldName);
  EXPECT_EQ(Column(list, FieldName),
            (std::vector<std::string>{"Alerter", "Browser", "Cisvc", "Odd", "RpcSs", "Spooler"}));
  list.columnClick(FieldName);
  list.columnClick(FieldStatus);  // back to status, still descending
  EXPECT_FALSE(list.ascending(FieldStatus));
  EXPECT_EQ(Column(list, FieldStatus).front(), "stopped");
  list.columnClick(FieldName);
  EXPECT_EQ(Column(list, FieldName).front(), "Spooler");  // name kept its descending direction

  // Case decides only between texts that differ in case alone: lower first.
  SnapshotList cased;
  for (const char* name : {"beta", "Alpha", "alpha", "Beta"})
    cased.add({name, name, "manual", "stopped"}, Context());
  cased.columnClick(FieldName);
  EXPECT_EQ(Column(cased, FieldName), (std::vector<std::string>{"alpha", "Alpha", "beta", "Beta"}));
}

}  // namespace
}  // namespace corvane
