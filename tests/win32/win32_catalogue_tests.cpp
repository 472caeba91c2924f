// The catalogue refresh through the Windows provider: it sees the test services as the service
// control manager and the registry hold them, and agrees with Wine's (or Windows') sc.exe.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <map>
#include <memory>
#include <sstream>

#include "corvane/catalogue/refresh_catalogue.h"
#include "corvane/catalogue/service_texts.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_registry.h"
#include "platform/win32/win32_scm.h"
#include "platform/win32/win32_system.h"
#include "support/scripted_dialogs.h"
#include "win32_test_support.h"

namespace {

using corvane::ServiceRecord;
using platform::RegRoot;
using platform::win32::narrow;
using platform::win32::widen;
using win32_test::TestService;
using win32_test::TestServiceOptions;

class Win32CatalogueTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TestServiceOptions dependencyOptions;
    dependencyOptions.startType = SERVICE_AUTO_START;
    dependency = std::make_unique<TestService>("CorvaneCatDep", dependencyOptions);
    TestServiceOptions options;
    options.startType = SERVICE_DISABLED;
    options.group = "CorvaneTestGroup";
    options.description = "Test service: \xE2\x9C\x93 described";
    options.dependencies = dependency->name() + '\0' + '\0';
    service = std::make_unique<TestService>("CorvaneCatSvc", options);
    ASSERT_TRUE(dependency->created());
    ASSERT_TRUE(service->created());
    const SC_HANDLE manager = OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
    const SC_HANDLE running =
        OpenServiceW(manager, widen(dependency->name()).c_str(), SERVICE_START);
    ASSERT_TRUE(StartServiceW(running, 0, nullptr)) << GetLastError();
    CloseServiceHandle(running);
    CloseServiceHandle(manager);
    ASSERT_TRUE(dependency->waitForState(SERVICE_RUNNING));
    handle = scm.openSCManager(platform::access::ScManagerAll);
    ASSERT_NE(handle, 0u);
  }

  void TearDown() override {
    if (handle != 0)
      scm.closeServiceHandle(handle);
    service.reset();
    dependency.reset();
  }

  void refresh(corvane::Catalogue& into) {
    const corvane::RefreshContext context{scm,    registry,   dialogs,      true,
                                          handle, enumBuffer, configBuffer, statusBuffer};
    corvane::RefreshCatalogue(context, into);
  }

  const ServiceRecord* find(const std::string& name) const {
    for (std::size_t i = 0; i < catalogue.ServiceCount; ++i) {
      if (catalogue.ServiceTable[i].ServiceName == name)
        return &catalogue.ServiceTable[i];
    }
    return nullptr;
  }

  platform::win32::Win32Scm scm;
  platform::win32::Win32Registry registry;
  corvane::testing::ScriptedDialogs dialogs;
  std::vector<platform::EnumServiceEntry> enumBuffer;
  platform::ServiceConfig configBuffer;
  platform::ServiceStatus statusBuffer;
  platform::ScHandle handle = 0;
  corvane::Catalogue catalogue;
  std::unique_ptr<TestService> dependency;
  std::unique_ptr<TestService> service;
};

TEST_F(Win32CatalogueTest, TheRefreshSeesTheTestServicesAsTheyAre) {
  refresh(catalogue);
  EXPECT_TRUE(dialogs.asked.empty());
  const ServiceRecord* running = find(dependency->name());
  const ServiceRecord* disabled = find(service->name());
  ASSERT_NE(running, nullptr);
  ASSERT_NE(disabled, nullptr);

  EXPECT_EQ(running->DisplayName, dependency->options().displayName);
  EXPECT_EQ(running->ServiceType, 0x10);
  EXPECT_EQ(running->StartType, platform::start::Automatic);
  EXPECT_EQ(running->StartTypeText, corvane::StartTypeText(platform::start::Automatic));
  EXPECT_EQ(running->State, platform::state::Running);
  EXPECT_EQ(running->StateText, corvane::StateText(platform::state::Running));
  EXPECT_EQ(running->AcceptsStop, 1);
  EXPECT_EQ(running->AcceptsPause, 1);
  EXPECT_EQ(running->GroupText, corvane::NoGroupMarker);
  EXPECT_EQ(running->DescriptionText, corvane::UnavailableMarker);
  EXPECT_EQ(running->ExecutablePath, dependency->commandLine());
  EXPECT_EQ(running->Account, "LocalSystem");

  EXPECT_EQ(disabled->DisplayName, service->options().displayName);
  EXPECT_EQ(disabled->StartType, platform::start::Disabled);
  EXPECT_EQ(disabled->State, platform::state::Stopped);
  EXPECT_EQ(disabled->AcceptsStop, 0);
  EXPECT_EQ(disabled->GroupText, "CorvaneTestGroup");
  EXPECT_EQ(disabled->DescriptionText, service->options().description);

  const corvane::GroupRecord* group = nullptr;
  for (std::size_t k = 0; k < catalogue.GroupCount; ++k) {
    if (catalogue.GroupTable[k].Name == "CorvaneTestGroup")
      group = &catalogue.GroupTable[k];
  }
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->Listed, 0);
  EXPECT_EQ(group->Members, std::vector<std::string>{service->options().displayName});
}

TEST_F(Win32CatalogueTest, TheRefreshLinksDependenciesAndDependents) {
  SKIP_UNDER_WINE("QueryServiceConfigW always answers an empty dependency list");
  refresh(catalogue);
  const ServiceRecord* dependent = find(service->name());
  const ServiceRecord* dependedOn = find(dependency->name());
  ASSERT_NE(dependent, nullptr);
  ASSERT_NE(dependedOn, nullptr);
  EXPECT_EQ(dependent->Dependencies, std::vector<std::string>{dependency->name()});
  EXPECT_EQ(dependedOn->Dependents, std::vector<std::string>{service->name()});
}

// What sc.exe prints of each service: the type and state numbers of its blocks.
struct ScEntry {
  std::uint32_t type = 0;
  std::uint32_t state = 0;
};

std::map<std::string, ScEntry> parseSc(const std::string& output) {
  std::map<std::string, ScEntry> entries;
  std::istringstream lines(output);
  std::string line;
  ScEntry* current = nullptr;
  while (std::getline(lines, line)) {
    const std::size_t colon = line.find(':');
    if (colon == std::string::npos)
      continue;
    std::string field = line.substr(0, colon);
    field.erase(0, field.find_first_not_of(" \t"));
    field.erase(field.find_last_not_of(" \t") + 1);
    std::istringstream value(line.substr(colon + 1));
    if (field == "SERVICE_NAME") {
      std::string name;
      value >> name;
      current = &entries[name];
    } else if (current != nullptr && field == "TYPE") {
      value >> std::hex >> current->type;
    } else if (current != nullptr && field == "STATE") {
      value >> current->state;
    }
  }
  return entries;
}

std::string readFile(const std::string& path) {
  std::ifstream file(widen(path).c_str(), std::ios::binary);
  std::ostringstream content;
  content << file.rdbuf();
  return content.str();
}

std::string temporaryPath(const std::string& name) {
  wchar_t folder[MAX_PATH];
  const DWORD chars = GetTempPathW(MAX_PATH, folder);
  return narrow(std::wstring(folder, chars)) + win32_test::uniqueName(name);
}

// Runs the lines as a batch file with cmd.exe.
void runBatch(const std::string& lines) {
  const std::string batch = temporaryPath("sc") + ".cmd";
  {
    std::ofstream file(widen(batch).c_str(), std::ios::binary);
    file << "@echo off\r\n" << lines;
  }
  std::string error;
  ASSERT_TRUE(
      platform::win32::Win32Processes().runAndWait("cmd.exe", "/c \"" + batch + "\"", error))
      << error;
  DeleteFileW(widen(batch).c_str());
}

TEST_F(Win32CatalogueTest, TheCatalogueAgreesWithScAndTheRegistry) {
  refresh(catalogue);
  ASSERT_NE(find(service->name()), nullptr);

  // Windows' sc lists every service at once; Wine's knows only "query" of one service.
  const std::string listing = temporaryPath("queryex.txt");
  const std::string single = temporaryPath("query.txt");
  std::string lines = "sc queryex type= all state= all > \"" + listing + "\"\r\n";
  for (std::size_t i = 0; i < catalogue.ServiceCount; ++i) {
    lines += "sc query " + catalogue.ServiceTable[i].ServiceName + " >> \"" + single + "\"\r\n";
  }
  runBatch(lines);
  const auto listed = parseSc(readFile(listing));
  const auto queried = parseSc(readFile(single));
  DeleteFileW(widen(listing).c_str());
  DeleteFileW(widen(single).c_str());
  const bool fullListing = !listed.empty();
  if (!fullListing)
    std::printf("sc queryex lists nothing here: comparing with sc query\n");
  const auto& peer = fullListing ? listed : queried;

  // States that changed while sc ran are not compared.
  corvane::Catalogue again;
  refresh(again);
  std::map<std::string, std::uint32_t> stateAfter;
  for (std::size_t i = 0; i < again.ServiceCount; ++i) {
    stateAfter[again.ServiceTable[i].ServiceName] = again.ServiceTable[i].State;
  }

  std::size_t compared = 0;
  for (std::size_t i = 0; i < catalogue.ServiceCount; ++i) {
    const ServiceRecord& record = catalogue.ServiceTable[i];
    SCOPED_TRACE(record.ServiceName);
    const auto found = peer.find(record.ServiceName);
    ASSERT_NE(found, peer.end());
    EXPECT_EQ(found->second.type, static_cast<std::uint32_t>(record.ServiceType));
    if (stateAfter[record.ServiceName] == record.State) {
      EXPECT_EQ(found->second.state, record.State);
      ++compared;
    }
    // The service control manager keeps the start type as the key's Start value. Wine's
    // Winedevice services live in the manager only: the catalogue marks their key as missing.
    const std::string key = corvane::ServicesKey + record.ServiceName;
    if (!registry.keyExists(RegRoot::LocalMachine, key)) {
      EXPECT_EQ(record.DescriptionText, corvane::DescriptionKeyMissingMarker);
      continue;
    }
    const auto start = registry.readBytes(RegRoot::LocalMachine, key, "Start", 4);
    ASSERT_TRUE(start.has_value() && start->size() == 4);
    const std::uint32_t startValue = static_cast<unsigned char>((*start)[0]) |
                                     static_cast<unsigned char>((*start)[1]) << 8 |
                                     static_cast<unsigned char>((*start)[2]) << 16 |
                                     static_cast<unsigned char>((*start)[3]) << 24;
    EXPECT_EQ(startValue, record.StartType);
  }
  EXPECT_GT(compared, catalogue.ServiceCount / 2);
  if (fullListing) {
    // Every service and driver sc lists of the enumerated kinds is in the catalogue.
    for (const auto& [name, entry] : listed) {
      if ((entry.type & ~(platform::svctype::AllEnumerated | platform::svctype::Interactive)) ==
          0) {
        EXPECT_NE(find(name), nullptr) << name;
      }
    }
  }
}

}  // namespace
