#include "platform/sim/sim_event_logs.h"

#include <gtest/gtest.h>


#include "support/file_size_limit.h"
#include "support/temp_folder.h"
#include "platform/sim/sim_machine_error.h"
#include "platform/types.h"

using corvane::testing::FileSizeLimit;
using corvane::testing::TempFolder;

using namespace platform;
using namespace platform::sim;

namespace {

constexpr const char* kSystemLog =
    "[Log]\r\n"
    "NextRecord=412\r\n"
    "\r\n"
    "[397]\r\n"
    "Type=4\r\n"
    "Time=2006-12-11 08:02:14\r\n"
    "Source=Service Control Manager\r\n"
    "EventID=1073748860\r\n"
    "User=NT AUTHORITY\\SYSTEM\r\n"
    "Computer=XPSP2-LAB\r\n"
    "String1=Telephony\r\n"
    "String2=running\r\n"
    "\r\n"
    "[398]\r\n"
    "Type=1\r\n"
    "Time=2006-12-11 08:03:00\r\n"
    "Source=Tcpip\r\n"
    "Category=3\r\n"
    "EventID=4199\r\n"
    "Computer=XPSP2-LAB\r\n"
    "String1=10.0.0.7\r\n"
    "String2=%1 stays\r\n"
    "\r\n"
    "[399]\r\n"
    "Type=2\r\n"
    "Time=2006-12-11 09:00:00\r\n"
    "Source=Dhcp\r\n"
    "Category=2\r\n"
    "CategoryName=Lease\r\n"
    "EventID=1002\r\n"
    "Computer=XPSP2-LAB\r\n";

constexpr const char* kMessages =
    "[Service Control Manager]\r\n"
    "7036=The %1 service entered the %2 state.%nDone: 100%% %3\r\n"
    "[dhcp]\r\n"
    "1002=Lease lost.\r\n";

class SimEventLogsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(logsFolder());
    TempFolder::writeFile(logsFolder() / "System.ini", kSystemLog);
    TempFolder::writeFile(logsFolder() / "Application.ini", "[Log]\r\nNextRecord=1\r\n");
    TempFolder::writeFile(logsFolder() / "messages.ini", kMessages);
  }
  std::filesystem::path logsFolder() const { return folder / "eventlogs"; }

  std::unique_ptr<EventLog> open(SimEventLogs& logs, const std::string& name) {
    std::uint32_t error = 99;
    auto log = logs.open(name, error);
    EXPECT_EQ(error, 0u) << name;
    return log;
  }

  TempFolder folder;
};

TEST_F(SimEventLogsTest, RecordsCarryEveryFieldOfTheFile) {
  SimEventLogs logs(logsFolder());
  auto system = open(logs, "system");
  ASSERT_TRUE(system);
  EXPECT_EQ(system->count(), 3u);
  EXPECT_EQ(system->oldestRecordNumber(), 397u);

  const auto first = system->record(0);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->recordNumber, 397u);
  EXPECT_EQ(first->timeGenerated, 1165824134);
  EXPECT_EQ(first->eventId, 1073748860u);
  EXPECT_EQ(first->eventType, 4u);
  EXPECT_EQ(first->category, 0u);
  EXPECT_EQ(first->categoryName, "None");
  EXPECT_EQ(first->sourceName, "Service Control Manager");
  EXPECT_EQ(first->userName, "NT AUTHORITY\\SYSTEM");
  EXPECT_EQ(first->computerName, "XPSP2-LAB");
  EXPECT_EQ(first->strings, (std::vector<std::string>{"Telephony", "running"}));

  EXPECT_EQ(system->record(1)->categoryName, "(3)");
  EXPECT_TRUE(system->record(1)->userName.empty());
  EXPECT_EQ(system->record(2)->categoryName, "Lease");
  EXPECT_FALSE(system->record(3));
  EXPECT_FALSE(system->description(3));

  auto application = open(logs, "Application");
  EXPECT_EQ(application->count(), 0u);
  EXPECT_FALSE(application->record(0));
}

TEST_F(SimEventLogsTest, DescriptionsInsertStringsVerbatimOrFallBack) {
  SimEventLogs logs(logsFolder());
  auto system = open(logs, "System");
  // The identifier's low 16 bits find the message; a missing insertion string stays as written.
  EXPECT_EQ(*system->description(0),
            "The Telephony service entered the running state.\r\nDone: 100% %3");
  // No message for Tcpip: the fallback names identifier and source and lists the strings; an
  // insertion string holding "%1" is not expanded.
  EXPECT_EQ(*system->description(1),
            "The description for Event ID ( 4199 ) in Source ( Tcpip ) cannot be found."
            "\r\n10.0.0.7\r\n%1 stays");
  EXPECT_EQ(*system->description(2), "Lease lost.");  // source names in any letter case
}

TEST(FormatEventMessage, InsertionStringsAndEscapes) {
  const std::vector<std::string> strings = {"a", "b", "c", "d", "e", "f",
                                            "g", "h", "i", "j", "k", "l"};
  struct Case {
    const char* message;
    const char* expected;
  };
  const Case cases[] = {
      {"%1%2", "ab"},     {"%12x", "lx"}, {"%123", "l3"}, {"%%1", "%1"},    {"50%", "50%"},
      {"x%ny", "x\r\ny"}, {"%q", "%q"},   {"%99", "%99"}, {"%10%11", "jk"}, {"", ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(formatEventMessage(c.message, strings), c.expected) << c.message;
}

TEST_F(SimEventLogsTest, UnknownLogFailsWithFileNotFound) {
  SimEventLogs logs(logsFolder());
  std::uint32_t error = 0;
  EXPECT_FALSE(logs.open("Security", error));  // this computer has no Security.ini
  EXPECT_EQ(error, err::FileNotFound);
  EXPECT_FALSE(logs.open("messages", error));
  EXPECT_EQ(error, err::FileNotFound);
}

TEST_F(SimEventLogsTest, ClearEmptiesTheLogForEveryHandleAndPersists) {
  {
    SimEventLogs logs(logsFolder());
    auto reader = open(logs, "System");
    auto clearer = open(logs, "System");
    std::uint32_t error = 99;
    ASSERT_TRUE(clearer->clear(error));
    EXPECT_EQ(error, 0u);
    EXPECT_EQ(reader->count(), 0u);
    EXPECT_EQ(reader->oldestRecordNumber(), 0u);
  }
  SimEventLogs reopened(logsFolder());
  EXPECT_EQ(open(reopened, "System")->count(), 0u);
  const EventLogFile file =
      parseEventLogFile(TempFolder::readFile(logsFolder() / "System.ini"), "System.ini");
  EXPECT_EQ(file.nextRecord, 412u);
  EXPECT_EQ(folder.entryCount(), 1u);
  std::size_t files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(logsFolder()))
    ++files;
  EXPECT_EQ(files, 3u);  // no temporary file left behind
}

TEST_F(SimEventLogsTest, FailedClearKeepsRecordsAndTheOldFile) {
  SimEventLogs logs(logsFolder());
  auto system = open(logs, "System");
  std::uint32_t error = 0;
  {
    FileSizeLimit limit(10);
    EXPECT_FALSE(system->clear(error));
  }
  EXPECT_NE(error, 0u);
  EXPECT_EQ(system->count(), 3u);
  EXPECT_EQ(TempFolder::readFile(logsFolder() / "System.ini"), kSystemLog);
}

TEST_F(SimEventLogsTest, MalformedFilesNameFileAndLine) {
  struct Case {
    const char* what;
    std::string text;
    std::string message;
  };
  const std::string head = "[Log]\nNextRecord=5\n[3]\nType=4\nSource=S\nEventID=1\n";
  const std::vector<Case> cases = {
      {"bad time", head + "Time=2006-13-01 00:00:00\n", "/eventlogs/System.ini, line 7: Time"},
      {"unknown key", head + "Time=2006-12-01 00:00:00\nColour=red\n",
       "/eventlogs/System.ini, line 8: unknown key \"Colour\""},
      {"gap in numbers", head + "Time=2006-12-01 00:00:00\n[5]\n",
       "/eventlogs/System.ini, line 8: record 5 does not follow record 3"},
      {"no number", "[Log]\n[first]\n", "/eventlogs/System.ini, line 2: section [first]"},
      {"plain line", "[Log]\nNextRecord\n", "/eventlogs/System.ini, line 2: \"NextRecord\" is not"},
      {"next record too low",
       "[Log]\nNextRecord=2\n[3]\nType=4\nSource=S\nEventID=1\nTime=2006-12-01 00:00:00\n",
       "/eventlogs/System.ini, line 2: NextRecord 2 is not above the last record 3"},
      {"missing source", "[7]\nTime=2006-12-01 00:00:00\nEventID=1\n",
       "/eventlogs/System.ini, line 1: record 7 has no Source"},
      {"binary", std::string("[Log]\nNext\0Record=1\n", 20),
       "/eventlogs/System.ini, line 2: binary data"},
  };
  for (const Case& c : cases) {
    TempFolder::writeFile(logsFolder() / "System.ini", c.text);
    try {
      SimEventLogs logs(logsFolder());
      ADD_FAILURE() << c.what << ": loaded";
    } catch (const MachineFileError& error) {
      EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos)
          << c.what << ": " << error.what();
    }
  }
  TempFolder::writeFile(logsFolder() / "System.ini", kSystemLog);
  TempFolder::writeFile(logsFolder() / "messages.ini", "[Dhcp]\nlease=Lost\n");
  EXPECT_THROW(SimEventLogs logs(logsFolder()), MachineFileError);
}

}  // namespace
