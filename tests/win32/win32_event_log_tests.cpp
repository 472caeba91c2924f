// Event records: texts from the message files a source names in the registry (the test service
// holds a message table), and the classic event-log calls, which Wine only stubs.
#include <gtest/gtest.h>

#include <windows.h>

#include "platform/win32/event_messages.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_event_logs.h"
#include "platform/win32/win32_registry.h"
#include "win32_test_support.h"

namespace {

using platform::RegRoot;
using platform::win32::widen;

constexpr std::uint32_t StateMessage = 1000;
constexpr std::uint16_t TestCategory = 1;

// An event source of the Application log whose message files are the test service, named
// through an environment variable after a file that does not exist.
class Win32EventSourceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetEnvironmentVariableW(L"CORVANE_TEST_FOLDER", widen(win32_test::programFolder()).c_str());
    ASSERT_TRUE(registry.createKey(RegRoot::LocalMachine, key));
    HKEY opened = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, widen(key).c_str(), 0, KEY_SET_VALUE, &opened),
              ERROR_SUCCESS);
    const std::wstring files =
        L"C:\\corvane-missing\\none.dll;%CORVANE_TEST_FOLDER%corvane_test_service.exe";
    for (const wchar_t* value : {L"EventMessageFile", L"CategoryMessageFile"}) {
      RegSetValueExW(opened, value, 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(files.c_str()),
                     static_cast<DWORD>((files.size() + 1) * sizeof(wchar_t)));
    }
    RegCloseKey(opened);
  }
  void TearDown() override { registry.deleteKeyTree(RegRoot::LocalMachine, key); }

  platform::win32::Win32Registry registry;
  const std::string source = win32_test::uniqueName("CorvaneSource");
  const std::string key = "SYSTEM\\CurrentControlSet\\Services\\EventLog\\Application\\" + source;
};

TEST_F(Win32EventSourceTest, TheSourcesMessageTakesTheInsertionStrings) {
  EXPECT_EQ(platform::win32::eventDescription("Application", source, StateMessage,
                                              {"Spooler", "running"}),
            "Service Spooler entered the running state.\r\n");
}

TEST_F(Win32EventSourceTest, InsertsBeyondTheRecordsStringsStayAsWritten) {
  EXPECT_EQ(platform::win32::eventDescription("Application", source, StateMessage, {"Spooler"}),
            "Service Spooler entered the %2 state.\r\n");
  EXPECT_EQ(platform::win32::eventDescription("Application", source, StateMessage, {}),
            "Service %1 entered the %2 state.\r\n");
}

TEST_F(Win32EventSourceTest, WithoutTheMessageTheTextNamesTheIdentifierSourceAndStrings) {
  const struct {
    std::string source;
    std::uint32_t id;
  } cases[] = {{source, 4321}, {"CorvaneNoSuchSource", StateMessage}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.source);
    EXPECT_EQ(platform::win32::eventDescription("Application", c.source, c.id, {"one", "two"}),
              "The description for Event ID ( " + std::to_string(c.id) + " ) in Source ( " +
                  c.source + " ) cannot be found.\r\none\r\ntwo");
  }
}

TEST_F(Win32EventSourceTest, CategoryNamesComeFromTheCategoryMessageFile) {
  EXPECT_EQ(platform::win32::categoryName("Application", source, 0), "None");
  EXPECT_EQ(platform::win32::categoryName("Application", source, TestCategory), "Test category");
  EXPECT_EQ(platform::win32::categoryName("Application", source, 7), "(7)");
}

TEST_F(Win32EventSourceTest, AReportedEventIsReadBackWithItsTexts) {
  SKIP_UNDER_WINE("the event-log API is a stub that keeps no records");
  const HANDLE reporter = RegisterEventSourceW(nullptr, widen(source).c_str());
  ASSERT_NE(reporter, nullptr);
  const wchar_t* strings[] = {L"Spooler", L"running"};
  ASSERT_TRUE(ReportEventW(reporter, EVENTLOG_WARNING_TYPE, TestCategory, StateMessage, nullptr, 2,
                           0, strings, nullptr));
  DeregisterEventSource(reporter);

  std::uint32_t error = 0;
  const auto log = platform::win32::Win32EventLogs().open("Application", error);
  ASSERT_NE(log, nullptr) << error;
  const std::uint32_t count = log->count();
  ASSERT_GT(count, 0u);
  // Another program may write in between: look back from the newest record for ours.
  std::optional<std::uint32_t> ours;
  for (std::uint32_t index = count; index-- > 0 && !ours;) {
    const auto record = log->record(index);
    if (record && record->sourceName == source)
      ours = index;
  }
  ASSERT_TRUE(ours.has_value());
  const auto found = log->record(*ours);
  ASSERT_TRUE(found.has_value());
  EXPECT_EQ(found->recordNumber, log->oldestRecordNumber() + *ours);
  EXPECT_EQ(found->eventType, 2);
  EXPECT_EQ(found->eventId & 0xFFFF, StateMessage);
  EXPECT_EQ(found->category, TestCategory);
  EXPECT_EQ(found->categoryName, "Test category");
  EXPECT_EQ(found->strings, (std::vector<std::string>{"Spooler", "running"}));
  EXPECT_FALSE(found->computerName.empty());
  EXPECT_EQ(log->description(*ours), "Service Spooler entered the running state.\r\n");
}

TEST(Win32EventLogs, RecordsPastTheCountAreNothing) {
  std::uint32_t error = 0;
  const auto log = platform::win32::Win32EventLogs().open("System", error);
  ASSERT_NE(log, nullptr) << error;
  const std::uint32_t count = log->count();
  EXPECT_EQ(log->record(count), std::nullopt);
  EXPECT_EQ(log->description(count + 5), std::nullopt);
}

}  // namespace
