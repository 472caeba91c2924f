#include "platform/sim/message_table.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

struct Case {
  std::uint32_t code;
  const char* text;
};

// The numbers the program reports most, with the platform's own wording.
constexpr Case kCases[] = {
    {0, "The operation completed successfully.\r\n"},
    {2, "The system cannot find the file specified.\r\n"},
    {3, "The system cannot find the path specified.\r\n"},
    {5, "Access is denied.\r\n"},
    {6, "The handle is invalid.\r\n"},
    {87, "The parameter is incorrect.\r\n"},
    {123, "The filename, directory name, or volume label syntax is incorrect.\r\n"},
    {1051,
     "A stop control has been sent to a service that other running services are dependent "
     "on.\r\n"},
    {1052, "The requested control is not valid for this service.\r\n"},
    {1053, "The service did not respond to the start or control request in a timely fashion.\r\n"},
    {1056, "An instance of the service is already running.\r\n"},
    {1058,
     "The service cannot be started, either because it is disabled or because it has no "
     "enabled devices associated with it.\r\n"},
    {1060, "The specified service does not exist as an installed service.\r\n"},
    {1061, "The service cannot accept control messages at this time.\r\n"},
    {1062, "The service has not been started.\r\n"},
    {1066, "The service has returned a service-specific error code.\r\n"},
    {1067, "The process terminated unexpectedly.\r\n"},
    {1068, "The dependency service or group failed to start.\r\n"},
    {1069, "The service did not start due to a logon failure.\r\n"},
    {1072, "The specified service has been marked for deletion.\r\n"},
    {1115, "A system shutdown is in progress.\r\n"},
    {1234, "No service is operating at the destination network endpoint on the remote system.\r\n"},
    {1722, "The RPC server is unavailable.\r\n"},
    {2250, "This network connection does not exist.\r\n"},
};

TEST(MessageTable, GivesThePlatformTextsWithTheirLineEnd) {
  platform::sim::MessageTable table;
  for (const Case& c : kCases) {
    EXPECT_EQ(table.messageText(c.code), c.text) << c.code;
  }
}

TEST(MessageTable, TextOfSeveralLinesKeepsItsInnerLineBreak) {
  platform::sim::MessageTable table;
  EXPECT_EQ(table.messageText(1005),
            "The volume does not contain a recognized file system.\r\nPlease make sure that all "
            "required file system drivers are loaded and that the volume is not corrupted.\r\n");
}

TEST(MessageTable, UnknownNumbersGiveAnEmptyText) {
  platform::sim::MessageTable table;
  for (std::uint32_t code : {1023u, 1040u, 1050u, 0xFFFFFFFFu}) {
    EXPECT_EQ(table.messageText(code), "") << code;
  }
}

}  // namespace
