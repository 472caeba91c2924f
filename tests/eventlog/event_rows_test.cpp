#include "corvane/eventlog/event_rows.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "corvane/catalogue/service_list.h"

namespace corvane {
namespace {

struct RowCase {
  const char* what;
  EventItem item;
  std::array<const char*, EventColumnCount> texts;
  int image;
};

EventItem item(std::uint16_t type, std::int64_t time, std::string source, std::uint16_t category,
               std::string categoryName, std::uint32_t index, std::uint32_t number,
               std::uint32_t id, std::string user, std::string computer) {
  return {type,   time, std::move(source), category,           std::move(categoryName), index,
          number, id,   std::move(user),   std::move(computer)};
}

// 2006-12-11 08:02:14 UTC; the virtual clock's local time is UTC.
constexpr std::int64_t Morning = 1165824134;

TEST(EventRowTexts, EveryColumnAsTheListShowsIt) {
  const RowCase cases[] = {
      {"information with a user, identifier above 16 bits",
       item(4, Morning, "Service Control Manager", 0, "None", 0, 397, 1073748860,
            "NT AUTHORITY\\SYSTEM", "XPSP2-LAB"),
       {"Information", "11.12.2006 08:02:14", "Service Control Manager", "None (0)", "0", "397",
        "7036", "NT AUTHORITY\\SYSTEM", "XPSP2-LAB", "System"},
       image::EventInformation},
      {"error without a user",
       item(1, Morning + 3600 * 14 + 7, "Tcpip", 3, "(3)", 12, 409, 4199, "", "LAB2"),
       {"Error", "11.12.2006 22:02:21", "Tcpip", "(3) (3)", "12", "409", "4199", "N/A", "LAB2",
        "System"},
       image::EventError},
      {"warning with a named category",
       item(2, 0, "Dhcp", 2, "Lease", 1, 2, 1002, "", ""),
       {"Warning", "01.01.1970 00:00:00", "Dhcp", "Lease (2)", "1", "2", "1002", "N/A", "",
        "System"},
       image::EventWarning},
      {"success",
       item(0, Morning, "s", 0, "None", 0, 1, 1, "", ""),
       {"Success", "11.12.2006 08:02:14", "s", "None (0)", "0", "1", "1", "N/A", "", "System"},
       image::EventInformation},
      {"audit success",
       item(8, Morning, "Security", 1, "System Event", 0, 1, 512, "", ""),
       {"Success Audit", "11.12.2006 08:02:14", "Security", "System Event (1)", "0", "1", "512",
        "N/A", "", "System"},
       image::AuditSuccess},
      {"audit failure",
       item(16, Morning, "Security", 2, "Logon/Logoff", 0, 1, 529, "", ""),
       {"Audit failure", "11.12.2006 08:02:14", "Security", "Logon/Logoff (2)", "0", "1", "529",
        "N/A", "", "System"},
       image::AuditFailure},
      {"an unknown type reads as success",
       item(7, Morning, "x", 0, "None", 0, 1, 0xFFFF0001, "", ""),
       {"Success", "11.12.2006 08:02:14", "x", "None (0)", "0", "1", "1", "N/A", "", "System"},
       image::EventInformation},
  };
  platform::VirtualClock clock;
  for (const RowCase& test : cases) {
    SCOPED_TRACE(test.what);
    const EventRow row = makeEventRow(test.item, "System", clock);
    for (int column = 0; column < EventColumnCount; ++column) {
      EXPECT_EQ(row.texts[static_cast<std::size_t>(column)],
                test.texts[static_cast<std::size_t>(column)])
          << EventColumns[static_cast<std::size_t>(column)].caption;
    }
    EXPECT_EQ(row.image, test.image);
    EXPECT_EQ(row.id, test.item.eventId & 0xFFFF);
  }
}

TEST(EventRowTexts, ColumnWidthsStayWithinTheirLimits) {
  EXPECT_EQ(clampEventColumnWidth(0, 5), 5);  // Type has no limits
  EXPECT_EQ(clampEventColumnWidth(0, 900), 900);
  EXPECT_EQ(clampEventColumnWidth(1, 10), 50);  // Date Time 50-600
  EXPECT_EQ(clampEventColumnWidth(1, 700), 600);
  EXPECT_EQ(clampEventColumnWidth(4, 150), 100);  // Index 50-100
  EXPECT_EQ(clampEventColumnWidth(5, 49), 50);
  EXPECT_EQ(clampEventColumnWidth(6, 599), 599);
}

}  // namespace
}  // namespace corvane
