#include "corvane/shell/console_colours.h"

#include <gtest/gtest.h>

namespace corvane {
namespace {

using C = ConsoleColour;

TEST(ConsoleColoursTest, LineColourByTheFirstMatchingRule) {
  const std::pair<const char*, C> cases[] = {
      {"\nservice: Print Spooler", C::Aqua},
      {"\nSERVICE: upper case", C::Aqua},
      {"\nservice successfully started.", C::Lime},  // "\nservice:" does not match "service "
      {"\nupdate startup type: Alerter", C::Yellow},
      {"\nupdate status: Alerter", C::Yellow},
      {"\noperation: execute batch", C::Yellow},
      {"\noperation: load snapshot", C::Yellow},
      {"\noperation: take snapshot", C::White},
      {"\noperation: uninstall", C::White},
      {"\noperation: backup", C::White},
      {"\ndependency -> starting: Tcpip", C::MoneyGreen},
      {"\ndependent -> stopping: Browser", C::MoneyGreen},
      {"\ndependent -> stopping: Browser done.", C::MoneyGreen},  // the prefix comes first
      {"\nalready running.", C::Lime},
      {"\nalready stopped.", C::Lime},
      {"\nstatus updated", C::Lime},
      {" done.", C::Lime},
      {"\ndone.", C::Lime},
      {" DONE.", C::Lime},
      {"\nstopping: Alerter done.", C::Lime},
      {"\nservice started and then stopped.", C::Orange},
      {"\nservice did not respond in a timely fashion.", C::Orange},
      {"\nerrorcode: 1062 - The service has not been started.", C::Red},
      {"\nerror opening service", C::Red},
      {"\nservice pending timed out", C::Red},
      {"\nsetting starttype: auto", C::White},
      {"\ncontrols to send: stop, start", C::White},
      {"\nrefreshing service list ...", C::SkyBlue},
      {"\nREFRESH", C::SkyBlue},
      {"\n", C::Silver},
      {"", C::Silver},
      {"done", C::Silver},
      {"\nstarting: Alerter", C::Silver},
      {"service: without line break", C::Silver},
  };
  for (const auto& [line, colour] : cases) {
    EXPECT_EQ(consoleLineColour(line), colour) << '"' << line << '"';
  }
}

TEST(ConsoleColoursTest, ColourValues) {
  EXPECT_EQ(consoleColourRgb(C::Orange), 0xEE8040u);
  EXPECT_EQ(consoleColourRgb(C::MoneyGreen), 0xC0DCC0u);
  EXPECT_EQ(consoleColourRgb(C::SkyBlue), 0xA6CAF0u);
  EXPECT_EQ(consoleColourRgb(C::Silver), 0xC0C0C0u);
}

TEST(ConsoleColoursTest, NamesAreFoundExactlyOncePerRecord) {
  Catalogue catalogue;
  catalogue.ServiceTable[0].DisplayName = "Print Spooler";
  catalogue.ServiceTable[0].ServiceName = "Spooler";
  catalogue.ServiceTable[1].DisplayName = "";
  catalogue.ServiceTable[1].ServiceName = "spooler";
  catalogue.ServiceTable[2].DisplayName = "Alerter";  // beyond the count: never read
  catalogue.ServiceCount = 2;

  const std::string line = "\nservice: Print Spooler, Spooler";
  EXPECT_EQ(consoleNameSpans(line, catalogue), (std::vector<ConsoleSpan>{{10, 13}, {16, 7}}));
  EXPECT_TRUE(consoleNameSpans("\nservice: Alerter", catalogue).empty());
}

}  // namespace
}  // namespace corvane
