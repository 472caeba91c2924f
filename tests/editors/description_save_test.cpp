#include "corvane/editors/description_save.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "support/temp_folder.h"
#include "corvane/shell/os_version_check.h"
#include "support/scripted_dialogs.h"

using corvane::testing::TempFolder;

namespace corvane {
namespace {

namespace fs = std::filesystem;
using testing::AskedDialog;
using testing::ScriptedDialogs;

const char* const Shipped[4] = {
    "[Alerter]\r\nOther systems.\r\n\r\n[Messenger]\r\nm\r\n\r\n[iniend]\r\n",
    "[Alerter]\r\nWindows 2000.\r\n\r\n[iniend]\r\n",
    "[Messenger]\r\nm 2003\r\n\r\n[iniend]\r\n",
    "; notes\r\n[alerter]\r\n\r\nWindows XP.\r\n\r\n[Messenger]\r\nm XP\r\n[iniend]\r\n",
};

// The running system is XP: its file is the fourth.
class DescriptionSave : public ::testing::Test {
 protected:
  DescriptionSave() {
    program.InstallDir = folder.path();
    FillExtraDescFiles(program);
    program.OsKind = OsKindWindowsXP;
    fs::create_directories(folder / "descriptions");
    for (std::size_t k = 0; k < 4; ++k) {
      TempFolder::writeFile(path(k), Shipped[k]);
    }
    program.ExtraDescriptions.Lines = {"stale"};
  }

  fs::path path(std::size_t k) const { return fs::path(program.ExtraDescFiles[k]); }
  std::string contents(std::size_t k) const { return TempFolder::readFile(path(k)); }
  bool save(const std::string& text, bool saveAll, int fileIndex) {
    return SaveDescription(program, dialogs, "Alerter", text, saveAll, fileIndex);
  }

  TempFolder folder;
  ProgramState program;
  ScriptedDialogs dialogs;
};

TEST_F(DescriptionSave, IntoOneFileLeavesTheOthersAndReloadsTheRunningSystemsFile) {
  EXPECT_TRUE(save("New 2000 text.\nSecond line.", false, 1));
  EXPECT_EQ(contents(1), "[Alerter]\r\nNew 2000 text.\r\nSecond line.\r\n\r\n[iniend]\r\n");
  for (const std::size_t untouched : {0, 2, 3}) {
    EXPECT_EQ(contents(untouched), Shipped[untouched]);
  }
  EXPECT_TRUE(dialogs.asked.empty());
  // Reloaded from the XP file, which was not changed.
  EXPECT_EQ(program.ExtraDescriptions.Lines.at(3), "Windows XP.");

  EXPECT_TRUE(save("XP now.", false, 3));
  EXPECT_EQ(contents(3),
            "; notes\r\n[alerter]\r\nXP now.\r\n\r\n[Messenger]\r\nm XP\r\n[iniend]\r\n");
  EXPECT_EQ(program.ExtraDescriptions.Lines,
            (std::vector<std::string>{"; notes", "[alerter]", "XP now.", "", "[Messenger]", "m XP",
                                      "[iniend]"}));
}

TEST_F(DescriptionSave, IntoAllGivesEveryFileTheSameSectionBesideItsOwnEntries) {
  EXPECT_TRUE(save("Everywhere.", true, 0));
  EXPECT_EQ(contents(0), "[Alerter]\r\nEverywhere.\r\n\r\n[Messenger]\r\nm\r\n\r\n[iniend]\r\n");
  EXPECT_EQ(contents(1), "[Alerter]\r\nEverywhere.\r\n\r\n[iniend]\r\n");
  EXPECT_EQ(contents(2),
            "[Messenger]\r\nm 2003\r\n\r\n[Alerter]\r\nEverywhere.\r\n\r\n[iniend]\r\n");
  EXPECT_EQ(contents(3),
            "; notes\r\n[alerter]\r\nEverywhere.\r\n\r\n[Messenger]\r\nm XP\r\n[iniend]\r\n");
  EXPECT_TRUE(dialogs.asked.empty());
  EXPECT_EQ(program.ExtraDescriptions.indexOf("[ALERTER]"), 1);
}

TEST_F(DescriptionSave, AnEmptyTextRemovesTheSectionFromEveryFile) {
  EXPECT_TRUE(save("", true, 0));
  EXPECT_EQ(contents(0), "[Messenger]\r\nm\r\n\r\n[iniend]\r\n");
  EXPECT_EQ(contents(1), "[iniend]\r\n");
  EXPECT_EQ(contents(2), Shipped[2]);
  EXPECT_EQ(contents(3), "; notes\r\n[Messenger]\r\nm XP\r\n[iniend]\r\n");
}

TEST_F(DescriptionSave, OtherLinesKeepTheirBytesAndGetCrLf) {
  const std::string binary("bytes \x01\x02\x00\xff\xfe end", 16);
  TempFolder::writeFile(path(0), "[Alerter]\nold\n[Binary]\n" + binary + "\rcaf\xe9\n[iniend]");
  EXPECT_TRUE(save("new", false, 0));
  EXPECT_EQ(contents(0),
            "[Alerter]\r\nnew\r\n\r\n[Binary]\r\n" + binary + "\r\ncaf\xe9\r\n[iniend]\r\n");
}

TEST_F(DescriptionSave, AMissingFileIsReportedThenCreatedWithTheSectionAlone) {
  fs::remove(path(2));
  EXPECT_TRUE(save("Fresh.", false, 2));
  ASSERT_EQ(dialogs.asked.size(), 1u);
  const AskedDialog& box = dialogs.asked[0];
  EXPECT_EQ(box.caption, "error");
  EXPECT_EQ(box.icon, DialogIcon::Error);
  EXPECT_EQ(box.buttons, DialogButtons::Ok);
  const std::string lead = program.ExtraDescFiles[2] + "\non load :\n";
  EXPECT_EQ(box.text.substr(0, lead.size()), lead);
  EXPECT_GT(box.text.size(), lead.size());
  EXPECT_EQ(contents(2), "[Alerter]\r\nFresh.\r\n\r\n[iniend]\r\n");
}

TEST_F(DescriptionSave, AMissingDescriptionsFolderIsCreated) {
  fs::remove_all(folder / "descriptions");
  EXPECT_TRUE(save("Fresh.", true, 0));
  EXPECT_EQ(dialogs.asked.size(), 4u);  // one "on load" box per file
  for (std::size_t k = 0; k < 4; ++k) {
    EXPECT_EQ(contents(k), "[Alerter]\r\nFresh.\r\n\r\n[iniend]\r\n");
  }
  EXPECT_EQ(program.ExtraDescriptions.indexOf("[Alerter]"), 0);
}

TEST_F(DescriptionSave, AFileThatCannotBeReadIsReportedAndLeftAsItIs) {
  // A folder where the file should be, and a file too large to load.
  fs::remove(path(0));
  fs::create_directories(path(0));
  fs::resize_file(path(1), 17 * 1024 * 1024);
  EXPECT_TRUE(save("Lost?", false, 0));
  EXPECT_TRUE(save("Lost?", false, 1));
  ASSERT_EQ(dialogs.asked.size(), 2u);
  for (std::size_t k = 0; k < 2; ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(dialogs.asked[k].caption, "error");
    EXPECT_EQ(dialogs.asked[k].buttons, DialogButtons::Ok);
    EXPECT_EQ(dialogs.asked[k].text.rfind(program.ExtraDescFiles[k] + "\non load :\n", 0), 0u);
  }
  EXPECT_TRUE(fs::is_directory(path(0)));
  EXPECT_EQ(fs::file_size(path(1)), 17u * 1024 * 1024);
  const std::string shipped = Shipped[1];
  EXPECT_EQ(TempFolder::readFile(path(1)).substr(0, shipped.size()), shipped);
}

TEST_F(DescriptionSave, AReadOnlyFileAsksRetryOrIgnoreAndStaysAsItWas) {
  fs::permissions(path(3), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  dialogs.answers = {DialogResult::Retry, DialogResult::Retry, DialogResult::Ignore};
  EXPECT_TRUE(save("Refused.", false, 3));
  ASSERT_EQ(dialogs.asked.size(), 3u);
  const std::string lead =
      "When saving file: " + program.ExtraDescFiles[3] + "\nerror encountered:\n";
  for (const AskedDialog& box : dialogs.asked) {
    EXPECT_EQ(box.text.rfind(lead, 0), 0u);
    EXPECT_GT(box.text.size(), lead.size());
    EXPECT_EQ(box.caption, "error");
    EXPECT_EQ(box.icon, DialogIcon::Error);
    EXPECT_EQ(box.buttons, DialogButtons::RetryIgnore);
  }
  EXPECT_EQ(contents(3), Shipped[3]);
  // Nothing temporary is left beside the file.
  std::size_t entries = 0;
  for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder / "descriptions")) {
    ++entries;
  }
  EXPECT_EQ(entries, 4u);
  EXPECT_EQ(program.ExtraDescriptions.Lines.at(3), "Windows XP.");
}

// Answers Retry after making the file writable again.
class FixingDialogs : public ScriptedDialogs {
 public:
  std::function<void()> fix;
  DialogResult messageBox(const std::string& text, const std::string& caption, DialogIcon icon,
                          DialogButtons buttons) override {
    ScriptedDialogs::messageBox(text, caption, icon, buttons);
    fix();
    return DialogResult::Retry;
  }
};

TEST_F(DescriptionSave, RetryWritesAgain) {
  fs::permissions(path(0), fs::perms::owner_read);
  FixingDialogs fixing;
  fixing.fix = [this] { fs::permissions(path(0), fs::perms::owner_read | fs::perms::owner_write); };
  DoSave(program.ExtraDescFiles[0], "Alerter", "After retry.", fixing);
  EXPECT_EQ(fixing.asked.size(), 1u);
  EXPECT_EQ(contents(0), "[Alerter]\r\nAfter retry.\r\n\r\n[Messenger]\r\nm\r\n\r\n[iniend]\r\n");
}

TEST_F(DescriptionSave, ATextThatWouldBeginAnotherSectionIsNotSaved) {
  EXPECT_FALSE(save("Mine.\n[Messenger]\nTaken over.", true, 0));
  ASSERT_EQ(dialogs.asked.size(), 1u);
  EXPECT_EQ(dialogs.asked[0].caption, "error");
  EXPECT_NE(dialogs.asked[0].text.find("\"[Messenger]\""), std::string::npos);
  for (std::size_t k = 0; k < 4; ++k) {
    EXPECT_EQ(contents(k), Shipped[k]);
  }
  EXPECT_EQ(program.ExtraDescriptions.Lines, std::vector<std::string>{"stale"});
}

}  // namespace
}  // namespace corvane
