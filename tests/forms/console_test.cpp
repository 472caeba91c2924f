#include <QTextBlock>

#include "forms_fixture.h"

namespace corvane::testing {
namespace {

class ConsoleTest : public FormsTest {
 protected:
  // The colour of the character at `offset` in the last appended line.
  QColor colourAt(int lineStart, int offset) {
    QTextCursor cursor(console->Display->document());
    cursor.setPosition(lineStart + offset + 1);  // the format of the character before
    return cursor.charFormat().foreground().color();
  }
  int end() {
    QTextCursor cursor(console->Display->document());
    cursor.movePosition(QTextCursor::End);
    return cursor.position();
  }
};

TEST_F(ConsoleTest, LinesTakeTheColourOfTheirRuleAndNamesTurnWhite) {
  ShowAndWaitForFirstRequest();
  struct Case {
    std::string line;
    QColor colour;
  };
  const Case cases[] = {
      {"\nerrorcode: 1062 - The service has not been started.", QColor(0xFF, 0, 0)},
      {"\nREFRESHING service list ...", QColor(0xA6, 0xCA, 0xF0)},
      {"\noperation: take snapshot", QColor(Qt::white)},
      {"\noperation: execute batch", QColor(0xFF, 0xFF, 0)},
      {"\nstarting: something", QColor(0xC0, 0xC0, 0xC0)},
      {"\nservice started and then stopped.", QColor(0xEE, 0x80, 0x40)},
  };
  for (const Case& c : cases) {
    const int start = end();
    console->AppendConsoleLine(c.line);
    EXPECT_EQ(colourAt(start, 3), c.colour) << c.line;
  }

  // "\nservice: " and a display name: aqua, the name white.
  const int start = end();
  console->AppendConsoleLine("\nservice: Print Spooler");
  EXPECT_EQ(colourAt(start, 2), QColor(0, 0xFF, 0xFF));
  EXPECT_EQ(colourAt(start, 11), QColor(Qt::white));
  EXPECT_EQ(colourAt(start, 22), QColor(Qt::white));

  // " done." after a money-green line is lime on its own.
  const int dependent = end();
  console->AppendConsoleLine("\ndependent -> stopping: Browser");
  const int done = end();
  console->AppendConsoleLine(" done.");
  EXPECT_EQ(colourAt(dependent, 2), QColor(0xC0, 0xDC, 0xC0));
  EXPECT_EQ(colourAt(dependent, 24), QColor(Qt::white));  // the key name Browser
  EXPECT_EQ(colourAt(done, 2), QColor(0, 0xFF, 0));
  EXPECT_TRUE(console->Display->toPlainText().endsWith("stopping: Browser done."));
}

TEST_F(ConsoleTest, ButtonAndEscHideOnlyWhileNoWorkerRuns) {
  ShowAndWaitForFirstRequest();
  console->show();
  EXPECT_TRUE(form->ConsoleToggle->isChecked());
  EXPECT_EQ(console->CloseButton->text(), "Hide");
  EXPECT_EQ(console->Progress->minimum(), 0);
  EXPECT_EQ(console->Progress->maximum(), 101);
  EXPECT_TRUE(console->windowFlags() & Qt::WindowStaysOnTopHint);

  console->CloseButton->setEnabled(false);
  QTest::keyClick(console->Display, Qt::Key_Escape);
  EXPECT_TRUE(console->isVisible());
  console->CloseButton->setEnabled(true);
  QTest::keyClick(console->Display, Qt::Key_Escape);
  EXPECT_FALSE(console->isVisible());
  EXPECT_FALSE(form->ConsoleToggle->isChecked());

  form->ConsoleToggleClick();
  EXPECT_TRUE(console->isVisible());
  EXPECT_TRUE(console->CloseButton->isEnabled());
  form->ConsoleToggleClick();
  EXPECT_FALSE(console->isVisible());
}

}  // namespace
}  // namespace corvane::testing
