#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QTimer>
#include <filesystem>
#include <functional>

#include "corvane/editors/Form_edit.h"
#include "corvane/editors/Form_servedit.h"
#include "corvane/shell/os_version_check.h"
#include "forms_fixture.h"

namespace corvane::testing {
namespace {

namespace fs = std::filesystem;

const char* const XpDescriptions =
    "[print spooler]\r\n\r\n\r\nSpools.\r\n\r\nSecond paragraph.\r\n\r\n[Alerter]\r\nAlerts."
    "\r\n\r\n[iniend]\r\n";

class EditorsTest : public FormsTest {
 protected:
  EditorsTest() {
    FillExtraDescFiles(program);
    program.OsKind = OsKindWindowsXP;
    fs::create_directories(folder / "descriptions");
    for (const std::string& file : program.ExtraDescFiles) {
      TempFolder::writeFile(file, "[iniend]\r\n");
    }
    TempFolder::writeFile(program.ExtraDescFiles[3], XpDescriptions);
    LoadExtraDescriptions(program);
    form->CreateEditors();
  }

  void Select(const std::string& serviceName) {
    const std::ptrdiff_t row = form->ServListModel().list().findRow(serviceName);
    ASSERT_GE(row, 0) << serviceName;
    form->ServList->setCurrentIndex(form->ServListModel().index(static_cast<int>(row), 0));
  }

  // Runs `open`, which shows `dialog` modally; `whileOpen` looks at it and closes it. False when
  // the dialog never showed.
  bool WhileModal(QDialog* dialog, const std::function<void()>& open,
                  const std::function<void()>& whileOpen) {
    bool shown = false;
    QTimer::singleShot(0, dialog, [&] {
      shown = dialog->isVisible();
      if (shown) {
        whileOpen();
      }
    });
    open();
    QCoreApplication::processEvents();
    return shown;
  }

  std::string Contents(std::size_t k) const {
    return TempFolder::readFile(fs::path(program.ExtraDescFiles[k]));
  }
};

TEST_F(EditorsTest, PropertiesShowTheSelectedServiceAndEscapeCloses) {
  ShowAndWaitForFirstRequest();
  Select("Spooler");
  TServEdit* dialog = form->ServEdit;
  ASSERT_TRUE(form->PopupItems[0]->isEnabled());
  const bool shown = WhileModal(
      dialog, [&] { form->PopupItems[0]->trigger(); },
      [&] {
        EXPECT_EQ(dialog->windowTitle(), "Print Spooler");
        EXPECT_EQ(dialog->size(), QSize(642, 461));
        EXPECT_TRUE(dialog->windowFlags() & Qt::WindowStaysOnTopHint);
        EXPECT_EQ(dialog->ServName->text(), "Spooler");
        EXPECT_TRUE(dialog->ServName->font().bold());
        EXPECT_EQ(dialog->DispName->text(), "Print Spooler");
        EXPECT_EQ(dialog->ServType->currentText(), "win32 own process");
        EXPECT_FALSE(dialog->ServType->isEnabled());
        EXPECT_TRUE(dialog->Cdi->isChecked());
        EXPECT_TRUE(dialog->Cdi->isEnabled());
        EXPECT_EQ(dialog->StartType->currentText(), "automatic");
        EXPECT_EQ(dialog->CurrentStatus->currentText(), "running");
        EXPECT_EQ(dialog->ErrorCtrl->currentText(), "error_normal\t");
        EXPECT_TRUE(dialog->ErrorCtrl->isEnabled());
        EXPECT_FALSE(dialog->BSave->isEnabled());
        EXPECT_TRUE(dialog->AccountLocal->isChecked());
        EXPECT_FALSE(dialog->ServAccount->isEnabled());
        EXPECT_FALSE(dialog->ServPass2->isEnabled());
        EXPECT_FALSE(dialog->ComboBox4->isEnabled());
        EXPECT_EQ(dialog->ComboBox4->itemText(3), "RESTART THE COMPUTER");
        // Typed changes are dropped.
        dialog->DispName->setText("Typed over");
        QTest::keyClick(dialog->DispName, Qt::Key_Escape);
      });
  EXPECT_TRUE(shown);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  const ServiceRecord* record = nullptr;
  for (std::size_t i = 0; i < program.catalogue.ServiceCount; ++i) {
    if (program.catalogue.ServiceTable[i].ServiceName == "Spooler") {
      record = &program.catalogue.ServiceTable[i];
    }
  }
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->DisplayName, "Print Spooler");
  EXPECT_EQ(form->ServList->currentIndex().data().toString(), "Print Spooler");
}

TEST_F(EditorsTest, DoubleClickAndEnterOpenPropertiesOfDriversAndOddTypes) {
  ShowAndWaitForFirstRequest();
  form->mAllClick();
  WaitForCompletion();
  struct Case {
    const char* name;
    const char* type;
    bool cdiEnabled;
    bool enterKey;
  };
  const Case cases[] = {
      {"Cdrom", "kernel driver", false, false},
      {"Fastfat", "file system driver", false, true},
      {"Fs_Rec", "8", true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Select(c.name);
    const bool shown = WhileModal(
        form->ServEdit,
        [&] {
          if (c.enterKey) {
            QTest::keyClick(form->ServList, Qt::Key_Return);
          } else {
            form->ServListDblClick();
          }
        },
        [&] {
          EXPECT_EQ(form->ServEdit->ServName->text(), c.name);
          EXPECT_EQ(form->ServEdit->ServType->currentText(), c.type);
          EXPECT_EQ(form->ServEdit->Cdi->isEnabled(), c.cdiEnabled);
          EXPECT_FALSE(form->ServEdit->Cdi->isChecked());
          form->ServEdit->BCancel->click();
        });
    EXPECT_TRUE(shown);
  }
}

TEST_F(EditorsTest, AnUnknownStateAddsOneItemAtEveryOpening) {
  ShowAndWaitForFirstRequest();
  Catalogue& catalogue = program.catalogue;
  ServiceRecord* alerter = nullptr;
  for (std::size_t i = 0; i < catalogue.ServiceCount; ++i) {
    if (catalogue.ServiceTable[i].ServiceName == "Alerter") {
      alerter = &catalogue.ServiceTable[i];
    }
  }
  ASSERT_NE(alerter, nullptr);
  alerter->State = 0;
  TServEdit* dialog = form->ServEdit;
  EXPECT_TRUE(dialog->FormShow("Alerter", QIcon(), "Alerter"));
  EXPECT_TRUE(dialog->FormShow("Alerter", QIcon(), "Alerter"));
  EXPECT_EQ(dialog->CurrentStatus->currentText(), "exception: 0");
  EXPECT_EQ(dialog->CurrentStatus->count(), 7 + 2);
  EXPECT_FALSE(dialog->FormShow("Gone", QIcon(), "Gone"));
}

TEST_F(EditorsTest, PropertiesDoNotOpenForAServiceTheCatalogueNoLongerHas) {
  ShowAndWaitForFirstRequest();
  Select("Browser");
  for (std::size_t i = 0; i < program.catalogue.ServiceCount; ++i) {
    if (program.catalogue.ServiceTable[i].ServiceName == "Browser") {
      program.catalogue.ServiceTable[i].ServiceName = "Renamed";
    }
  }
  const bool shown = WhileModal(
      form->ServEdit, [&] { form->PropertiesClick(); }, [&] { form->ServEdit->close(); });
  EXPECT_FALSE(shown);
}

TEST_F(EditorsTest, EditOpensTheSectionAndSaveWritesTheRunningSystemsFile) {
  ShowAndWaitForFirstRequest();
  Select("Spooler");
  form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
  form->Description->setFocus();
  TFormEdit* editor = form->FormEdit;
  const bool shown = WhileModal(
      editor, [&] { form->emEdit->trigger(); },
      [&] {
        EXPECT_EQ(editor->windowTitle(), "Edit Additional Description");
        EXPECT_EQ(editor->Description->toPlainText(), "Spools.\n\nSecond paragraph.\n");
        EXPECT_EQ(editor->CIni->currentText(), "extradescXP.ini");
        EXPECT_TRUE(editor->CIni->isEnabled());
        EXPECT_FALSE(editor->SaveAll->isChecked());
        editor->Description->setPlainText("Spools print jobs.\nNote: new.");
        editor->Save->click();
      });
  EXPECT_TRUE(shown);
  EXPECT_FALSE(editor->isVisible());
  EXPECT_EQ(Contents(3),
            "[print spooler]\r\nSpools print jobs.\r\nNote: new.\r\n\r\n[Alerter]\r\nAlerts.\r\n"
            "\r\n[iniend]\r\n");
  EXPECT_EQ(Contents(0), "[iniend]\r\n");
  EXPECT_EQ(program.ExtraDescriptions.Lines.at(2), "Note: new.");
  EXPECT_TRUE(dialogs.asked.empty());
}

TEST_F(EditorsTest, SaveInAllWritesEveryFileAndEscapeSavesNothing) {
  ShowAndWaitForFirstRequest();
  Select("Browser");
  TFormEdit* editor = form->FormEdit;
  bool shown = WhileModal(
      editor, [&] { editor->Execute("Computer Browser"); },
      [&] {
        EXPECT_EQ(editor->Description->toPlainText(), "");
        editor->Description->setPlainText("Typed, then dropped.");
        QTest::keyClick(editor->Description, Qt::Key_Escape);
      });
  EXPECT_TRUE(shown);
  EXPECT_EQ(Contents(3), XpDescriptions);

  shown = WhileModal(
      editor, [&] { editor->Execute("Computer Browser"); },
      [&] {
        editor->CIni->setCurrentIndex(0);
        editor->SaveAll->click();
        EXPECT_FALSE(editor->CIni->isEnabled());
        editor->Description->setPlainText("Browses.");
        editor->Save->click();
      });
  EXPECT_TRUE(shown);
  for (std::size_t k = 0; k < 3; ++k) {
    EXPECT_EQ(Contents(k), "[Computer Browser]\r\nBrowses.\r\n\r\n[iniend]\r\n");
  }
  EXPECT_NE(Contents(3).find("[Alerter]\r\nAlerts.\r\n\r\n[Computer Browser]\r\nBrowses.\r\n\r\n"
                             "[iniend]"),
            std::string::npos);
  EXPECT_GE(program.ExtraDescriptions.indexOf("[computer browser]"), 0);

  // "Save in all" keeps its state; the file box returns to the running system's file.
  shown = WhileModal(
      editor, [&] { editor->Execute("Computer Browser"); },
      [&] {
        EXPECT_TRUE(editor->SaveAll->isChecked());
        EXPECT_FALSE(editor->CIni->isEnabled());
        EXPECT_EQ(editor->CIni->currentIndex(), 3);
        editor->reject();
      });
  EXPECT_TRUE(shown);
}

TEST_F(EditorsTest, ATextThatCannotBeSavedKeepsTheEditorOpen) {
  ShowAndWaitForFirstRequest();
  TFormEdit* editor = form->FormEdit;
  bool stillOpen = false;
  const bool shown = WhileModal(
      editor, [&] { editor->Execute("Alerter"); },
      [&] {
        editor->Description->setPlainText("Mine.\n[Print Spooler]\nTaken over.");
        editor->Save->click();
        stillOpen = editor->isVisible();
        EXPECT_EQ(editor->Description->toPlainText(), "Mine.\n[Print Spooler]\nTaken over.");
        editor->reject();
      });
  EXPECT_TRUE(shown);
  EXPECT_TRUE(stillOpen);
  ASSERT_EQ(dialogs.asked.size(), 1u);
  EXPECT_EQ(dialogs.asked[0].caption, "error");
  EXPECT_EQ(Contents(3), XpDescriptions);
}

TEST_F(EditorsTest, TheEditorsTextHasTheEditMenuWithCutAndPaste) {
  ShowAndWaitForFirstRequest();
  TFormEdit* editor = form->FormEdit;
  const bool shown = WhileModal(
      editor, [&] { editor->Execute("Alerter"); },
      [&] {
        EXPECT_EQ(editor->Description->toPlainText(), "Alerts.\n");
        editor->DescriptionMouseUp(Qt::RightButton, editor->mapToGlobal(QPoint(20, 20)));
        EXPECT_TRUE(form->EditMenu->isVisible());
        EXPECT_TRUE(form->emCut->isVisible());
        EXPECT_TRUE(form->emPaste->isVisible());
        EXPECT_FALSE(form->emEdit->isVisible());
        form->EditMenu->hide();

        QCoreApplication::processEvents();
        editor->activateWindow();
        EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == editor; }));
        editor->Description->setFocus();
        QTextCursor cursor = editor->Description->textCursor();
        cursor.setPosition(0);
        cursor.setPosition(6, QTextCursor::KeepAnchor);
        editor->Description->setTextCursor(cursor);
        form->emCutClick();
        EXPECT_EQ(QApplication::clipboard()->text(), "Alerts");
        EXPECT_EQ(editor->Description->toPlainText(), ".\n");
        form->emPasteClick();
        EXPECT_EQ(editor->Description->toPlainText(), "Alerts.\n");
        form->emCopyClick();
        EXPECT_EQ(QApplication::clipboard()->text(), "Alerts.\n");
        editor->reject();
      });
  EXPECT_TRUE(shown);
}

}  // namespace
}  // namespace corvane::testing
