#include <QHeaderView>

#include "corvane/snapshot/Form_script.h"
#include "forms_fixture.h"

namespace corvane::testing {
namespace {

using NameList = std::vector<std::string>;

// The main window with its snapshot window. Apply waits for the worker in 50 ms turns of the event
// loop; the computer runs on the virtual clock.
class SnapshotWindowTest : public FormsTest {
 protected:
  SnapshotWindowTest() {
    rec = std::make_unique<TRecForm>(*form, *machine, dialogs, program, request);
    form->SetRecForm(rec.get());
  }
  ~SnapshotWindowTest() override {
    if (!request.WorkerIdle && !request.Closing)
      WaitForCompletion();
    form->SetRecForm(nullptr);
    rec.reset();
  }

  NameList EntryNames() const {
    NameList names;
    for (const SnapshotRow& row : rec->Entries().rows())
      names.push_back(row.entry.Name);
    return names;
  }
  const SnapshotEntry& Entry(const std::string& name) const {
    for (const SnapshotRow& row : rec->Entries().rows()) {
      if (row.entry.Name == name)
        return row.entry;
    }
    throw std::runtime_error("no entry " + name);
  }
  platform::ServiceConfig Config(const std::string& name) {
    platform::Scm& scm = machine->scm();
    const platform::ScHandle manager = scm.openSCManager(platform::access::ScManagerAll);
    const platform::ScHandle service = scm.openService(manager, name, platform::access::ServiceAll);
    platform::ServiceConfig config;
    std::size_t needed = 0;
    scm.queryServiceConfig(service, 8192, config, needed);
    scm.closeServiceHandle(service);
    scm.closeServiceHandle(manager);
    return config;
  }
  std::uint32_t State(const std::string& name) {
    platform::Scm& scm = machine->scm();
    const platform::ScHandle manager = scm.openSCManager(platform::access::ScManagerAll);
    const platform::ScHandle service = scm.openService(manager, name, platform::access::ServiceAll);
    platform::ServiceStatus status;
    scm.queryServiceStatus(service, status);
    scm.closeServiceHandle(service);
    scm.closeServiceHandle(manager);
    return status.currentState;
  }
  std::string SnapshotFile(const std::string& name) const { return (folder / name).string(); }

  std::unique_ptr<TRecForm> rec;
};

TEST_F(SnapshotWindowTest, TakeSaveAndLoadBack) {
  ShowAndWaitForFirstRequest();
  EXPECT_FALSE(rec->isVisible());
  EXPECT_EQ(rec->windowTitle(), "Services SnapShot");
  EXPECT_EQ(rec->RecCount->text(), "--");
  rec->CheckStart->setChecked(true);

  form->mTake->trigger();
  WaitForCompletion();
  EXPECT_TRUE(rec->isVisible());
  EXPECT_EQ(rec->windowTitle(), "Services SnapShot - current config");
  // The drivers stay out; sorted by display name.
  EXPECT_EQ(EntryNames(), (NameList{"Alerter", "Browser", "Fs_Rec", "Spooler"}));
  EXPECT_EQ(rec->RecCount->text(), "4");
  EXPECT_TRUE(rec->Save->isEnabled());
  EXPECT_FALSE(rec->CheckStart->isChecked());
  EXPECT_FALSE(rec->Apply->isEnabled());
  EXPECT_EQ(Entry("Alerter").StartupType, "disabled");
  EXPECT_EQ(Entry("Alerter").Status, "stopped");
  EXPECT_EQ(Entry("Browser").Status, "started");
  // The row icon is the main list's.
  const int browserRow = form->ServListModel().findRow("Browser");
  EXPECT_EQ(rec->Entries().rows()[1].rowImage, form->ServListModel().row(browserRow).rowImage);
  EXPECT_EQ(rec->Entries().rows()[1].statusImage, image::StateRunning);

  const std::string file = SnapshotFile("mine.snapshot");
  rec->CheckStatus->click();
  EXPECT_TRUE(rec->Apply->isEnabled());
  dialogs.fileAnswers.push_back(file);
  rec->SaveClick();
  ASSERT_EQ(dialogs.asked.size(), 1u);
  const FileDialogRequest& asked = dialogs.asked[0].file;
  EXPECT_EQ(dialogs.asked[0].kind, "saveFile");
  EXPECT_EQ(asked.title, "Save SnapShot");
  EXPECT_EQ(asked.fileName, ProposedSnapshotName(clock.localTime()));
  EXPECT_EQ(asked.initialFolder, program.InstallDir + PathSeparator + "SnapShots");
  EXPECT_EQ(asked.defaultExtension, "snapshot");
  EXPECT_EQ(asked.filter, "Snapshot files (*.snapshot)|*.snapshot|All files (*.*)|*.*");
  EXPECT_EQ(TempFolder::readFile(file).rfind(
                "[-options-]\r\nApplyStatus=1\r\nApplyStartType=0\r\n\r\n[Alerter]\r\n", 0),
            0u);
  // The save dialog then proposes the name chosen last.
  EXPECT_EQ(rec->ProposedSaveName(), "mine.snapshot");

  // Editing: every entry stopped, then loaded back from the file.
  rec->SelectAllClick();
  rec->StopClick();
  EXPECT_EQ(Entry("Browser").Status, "stopped");
  rec->CheckStatus->setChecked(false);
  dialogs.fileAnswers.push_back(file);
  rec->LoadClick();
  EXPECT_EQ(dialogs.asked.back().kind, "openFile");
  EXPECT_EQ(dialogs.asked.back().file.title, "Open SnapShot");
  EXPECT_EQ(dialogs.asked.back().file.fileName, "custom.snapshot");
  EXPECT_EQ(EntryNames(), (NameList{"Alerter", "Browser", "Fs_Rec", "Spooler"}));
  EXPECT_EQ(Entry("Browser").Status, "started");
  EXPECT_TRUE(rec->CheckStatus->isChecked());
  EXPECT_EQ(rec->windowTitle().toStdString(), "Services SnapShot - \"" + file + "\"");
  EXPECT_FALSE(request.Busy);

  // Cancel leaves everything as it was.
  const QString title = rec->windowTitle();
  rec->LoadClick();
  EXPECT_EQ(rec->windowTitle(), title);
  EXPECT_EQ(rec->Entries().size(), 4u);
}

TEST_F(SnapshotWindowTest, TheMainWindowsLoadCommandAndABadFile) {
  const std::string good = SnapshotFile("good.snapshot");
  TempFolder::writeFile(
      good,
      "[-options-]\r\nApplyStatus=0\r\nApplyStartType=1\r\n\r\n"
      "[alerter]\r\nDisplayName=Alerter\r\nStartupType=manual\r\nCurrentStatus=running\r\n"
      "[Gone]\r\nDisplayName=Gone\r\nStartupType=manual\r\nCurrentStatus=stopped\r\n"
      "[Empty]\r\n");
  ShowAndWaitForFirstRequest();
  dialogs.fileAnswers.push_back(good);
  form->mLoad->trigger();
  WaitForCompletion();
  EXPECT_TRUE(rec->isVisible());
  // By display name: Alerter, error, Gone.
  EXPECT_EQ(EntryNames(), (NameList{"alerter", "Empty", "Gone"}));
  EXPECT_TRUE(rec->CheckStart->isChecked());
  EXPECT_TRUE(rec->Apply->isEnabled());
  const auto& rows = rec->Entries().rows();
  EXPECT_EQ(rows[0].statusImage, image::InvalidSnapshotEntry);
  EXPECT_EQ(rows[1].rowImage, image::InvalidSnapshotEntry);
  EXPECT_EQ(rows[2].rowImage, image::ServiceNotInstalled);

  // A click on the missing service clears the main window's panes.
  rec->SnapShot->selectionModel()->select(
      rec->SnapShot->model()->index(2, 0),
      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  rec->SnapShotClick();
  EXPECT_EQ(form->Description->toPlainText(), "Service not available !");
  EXPECT_FALSE(form->ServList->selectionModel()->hasSelection());
  // A click on an installed one selects it there.
  rec->SnapShot->selectionModel()->select(
      rec->SnapShot->model()->index(0, 0),
      QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  rec->SnapShotClick();
  EXPECT_EQ(form->SelectedServiceName(), "Alerter");

  // A binary file is refused and the window keeps its entries and caption.
  const std::string bad = SnapshotFile("bad.snapshot");
  TempFolder::writeFile(bad, std::string("[x]\0\0\0", 6));
  const QString title = rec->windowTitle();
  dialogs.fileAnswers.push_back(bad);
  rec->LoadClick();
  ASSERT_EQ(dialogs.asked.back().kind, "messageBox");
  EXPECT_EQ(dialogs.asked.back().text.rfind("Error loading SnapShot:\n", 0), 0u);
  EXPECT_EQ(dialogs.asked.back().caption, "error");
  EXPECT_EQ(rec->windowTitle(), title);
  EXPECT_EQ(rec->Entries().size(), 3u);
  EXPECT_FALSE(request.Busy);
}

TEST_F(SnapshotWindowTest, TheCommandLineSnapshotOpensAfterStartUp) {
  const std::string file = SnapshotFile("start.snapshot");
  TempFolder::writeFile(file,
                    "[Browser]\r\nDisplayName=Computer Browser\r\nStartupType=manual\r\n"
                    "CurrentStatus=stopped\r\n");
  program.StartupSnapshotPath = file;
  program.OpenSnapshotAtStart = true;
  ShowAndWaitForFirstRequest();
  EXPECT_TRUE(rec->isVisible());
  EXPECT_EQ(EntryNames(), NameList{"Browser"});
  EXPECT_EQ(rec->windowTitle().toStdString(), "Services SnapShot - \"" + file + "\"");
  EXPECT_FALSE(program.OpenSnapshotAtStart);
  EXPECT_TRUE(dialogs.asked.empty());
  // The main list was filled as well.
  EXPECT_EQ(form->ServListModel().rowCount(), 4);
}

TEST_F(SnapshotWindowTest, ApplySetsStartTypesThenStates) {
  const std::string file = SnapshotFile("apply.snapshot");
  TempFolder::writeFile(
      file,
      "[-options-]\r\nApplyStatus=1\r\nApplyStartType=1\r\n"
      "[Alerter]\r\nDisplayName=Alerter\r\nStartupType=manual\r\nCurrentStatus=started\r\n"
      "[Browser]\r\nDisplayName=Computer Browser\r\nStartupType=disabled\r\n"
      "CurrentStatus=stopped\r\n"
      "[Spooler]\r\nDisplayName=Print Spooler\r\nStartupType=Automatic\r\n"
      "CurrentStatus=stopped\r\n");
  ShowAndWaitForFirstRequest();
  dialogs.fileAnswers.push_back(file);
  rec->LoadClick();
  rec->show();
  dialogs.asked.clear();

  rec->ApplyClick();
  EXPECT_TRUE(request.WorkerIdle);
  EXPECT_FALSE(rec->isVisible());
  EXPECT_EQ(Config("Alerter").startType, platform::start::Manual);
  EXPECT_EQ(Config("Browser").startType, platform::start::Disabled);
  EXPECT_EQ(Config("Spooler").startType, platform::start::Automatic);  // invalid text: untouched
  clock.advance(60000);
  EXPECT_EQ(State("Alerter"), platform::state::Running);
  EXPECT_EQ(State("Browser"), platform::state::Stopped);
  EXPECT_EQ(State("Spooler"), platform::state::Running);
  // One message for the invalid entry in each phase.
  ASSERT_EQ(dialogs.asked.size(), 2u);
  EXPECT_EQ(dialogs.asked[0].text, "invalid starttype: Print Spooler");
  EXPECT_EQ(dialogs.asked[1].text, "invalid starttype: Print Spooler");
  const QString text = console->Display->toPlainText();
  EXPECT_TRUE(text.contains("update startup type: done")) << text.toStdString();
  EXPECT_TRUE(text.contains("update status: done")) << text.toStdString();
  // The main list shows the new state.
  const int browser = form->ServListModel().findRow("Browser");
  EXPECT_EQ(form->ServListModel().row(browser).texts[ServStatusColumn], "stopped");
}

}  // namespace
}  // namespace corvane::testing
