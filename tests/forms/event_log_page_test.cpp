// The event-log page on a copy of the default computer.
#include <QHeaderView>

#include "corvane/eventlog/Qt_event_list_model.h"
#include "forms_fixture.h"

namespace corvane::testing {
namespace {

class EventLogPageTest : public ::testing::Test {
 protected:
  EventLogPageTest() {
    application();
    std::filesystem::copy(std::filesystem::path(CORVANE_DATA_DIR) / "machine", machineFolder(),
                          std::filesystem::copy_options::recursive);
    machine = std::make_unique<platform::sim::SimulatedMachine>(machineFolder(), clock,
                                                                folder / "user.reg");
    program.InstallDir = folder.path();
    program.OsVersionText = "Windows XP ver: 5.1.2600";
    program.MainRegistry = &machine->registry();
    form = std::make_unique<TMainForm>(*machine, dialogs, program, request);
    console = std::make_unique<TConsole>(program, request);
    form->SetConsole(console.get());
    form->show();
    WaitForCompletion();
  }
  ~EventLogPageTest() override {
    if (!request.WorkerIdle && !request.Closing) {
      WaitForCompletion();
    }
    console.reset();
    form.reset();
  }

  std::filesystem::path machineFolder() const { return folder / "machine"; }
  void WaitForCompletion() {
    ASSERT_TRUE(
        QTest::qWaitFor([this] { return request.WorkerIdle.load() && !request.Busy; }, 30000));
  }
  // Records in a log of the computer's folder as it is now on disk.
  std::uint32_t recordsOnDisk(const std::string& log) {
    platform::sim::SimEventLogs logs(machineFolder() / "eventlogs");
    std::uint32_t error = 0;
    return logs.open(log, error)->count();
  }
  void ShowEventLogPage() {
    form->PageControl->setCurrentIndex(2);
    WaitForCompletion();
  }
  int rows() { return form->EventListModel().rowCount(); }
  QString cell(int row, int column) {
    return form->EventListModel().index(row, column).data().toString();
  }

  TempFolder folder;
  platform::VirtualClock clock;
  std::unique_ptr<platform::sim::SimulatedMachine> machine;
  ScriptedDialogs dialogs;
  ProgramState program;
  RequestState request;
  std::unique_ptr<TMainForm> form;
  std::unique_ptr<TConsole> console;
};

TEST_F(EventLogPageTest, TheFirstLookListsTheApplicationLogNewestFirstAndDescribesTheTopRow) {
  EXPECT_EQ(rows(), 0);
  EXPECT_EQ(form->ListCount2->text(), "--");
  ShowEventLogPage();

  const std::uint32_t application = recordsOnDisk("Application");
  ASSERT_GT(application, 1u);
  EXPECT_EQ(rows(), static_cast<int>(application));
  EXPECT_EQ(form->ListCount2->text(), QString::number(application));
  EXPECT_FALSE(form->RefreshMsg3->isVisible());
  EXPECT_TRUE(form->EventPanel->isVisible());
  const EventList& list = form->EventListModel().list();
  for (int row = 0; row + 1 < rows(); ++row) {
    ASSERT_GE(list.rows()[static_cast<std::size_t>(row)].timeGenerated,
              list.rows()[static_cast<std::size_t>(row) + 1].timeGenerated);
  }
  EXPECT_EQ(cell(0, EventEvSrcColumn), "Application");

  EXPECT_TRUE(form->Description->toPlainText().startsWith("Event description:\n\n"));
  EXPECT_EQ(form->Group->text(), cell(0, 2));
  EXPECT_TRUE(form->Executable->text().isEmpty());
  EXPECT_TRUE(dialogs.asked.empty());

  // A second look only focuses the list.
  form->PageControl->setCurrentIndex(0);
  form->PageControl->setCurrentIndex(2);
  EXPECT_TRUE(request.WorkerIdle);

  // The Refresh button fills quickly: nothing new, nothing added.
  form->Refresh->click();
  WaitForCompletion();
  EXPECT_EQ(rows(), static_cast<int>(application));
}

TEST_F(EventLogPageTest, ARowWhoseRecordIsGoneReportsItAndKeepsOnlyTheHeading) {
  ShowEventLogPage();
  const QString group = form->Group->text();
  std::uint32_t error = 0;
  // Cleared behind the program's back: the rows stay until the next fill.
  ASSERT_TRUE(machine->eventLogs().open("Application", error)->clear(error));
  form->EventLog->setCurrentIndex(form->EventListModel().index(3, 0));
  ASSERT_EQ(dialogs.asked.size(), 1u);
  EXPECT_EQ(dialogs.asked[0].icon, DialogIcon::Error);
  EXPECT_EQ(form->Description->toPlainText(), "Event description:\n");
  EXPECT_EQ(form->Group->text(), group);
}

TEST_F(EventLogPageTest, AllListsTheThreeLogsAndTheMenuItemsFollowTheButtons) {
  ShowEventLogPage();
  form->EventFilterButtons[3]->setChecked(true);
  WaitForCompletion();
  const std::uint32_t all =
      recordsOnDisk("Application") + recordsOnDisk("Security") + recordsOnDisk("System");
  EXPECT_EQ(rows(), static_cast<int>(all));
  EXPECT_EQ(form->ListCount2->text(), QString::number(all));
  EXPECT_TRUE(form->EventFilterItems[3]->isChecked());

  form->PageControl->setCurrentIndex(0);
  QTest::keyClick(form.get(), Qt::Key_6, Qt::ControlModifier);  // mSecurity
  WaitForCompletion();
  EXPECT_EQ(form->ActivePage(), MainPage::EventLog);
  EXPECT_TRUE(form->EventFilterButtons[1]->isChecked());
  EXPECT_TRUE(form->EventFilterItems[1]->isChecked());
  EXPECT_EQ(rows(), static_cast<int>(recordsOnDisk("Security")));
  EXPECT_EQ(cell(0, EventEvSrcColumn), "Security");
}

TEST_F(EventLogPageTest, SortingFollowsTheCaptionAfterAColumnIsDragged) {
  ShowEventLogPage();
  QHeaderView* header = form->EventLog->header();
  header->moveSection(2, 1);  // Source to the second place
  EXPECT_EQ(form->EventLogs().EventColumnPosition[2], 1);
  EXPECT_EQ(form->EventLogs().EventColumnPosition[1], 2);
  emit header->sectionClicked(header->logicalIndex(1));
  EXPECT_EQ(program.EventSortColumn, 2);
  for (int row = 0; row + 1 < rows(); ++row) {
    ASSERT_LE(form->EventLogCompare(row, row + 1), 0);
    ASSERT_LE(compareServText(cell(row, 2).toStdString(), cell(row + 1, 2).toStdString()), 0);
  }
}

TEST_F(EventLogPageTest, ClearAsksAndCancelKeepsTheLog) {
  ShowEventLogPage();
  const int before = rows();
  dialogs.answers = {DialogResult::Cancel};
  form->ClearItems[0]->trigger();
  ASSERT_EQ(dialogs.asked.size(), 1u);
  EXPECT_EQ(dialogs.asked[0].caption, "Clear EventLog: Application");
  EXPECT_EQ(dialogs.asked[0].text,
            "Are you sure you want to clear 'Application' section\nof the EventLog? This "
            "operation cannot be undone.   ");
  EXPECT_EQ(dialogs.asked[0].icon, DialogIcon::Warning);
  EXPECT_EQ(dialogs.asked[0].buttons, DialogButtons::OkCancel);
  EXPECT_TRUE(request.WorkerIdle);
  EXPECT_EQ(rows(), before);
  EXPECT_EQ(recordsOnDisk("Application"), static_cast<std::uint32_t>(before));
}

TEST_F(EventLogPageTest, ClearAllEmptiesTheThreeLogsOnTheComputerAndShowsAll) {
  ShowEventLogPage();
  dialogs.answers = {DialogResult::Ok};
  form->ClearEventLogALL1Click();
  WaitForCompletion();
  ASSERT_EQ(dialogs.asked.size(), 1u);
  EXPECT_EQ(dialogs.asked[0].caption, "Clear EventLog: ALL");
  EXPECT_TRUE(form->EventFilterButtons[3]->isChecked());
  EXPECT_EQ(rows(), 0);
  EXPECT_EQ(form->ListCount2->text(), "0");
  EXPECT_EQ(recordsOnDisk("Application"), 0u);
  EXPECT_EQ(recordsOnDisk("Security"), 0u);
  EXPECT_EQ(recordsOnDisk("System"), 0u);
}

TEST_F(EventLogPageTest, AFailedClearSaysWhyAndRefillsAnyway) {
  ShowEventLogPage();
  const std::filesystem::path log = machineFolder() / "eventlogs" / "Application.ini";
  std::filesystem::remove(log);
  std::filesystem::create_directories(log / "in the way");
  const int before = rows();
  dialogs.answers = {DialogResult::Ok};
  form->Clear1Click();
  WaitForCompletion();
  ASSERT_EQ(dialogs.asked.size(), 2u);
  EXPECT_EQ(dialogs.asked[1].caption, "error");
  EXPECT_EQ(dialogs.asked[1].icon, DialogIcon::Error);
  EXPECT_TRUE(QString::fromStdString(dialogs.asked[1].text)
                  .startsWith("Unable to clear Event Log!\n\nError:\n"));
  EXPECT_EQ(rows(), before);
}

}  // namespace
}  // namespace corvane::testing
