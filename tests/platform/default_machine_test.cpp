// The computer that ships with the program: what the catalogue, the service operations and the
// event-log page rely on in its files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "common/text.h"
#include "platform/sim/reg_file.h"
#include "platform/sim/registry_tree.h"
#include "platform/sim/sim_event_logs.h"
#include "platform/sim/sim_ini_lines.h"
#include "platform/sim/sim_service_behaviour.h"
#include "platform/types.h"

namespace platform::sim {
namespace {

const std::filesystem::path kMachine = std::filesystem::path(CORVANE_DATA_DIR) / "machine";
constexpr std::size_t kMaxFileBytes = 64u * 1024 * 1024;

std::string readBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string lower(std::string_view text) {
  return common::toLowerAscii(text);
}

bool isWin32Type(std::uint32_t type) {
  return type == 0x10 || type == 0x20 || type == 0x110 || type == 0x120;
}
bool isDriverType(std::uint32_t type) {
  return type == 1 || type == 2 || type == 8;
}

// Whether the text holds "%" followed by a digit, as a quoted error number or a placeholder.
bool quotesNumber(std::string_view text) {
  for (std::size_t at = text.find('%'); at != std::string_view::npos; at = text.find('%', at + 1))
    if (at + 1 < text.size() && text[at + 1] >= '0' && text[at + 1] <= '9')
      return true;
  return false;
}

std::optional<std::uint32_t> dwordValue(const RegistryKey& key, std::string_view name) {
  const RegValue* value = key.value(name);
  if (value == nullptr || value->kind != RegKind::Dword)
    return std::nullopt;
  return dwordOfData(value->data);
}

std::vector<std::string> multiValue(const RegistryKey& key, std::string_view name) {
  const RegValue* value = key.value(name);
  if (value == nullptr)
    return {};
  EXPECT_EQ(value->kind, RegKind::MultiString) << key.name() << "\\" << name;
  return textsOfMultiString(value->data);
}

std::string textValue(const RegistryKey& key, std::string_view name) {
  const RegValue* value = key.value(name);
  return value == nullptr ? std::string() : textOfData(value->data);
}

// The shipped files, read once by the loaders the simulated computer uses.
class DefaultMachine : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    hive_ = new RegistryKey("HKEY_LOCAL_MACHINE");
    format_ = importRegFile(kMachine / "registry.reg", RegRoot::LocalMachine, *hive_);
    behaviours_ = new ServiceBehaviours(parseServiceBehaviours(
        readMachineTextFile(kMachine / "services.ini", "services.ini", kMaxFileBytes),
        "services.ini"));
    logs_ = new std::vector<EventLogFile>;
    for (const char* name : {"Application", "Security", "System"}) {
      const std::string file = std::string(name) + ".ini";
      logs_->push_back(parseEventLogFile(
          readMachineTextFile(kMachine / "eventlogs" / file, file, kMaxFileBytes), file));
    }
    messages_ = new EventMessages(parseEventMessages(
        readMachineTextFile(kMachine / "eventlogs" / "messages.ini", "messages.ini", kMaxFileBytes),
        "messages.ini"));
  }
  static void TearDownTestSuite() {
    delete hive_;
    delete behaviours_;
    delete logs_;
    delete messages_;
  }

  // The service keys (those with a Type value), by key name in lower case.
  static std::map<std::string, const RegistryKey*> services() {
    std::map<std::string, const RegistryKey*> found;
    const RegistryKey* root = hive_->find("SYSTEM\\CurrentControlSet\\Services");
    if (root == nullptr)
      return found;
    for (const auto& key : root->children())
      if (key->value("Type") != nullptr)
        found[lower(key->name())] = key.get();
    return found;
  }

  static std::set<std::string> groupsOfServices() {
    std::set<std::string> groups;
    for (const auto& [name, key] : services())
      if (key->value("Group") != nullptr)
        groups.insert(lower(textValue(*key, "Group")));
    return groups;
  }

  static std::uint32_t runState(const std::string& service) {
    const auto found = behaviours_->find(lower(service));
    return found == behaviours_->end() ? state::Stopped : found->second.state;
  }

  static inline RegistryKey* hive_ = nullptr;
  static inline RegFileFormat format_ = RegFileFormat::Version5;
  static inline ServiceBehaviours* behaviours_ = nullptr;
  static inline std::vector<EventLogFile>* logs_ = nullptr;
  static inline EventMessages* messages_ = nullptr;
};

TEST_F(DefaultMachine, RegistryIsAnEightBitExportWithCrLfLines) {
  EXPECT_EQ(format_, RegFileFormat::Regedit4);
  const std::string bytes = readBytes(kMachine / "registry.reg");
  ASSERT_EQ(bytes.rfind("REGEDIT4\r\n\r\n", 0), 0u);
  for (std::size_t at = bytes.find('\n'); at != std::string::npos; at = bytes.find('\n', at + 1))
    ASSERT_TRUE(at > 0 && bytes[at - 1] == '\r') << "bare line feed at byte " << at;
}

TEST_F(DefaultMachine, RegistryReadsBackAsTheWriterWritesIt) {
  // Writing the computer back without a change must leave the shipped file as it is.
  EXPECT_EQ(exportRegFile(*hive_, "HKEY_LOCAL_MACHINE", RegFileFormat::Regedit4),
            readBytes(kMachine / "registry.reg"));
}

TEST_F(DefaultMachine, HasTheServiceAndDriverSetOfXp) {
  std::size_t win32 = 0, drivers = 0;
  std::set<std::uint32_t> types;
  for (const auto& [name, key] : services()) {
    const auto type = dwordValue(*key, "Type");
    ASSERT_TRUE(type) << name << ": Type is no double word";
    EXPECT_TRUE(isWin32Type(*type) || isDriverType(*type)) << name << ": type " << *type;
    win32 += isWin32Type(*type) ? 1 : 0;
    drivers += isDriverType(*type) ? 1 : 0;
    types.insert(*type);
  }
  EXPECT_GE(win32, 80u);
  EXPECT_GE(drivers, 100u);
  // Own and shared processes, both interactive, kernel, file-system and recognizer drivers.
  EXPECT_EQ(types, (std::set<std::uint32_t>{0x1, 0x2, 0x8, 0x10, 0x20, 0x110, 0x120}));
  for (const char* name : {"RpcSs", "DcomLaunch", "Eventlog", "PlugPlay", "lanmanserver", "Tcpip",
                           "Fs_Rec", "Ntfs", "Disk", "NetBIOS", "MRxSmb"})
    EXPECT_TRUE(services().count(lower(name))) << name;
}

TEST_F(DefaultMachine, EveryServiceHasItsValuesOfTheRightKind) {
  bool expandableDescription = false;
  for (const auto& [name, key] : services()) {
    const auto start = dwordValue(*key, "Start");
    ASSERT_TRUE(start) << name;
    EXPECT_LE(*start, 4u) << name;
    EXPECT_TRUE(dwordValue(*key, "ErrorControl")) << name;
    ASSERT_NE(key->value("DisplayName"), nullptr) << name;
    EXPECT_EQ(key->value("DisplayName")->kind, RegKind::String) << name;
    if (const RegValue* image = key->value("ImagePath")) {
      EXPECT_EQ(image->kind, RegKind::ExpandString) << name;
    }
    if (const RegValue* description = key->value("Description")) {
      EXPECT_TRUE(description->kind == RegKind::String ||
                  description->kind == RegKind::ExpandString)
          << name;
      expandableDescription |= description->kind == RegKind::ExpandString;
    }
    if (isWin32Type(dwordOfData(key->value("Type")->data))) {
      EXPECT_NE(key->value("ImagePath"), nullptr) << name;
    }
  }
  EXPECT_TRUE(expandableDescription);
}

TEST_F(DefaultMachine, DependenciesNameExistingServicesAndGroups) {
  const auto all = services();
  const auto groups = groupsOfServices();
  std::size_t groupDependencies = 0;
  for (const auto& [name, key] : all) {
    for (const std::string& dependency : multiValue(*key, "DependOnService"))
      EXPECT_TRUE(all.count(lower(dependency))) << name << " depends on " << dependency;
    for (const std::string& group : multiValue(*key, "DependOnGroup")) {
      EXPECT_TRUE(groups.count(lower(group))) << name << " depends on group " << group;
      ++groupDependencies;
    }
  }
  EXPECT_GE(groupDependencies, 3u);
}

TEST_F(DefaultMachine, GroupOrderListsTheLoadOrderGroups) {
  const RegistryKey* order = hive_->find("SYSTEM\\CurrentControlSet\\Control\\ServiceGroupOrder");
  ASSERT_NE(order, nullptr);
  const std::vector<std::string> list = multiValue(*order, "List");
  ASSERT_FALSE(list.empty());
  EXPECT_EQ(list.front(), "System Reserved");
  std::set<std::string> listed;
  for (const std::string& group : list) {
    EXPECT_FALSE(group.empty());
    listed.insert(lower(group));
  }
  // Most groups of the services are listed; a few are not, as on XP.
  std::size_t unlisted = 0;
  for (const std::string& group : groupsOfServices())
    unlisted += listed.count(group) ? 0 : 1;
  EXPECT_GE(unlisted, 1u);
  EXPECT_LE(unlisted, 5u);
}

TEST_F(DefaultMachine, IsWindowsXpServicePack2) {
  const RegistryKey* version = hive_->find("SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion");
  ASSERT_NE(version, nullptr);
  EXPECT_EQ(textValue(*version, "CurrentVersion"), "5.1");
  EXPECT_EQ(textValue(*version, "CurrentBuildNumber"), "2600");
  EXPECT_EQ(textValue(*version, "CSDVersion"), "Service Pack 2");
  EXPECT_EQ(textValue(*version, "ProductName"), "Microsoft Windows XP");
  EXPECT_EQ(hive_->find("SOFTWARE\\Microsoft\\Windows\\CurrentVersion"), nullptr);
  const RegistryKey* computer =
      hive_->find("SYSTEM\\CurrentControlSet\\Control\\ComputerName\\ComputerName");
  ASSERT_NE(computer, nullptr);
  EXPECT_EQ(textValue(*computer, "ComputerName"), "XPSP2-LAB");
}

TEST_F(DefaultMachine, RunStatesAreThoseOfAFreshlyBootedComputer) {
  const auto all = services();
  for (const auto& [name, rules] : *behaviours_)
    EXPECT_TRUE(all.count(name)) << "services.ini names " << name << ", which is no service";
  const auto groups = [&] {
    std::map<std::string, std::vector<std::string>> members;
    for (const auto& [name, key] : all)
      if (key->value("Group") != nullptr)
        members[lower(textValue(*key, "Group"))].push_back(name);
    return members;
  }();
  for (const auto& [name, key] : all) {
    const std::uint32_t start = *dwordValue(*key, "Start");
    const std::uint32_t type = *dwordValue(*key, "Type");
    if (start == start::Disabled) {
      EXPECT_EQ(runState(name), state::Stopped) << name << " is disabled";
    }
    if (start == start::Automatic && isWin32Type(type)) {
      EXPECT_EQ(runState(name), state::Running) << name << " starts automatically";
    }
    if (runState(name) != state::Running)
      continue;
    for (const std::string& dependency : multiValue(*key, "DependOnService"))
      EXPECT_EQ(runState(dependency), state::Running) << name << " runs without " << dependency;
    for (const std::string& group : multiValue(*key, "DependOnGroup")) {
      const auto& members = groups.at(lower(group));
      EXPECT_TRUE(std::any_of(members.begin(), members.end(),
                              [&](const std::string& m) { return runState(m) == state::Running; }))
          << name << " runs without a member of " << group;
    }
  }
  // Manual services that others started.
  for (const char* name : {"Netman", "Nla", "RasMan", "TapiSrv", "EventSystem"})
    EXPECT_EQ(runState(name), state::Running) << name;
}

TEST_F(DefaultMachine, ServicesAcceptTheControlsXpServicesAccept) {
  for (const char* name : {"RpcSs", "DcomLaunch", "PlugPlay", "Eventlog", "SamSs"}) {
    ASSERT_TRUE(behaviours_->count(lower(name))) << name;
    EXPECT_FALSE(behaviours_->at(lower(name)).acceptsStop) << name;
  }
  for (const char* name : {"lanmanserver", "lanmanworkstation", "Schedule"}) {
    ASSERT_TRUE(behaviours_->count(lower(name))) << name;
    EXPECT_TRUE(behaviours_->at(lower(name)).acceptsStop) << name;
    EXPECT_TRUE(behaviours_->at(lower(name)).acceptsPause) << name;
  }
  std::size_t fails = 0, exits = 0, hangs = 0;
  for (const auto& [name, rules] : *behaviours_) {
    EXPECT_LE(rules.startMs, 3000u) << name;
    EXPECT_LE(rules.stopMs, 3000u) << name;
    // A pending state that takes time reports a wait hint longer than the time between two
    // check points, so that no wait of the program gives up on a healthy service.
    const std::uint32_t longest =
        std::max({rules.startMs, rules.stopMs, rules.pauseMs, rules.continueMs});
    if (longest > 0) {
      EXPECT_GT(rules.waitHint, longest / (rules.checkPoints + 1)) << name;
    }
    fails += rules.outcome == StartOutcome::Fails ? 1 : 0;
    exits += rules.outcome == StartOutcome::Exits ? 1 : 0;
    hangs += rules.outcome == StartOutcome::Hangs ? 1 : 0;
    if (rules.outcome != StartOutcome::Runs) {
      EXPECT_EQ(rules.state, state::Stopped) << name;
    }
  }
  EXPECT_EQ(fails, 1u);
  EXPECT_EQ(exits, 1u);
  EXPECT_EQ(hangs, 0u);
}

TEST_F(DefaultMachine, EventLogsHoldEveryKindOfRecordInOrder) {
  std::set<std::uint16_t> types;
  bool withUser = false, withoutUser = false;
  for (const EventLogFile& log : *logs_) {
    ASSERT_FALSE(log.records.empty()) << log.name;
    for (std::size_t i = 1; i < log.records.size(); ++i) {
      EXPECT_EQ(log.records[i].recordNumber, log.records[i - 1].recordNumber + 1) << log.name;
      EXPECT_GE(log.records[i].timeGenerated, log.records[i - 1].timeGenerated)
          << log.name << " record " << log.records[i].recordNumber;
    }
    EXPECT_GT(log.nextRecord, log.records.back().recordNumber) << log.name;
    for (const EventRecord& record : log.records) {
      types.insert(record.eventType);
      EXPECT_EQ(record.computerName, "XPSP2-LAB");
      (record.userName.empty() ? withoutUser : withUser) = true;
    }
  }
  EXPECT_EQ(types, (std::set<std::uint16_t>{0, 1, 2, 4, 8, 16}));
  EXPECT_TRUE(withUser);
  EXPECT_TRUE(withoutUser);
}

TEST_F(DefaultMachine, SecurityRecordsAreAuditsWithNamedCategories) {
  const EventLogFile& security = logs_->at(1);
  std::set<std::string> categories;
  for (const EventRecord& record : security.records) {
    EXPECT_TRUE(record.eventType == 8 || record.eventType == 16) << record.recordNumber;
    EXPECT_NE(record.category, 0) << record.recordNumber;
    EXPECT_FALSE(record.userName.empty()) << record.recordNumber;
    categories.insert(record.categoryName);
  }
  for (const char* name :
       {"System Event", "Logon/Logoff", "Object Access", "Privilege Use", "Detailed Tracking",
        "Policy Change", "Account Management", "Account Logon"})
    EXPECT_TRUE(categories.count(name)) << name;
}

// Every placeholder of a record's message has its insertion string; some descriptions quote error
// numbers for the page to explain; a few records have no message text.
TEST_F(DefaultMachine, DescriptionsQuoteErrorNumbersAndSomeFallBack) {
  std::size_t quotingErrors = 0, withoutText = 0;
  for (const EventLogFile& log : *logs_) {
    for (const EventRecord& record : log.records) {
      const auto source = messages_->find(lower(record.sourceName));
      const std::uint16_t id = static_cast<std::uint16_t>(record.eventId & 0xFFFF);
      if (source == messages_->end() || !source->second.count(id)) {
        ++withoutText;
        continue;
      }
      const std::string& message = source->second.at(id);
      const std::vector<std::string> plain(record.strings.size(), "x");
      EXPECT_FALSE(quotesNumber(formatEventMessage(message, plain)))
          << log.name << " record " << record.recordNumber << " lacks an insertion string";
      quotingErrors += quotesNumber(formatEventMessage(message, record.strings)) ? 1 : 0;
    }
  }
  EXPECT_GE(quotingErrors, 3u);
  EXPECT_GE(withoutText, 1u);
}

}  // namespace
}  // namespace platform::sim
