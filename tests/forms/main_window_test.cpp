#include <QClipboard>
#include <QHeaderView>
#include <QScrollBar>

#include "forms_fixture.h"

namespace corvane::testing {
namespace {

using NameList = std::vector<std::string>;

TEST_F(FormsTest, TheFirstRequestFillsTheList) {
  EXPECT_FALSE(form->PageControl->isEnabled());
  EXPECT_TRUE(request.Busy);
  ShowAndWaitForFirstRequest();

  EXPECT_EQ(Names(), (NameList{"Alerter", "Browser", "Fs_Rec", "Spooler"}));
  EXPECT_EQ(form->ListCount->text(), "4");
  EXPECT_EQ(form->ServNo->text(), "7");
  EXPECT_TRUE(form->PageControl->isEnabled());
  EXPECT_FALSE(form->RefreshMsg->isVisible());
  EXPECT_TRUE(form->Panel->isVisible());
  EXPECT_FALSE(form->EventPanel->isVisible());
  EXPECT_EQ(form->StatusBar->panelText(0), "Windows XP ver: 5.1.2600");
  EXPECT_EQ(form->StatusBar->panelText(1).trimmed(), "");
  EXPECT_EQ(form->SelectedServiceName(), "Alerter");
  EXPECT_EQ(form->Executable->text(), form->ServListModel().row(0).texts[5].c_str());
  EXPECT_TRUE(form->Description->toPlainText().contains("What Alerter does."));
  EXPECT_TRUE(dialogs.asked.empty());
  // A refresh does not open the console.
  EXPECT_FALSE(console->isVisible());

  const QtServiceListModel& model = form->ServListModel();
  EXPECT_EQ(model.headerData(6, Qt::Horizontal, Qt::DisplayRole).toString(), "Desktop Interactive");
  EXPECT_TRUE(model.data(model.index(3, 6), Qt::TextAlignmentRole).value<Qt::Alignment>() &
              Qt::AlignRight);
  EXPECT_EQ(model.data(model.index(3, 6), Qt::DisplayRole).toString(), "yes");
  EXPECT_EQ(form->ServList->header()->sectionSize(0), 300);
  EXPECT_EQ(form->ServList->header()->sectionSize(5), 300);
}

TEST_F(FormsTest, FilterMenuItemsSwitchPageAndRefillFully) {
  ShowAndWaitForFirstRequest();
  struct Case {
    int item;
    NameList names;
  };
  const Case cases[] = {
      {2, {"Beep", "Cdrom"}},  // kernel drivers, by display name: Beep, CD-ROM Driver
      {1, {"Fastfat"}},
      {3, {"Alerter", "Beep", "Cdrom", "Browser", "Fastfat", "Fs_Rec", "Spooler"}},
      {0, {"Alerter", "Browser", "Fs_Rec", "Spooler"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.item);
    QAction* item = form->ServFilterItems[static_cast<std::size_t>(c.item)];
    EXPECT_EQ(item->shortcut(), QKeySequence(QString("Ctrl+%1").arg(c.item + 1)));
    form->PageControl->setCurrentIndex(2);
    WaitForCompletion();  // the page's first look loads the event logs
    item->trigger();
    WaitForCompletion();
    EXPECT_EQ(form->PageControl->currentIndex(), 0);
    EXPECT_EQ(Names(), c.names);
    EXPECT_TRUE(item->isChecked());
    EXPECT_TRUE(form->ServFilterButtons[static_cast<std::size_t>(c.item)]->isChecked());
    EXPECT_EQ(form->ListCount->text().toInt(), static_cast<int>(c.names.size()));
    EXPECT_EQ(form->ServNo->text(), "7");
  }
}

TEST_F(FormsTest, ShortcutKeysReachTheFilterItems) {
  ShowAndWaitForFirstRequest();
  form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  QTest::keyClick(form->ServList, Qt::Key_3, Qt::ControlModifier);
  WaitForCompletion();
  EXPECT_EQ(Names(), (NameList{"Beep", "Cdrom"}));
  EXPECT_TRUE(form->ServFilterItems[2]->isChecked());
}

TEST_F(FormsTest, HeaderClicksSortWithEachColumnsOwnDirection) {
  ShowAndWaitForFirstRequest();
  QHeaderView* header = form->ServList->header();
  const auto click = [&](int column) {
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      QPoint(header->sectionViewportPosition(column) + 10, header->height() / 2));
  };
  // States: Alerter stopped, Browser, Fs_Rec and Spooler running.
  click(3);
  EXPECT_EQ(Names(), (NameList{"Browser", "Fs_Rec", "Spooler", "Alerter"}));
  click(3);
  EXPECT_EQ(Names(), (NameList{"Alerter", "Browser", "Fs_Rec", "Spooler"}));
  click(1);
  EXPECT_EQ(Names(), (NameList{"Alerter", "Browser", "Fs_Rec", "Spooler"}));
  EXPECT_EQ(program.ServSortColumn, 1);
  click(3);  // Status keeps its descending direction
  EXPECT_EQ(Names(), (NameList{"Alerter", "Browser", "Fs_Rec", "Spooler"}));
  EXPECT_EQ(program.ServSortColumn, 3);
  EXPECT_FALSE(form->ServListModel().list().ascending(3));
  EXPECT_EQ(header->sortIndicatorSection(), 3);
  EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);
}

TEST_F(FormsTest, ColumnDragRecordsEveryPosition) {
  ShowAndWaitForFirstRequest();
  form->ServList->header()->moveSection(6, 0);
  EXPECT_EQ(form->ServColumnPositions(), (std::array<int, 7>{1, 2, 3, 4, 5, 6, 0}));
}

TEST_F(FormsTest, QuickFillAddsNewServicesAndKeepsRemovedOnesUntilAFullFill) {
  ShowAndWaitForFirstRequest();
  form->ServList->setCurrentIndex(form->ServListModel().index(3, 0));  // Spooler
  Catalogue& catalogue = program.catalogue;
  // Alerter leaves, a new service arrives, Browser's display name changes case only.
  ServiceRecord added = catalogue.ServiceTable[0];
  added.ServiceName = "AppMgmt";
  added.DisplayName = "Application Management";
  std::size_t alerter = 0;
  for (std::size_t i = 0; i < catalogue.ServiceCount; ++i) {
    if (catalogue.ServiceTable[i].ServiceName == "Alerter") {
      alerter = i;
    }
    if (catalogue.ServiceTable[i].ServiceName == "Browser") {
      catalogue.ServiceTable[i].DisplayName = "COMPUTER BROWSER";
    }
  }
  catalogue.ServiceTable[alerter] = added;

  program.FullRefresh = false;
  form->FillViews();
  EXPECT_EQ(Names(), (NameList{"Alerter", "AppMgmt", "Browser", "Fs_Rec", "Spooler"}));
  EXPECT_EQ(form->ServListModel().row(2).texts[0], "Computer Browser");
  EXPECT_EQ(form->ListCount->text(), "5");
  EXPECT_EQ(form->SelectedServiceName(), "Spooler");  // the selection follows the re-sort

  program.FullRefresh = true;
  form->FillViews();
  EXPECT_EQ(Names(), (NameList{"AppMgmt", "Browser", "Fs_Rec", "Spooler"}));
  EXPECT_EQ(form->ServListModel().row(1).texts[0], "COMPUTER BROWSER");
  EXPECT_EQ(form->SelectedServiceName(), "AppMgmt");
}

TEST_F(FormsTest, AnEmptyCatalogueShowsTheErrorRow) {
  ShowAndWaitForFirstRequest();
  program.catalogue.ServiceCount = 0;
  program.FullRefresh = true;
  form->FillViews();
  EXPECT_EQ(form->ServListModel().rowCount(), 1);
  EXPECT_EQ(form->ServListModel().data(form->ServListModel().index(0, 0), Qt::DisplayRole),
            " - error retrieving service list - ");
  EXPECT_EQ(form->ListCount->text(), "1");
  EXPECT_EQ(form->ServNo->text(), "0");
}

TEST_F(FormsTest, ARequestWhileOneRunsIsDropped) {
  ShowAndWaitForFirstRequest();
  program.FullRefresh = true;
  program.RefreshAllViews = true;
  ASSERT_TRUE(form->LaunchRequest(ReqRefreshAll));
  ASSERT_FALSE(request.WorkerIdle);
  EXPECT_FALSE(form->LaunchRequest(ReqRefresh));
  EXPECT_FALSE(form->LaunchRequest(ReqRefreshAll));
  // The commands of the launcher are disabled while it runs.
  EXPECT_FALSE(form->mRefresh->isEnabled());
  EXPECT_FALSE(form->Refresh->isEnabled());
  WaitForCompletion();
  EXPECT_TRUE(form->mRefresh->isEnabled());
  EXPECT_TRUE(dialogs.asked.empty());
}

TEST_F(FormsTest, CloseWhileARequestRunsAsksAndNoKeepsEverythingRunning) {
  ShowAndWaitForFirstRequest();
  dialogs.answers.push_back(DialogResult::No);
  program.FullRefresh = true;
  program.RefreshAllViews = true;
  ASSERT_TRUE(form->LaunchRequest(ReqRefreshAll));
  ASSERT_FALSE(request.WorkerIdle);
  EXPECT_FALSE(form->close());
  ASSERT_EQ(dialogs.asked.size(), 1u);
  EXPECT_EQ(dialogs.asked[0].text, "Terminate current operation and exit ?");
  EXPECT_EQ(dialogs.asked[0].icon, DialogIcon::Warning);
  EXPECT_EQ(dialogs.asked[0].buttons, DialogButtons::YesNo);
  EXPECT_TRUE(form->isVisible());
  EXPECT_FALSE(request.Closing);
  WaitForCompletion();
  EXPECT_EQ(Names(), (NameList{"Alerter", "Browser", "Fs_Rec", "Spooler"}));

  // With nothing running the close needs no question.
  EXPECT_TRUE(form->close());
  EXPECT_EQ(dialogs.asked.size(), 1u);
  EXPECT_TRUE(request.Closing);
  EXPECT_FALSE(form->isVisible());
}

TEST_F(FormsTest, CloseWhileARequestRunsAndYesStopsTheWorker) {
  ShowAndWaitForFirstRequest();
  dialogs.answers.push_back(DialogResult::Yes);
  program.FullRefresh = true;
  program.RefreshAllViews = true;
  ASSERT_TRUE(form->LaunchRequest(ReqRefreshAll));
  EXPECT_TRUE(form->close());
  EXPECT_TRUE(request.Closing);
  EXPECT_FALSE(form->isVisible());
  EXPECT_FALSE(console->isVisible());
}

TEST_F(FormsTest, DrawStatusProgressDrawsTheBarBelow99AndWipesItAt99) {
  form->show();
  WaitForCompletion();
  QtStatusBar& bar = *form->StatusBar;
  const QPoint inBar(QtStatusBar::PanelWidths[0] + 40, bar.height() / 2);
  const QColor cream(255, 251, 240);

  form->DrawStatusProgress(0);
  EXPECT_EQ(bar.progress(), QtStatusBar::Progress::Frame);
  EXPECT_EQ(bar.panelText(1), QString(10, ' '));

  form->DrawStatusProgress(98.9);
  EXPECT_EQ(bar.progress(), QtStatusBar::Progress::Bar);
  // Left 205, right 205 + trunc(93 * 0.989) = 296 (exclusive), top 5, bottom H - 4.
  EXPECT_EQ(bar.barRect(), QRect(QPoint(205, 5), QPoint(295, bar.height() - 5)));
  QImage picture = bar.grab().toImage();
  EXPECT_EQ(QColor(picture.pixel(inBar)), cream);
  EXPECT_EQ(QColor(picture.pixel(QtStatusBar::PanelWidths[0] + 4, 8)), QColor(Qt::black));

  form->DrawStatusProgress(99);
  EXPECT_EQ(bar.progress(), QtStatusBar::Progress::Wiped);
  picture = bar.grab().toImage();
  const QColor face = bar.palette().color(QPalette::Button);
  EXPECT_EQ(QColor(picture.pixel(inBar)), face);
  EXPECT_EQ(QColor(picture.pixel(QtStatusBar::PanelWidths[0] + 4, 8)), face);
}

TEST_F(FormsTest, TheClockShowsTenthsOfASecond) {
  clock.advance(((9 * 60 + 5) * 60 + 3) * 1000 + 70);
  form->TenthSecTickTimer();
  EXPECT_EQ(form->StatusBar->panelText(2), "09:05:03.0");
  clock.advance(930 + 60 * 1000);
  form->TenthSecTickTimer();
  EXPECT_EQ(form->StatusBar->panelText(2), "09:06:04.0");
  clock.advance(999);
  form->TenthSecTickTimer();
  EXPECT_EQ(form->StatusBar->panelText(2), "09:06:04.9");
}

TEST_F(FormsTest, EventLogPageShowsItsMenuAndDisablesTheTreeButtons) {
  ShowAndWaitForFirstRequest();
  form->PageControl->setCurrentIndex(2);
  EXPECT_TRUE(form->EventLogMenu->menuAction()->isVisible());
  EXPECT_TRUE(form->EventPanel->isVisible());
  EXPECT_FALSE(form->Panel->isVisible());
  EXPECT_FALSE(form->SpeedDependencies->isEnabled());
  // The page's first look loads the logs; the page change waits for that request.
  form->PageControl->setCurrentIndex(0);
  WaitForCompletion();
  EXPECT_FALSE(form->EventLogMenu->menuAction()->isVisible());
  EXPECT_TRUE(form->Panel->isVisible());
}

TEST_F(FormsTest, CopyTakesTheSelectionOrTheWholeDescription) {
  ShowAndWaitForFirstRequest();
  form->Description->setFocus();
  form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  form->emCopyClick();
  EXPECT_EQ(QApplication::clipboard()->text(), form->Description->toPlainText());
  QTextCursor cursor = form->Description->textCursor();
  cursor.setPosition(0);
  cursor.setPosition(4, QTextCursor::KeepAnchor);
  form->Description->setTextCursor(cursor);
  form->emCopyClick();
  EXPECT_EQ(QApplication::clipboard()->text(), "Desc");
}

TEST_F(FormsTest, ImagesTellTheStatesApart) {
  const auto picture = [](int index) { return QtImageList::drawBase(index, 16); };
  const auto drawn = [](const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        if (qAlpha(image.pixel(x, y)) > 0) {
          return true;
        }
      }
    }
    return false;
  };
  const std::vector<std::vector<int>> groups = {
      {image::StateStopped, image::StateRunning, image::StatePaused, image::StateOther},
      {image::StartOther, image::StartAutomatic, image::StartDisabled, image::StartManual},
      {image::ToolStart, image::ToolRestart, image::ToolPause, image::ToolStop},
      {image::AuditFailure, image::EventError, image::EventInformation, image::EventWarning,
       image::AuditSuccess},
      {image::Group, image::Service, image::NothingToShow, image::GroupOutsideOrder,
       image::ServiceNotInstalled, image::EmptyGroup, image::TreeDriver, image::RowService,
       image::InvalidSnapshotEntry},
      {image::RowService, image::RowDriver},
  };
  for (const std::vector<int>& group : groups) {
    for (std::size_t a = 0; a < group.size(); ++a) {
      EXPECT_TRUE(drawn(picture(group[a]))) << group[a];
      for (std::size_t b = a + 1; b < group.size(); ++b) {
        if (!(group[a] == image::Service && group[b] == image::RowService)) {
          EXPECT_NE(picture(group[a]), picture(group[b])) << group[a] << " " << group[b];
        }
      }
    }
  }
}

}  // namespace
}  // namespace corvane::testing
