#include <gtest/gtest.h>

#include <filesystem>

#include "support/temp_folder.h"
#include "corvane/snapshot/snapshot_file.h"

using corvane::testing::TempFolder;

namespace corvane {

void PrintTo(const SnapshotEntry& e, std::ostream* out) {
  *out << "{" << e.Name << ", " << e.DisplayName << ", " << e.StartupType << ", " << e.Status
       << "}";
}

namespace {

using Entries = std::vector<SnapshotEntry>;

TEST(SnapshotFile, WritesTheLayoutLineByLine) {
  TempFolder folder;
  const auto file = folder / "two.snapshot";
  WriteSnapshotFile(file, true, false,
                    {{"Alerter", "Alerter", "manual", "stopped"},
                     {"Browser", "Computer Browser", "automatic", "started"}});
  EXPECT_EQ(
      TempFolder::readFile(file),
      "[-options-]\r\nApplyStatus=1\r\nApplyStartType=0\r\n\r\n"
      "[Alerter]\r\nDisplayName=Alerter\r\nStartupType=manual\r\nCurrentStatus=stopped\r\n\r\n"
      "[Browser]\r\nDisplayName=Computer Browser\r\nStartupType=automatic\r\n"
      "CurrentStatus=started\r\n\r\n");

  WriteSnapshotFile(file, false, false, {{"Alerter", "Alerter", "manual", "stopped"}});
  // Nine lines, and nothing of the old sections.
  EXPECT_EQ(
      TempFolder::readFile(file),
      "[-options-]\r\nApplyStatus=0\r\nApplyStartType=0\r\n\r\n"
      "[Alerter]\r\nDisplayName=Alerter\r\nStartupType=manual\r\nCurrentStatus=stopped\r\n\r\n");
  EXPECT_EQ(folder.entryCount(), 1u);
}

TEST(SnapshotFile, ReadsBackWhatItWrote) {
  TempFolder folder;
  const auto file = folder / "round.snapshot";
  const Entries entries = {{"Zeta", "Last one", "disabled", "stopped"},
                           {"Alpha", "First \xe9 one", "Automatic", "running"},
                           {"odd", "  blanks", "unknown: 7", "paused"}};
  WriteSnapshotFile(file, false, true, entries);
  const SnapshotReading reading = ReadSnapshotFile(file);
  EXPECT_FALSE(reading.error);
  EXPECT_EQ(reading.ApplyStatus, false);
  EXPECT_EQ(reading.ApplyStartType, true);
  ASSERT_EQ(reading.Entries.size(), 4u);
  EXPECT_EQ(reading.Entries[0], (SnapshotEntry{"-options-", "error", "error", "error"}));
  EXPECT_EQ(reading.Entries[1], entries[0]);
  EXPECT_EQ(reading.Entries[2], entries[1]);
  // Blanks around a value do not survive the reading.
  EXPECT_EQ(reading.Entries[3], (SnapshotEntry{"odd", "blanks", "unknown: 7", "paused"}));
}

TEST(SnapshotFile, TwoEntriesOfOneNameLeaveOneSectionWithTheLaterValues) {
  TempFolder folder;
  const auto file = folder / "twice.snapshot";
  WriteSnapshotFile(
      file, false, false,
      {{"Alerter", "A", "manual", "stopped"}, {"alerter", "B", "disabled", "started"}});
  const SnapshotReading reading = ReadSnapshotFile(file);
  ASSERT_EQ(reading.Entries.size(), 2u);
  EXPECT_EQ(reading.Entries[1], (SnapshotEntry{"Alerter", "B", "disabled", "started"}));
}

TEST(SnapshotFile, AFailedWriteLeavesTheOldFile) {
  TempFolder folder;
  const auto file = folder / "kept.snapshot";
  TempFolder::writeFile(file, "old content");
  // A text with a line break cannot be stored; nothing is written.
  EXPECT_THROW(
      WriteSnapshotFile(file, true, true, {{"Alerter", "two\nlines", "manual", "stopped"}}),
      std::runtime_error);
  EXPECT_EQ(TempFolder::readFile(file), "old content");
  EXPECT_EQ(folder.entryCount(), 1u);

  try {
    WriteSnapshotFile(folder / "no such folder" / "x.snapshot", true, true,
                      {{"Alerter", "Alerter", "manual", "stopped"}});
    FAIL() << "a file in a missing folder was written";
  } catch (const std::runtime_error& failure) {
    EXPECT_NE(std::string(failure.what()).find("no such folder"), std::string::npos)
        << failure.what();
  }
}

struct ReadCase {
  const char* what;
  std::string text;
  std::optional<bool> applyStatus;
  std::optional<bool> applyStartType;
  Entries entries;
  const char* error;  // a piece of the message, or nullptr
};

TEST(SnapshotFile, ReadsMalformedFilesAsTheRulesSay) {
  const ReadCase cases[] = {
      {"no options section",
       "[Alerter]\r\nDisplayName=Alerter\r\n",
       false,
       false,
       {{"Alerter", "Alerter", "error", "error"}},
       nullptr},
      {"ApplyStatus 2 and -1 set the options",
       "[-options-]\nApplyStatus=2\nApplyStartType=-1\n",
       true,
       true,
       {{"-options-", "error", "error", "error"}},
       nullptr},
      {"hexadecimal is an integer",
       "[-options-]\nApplyStatus=$0\nApplyStartType=0x10\n",
       false,
       true,
       {{"-options-", "error", "error", "error"}},
       nullptr},
      {"yes is no integer",
       "[-options-]\nApplyStatus=yes\n[Alerter]\n",
       std::nullopt,
       std::nullopt,
       {},
       "'yes' is not a valid integer value"},
      {"an empty value is no integer",
       "[-options-]\nApplyStatus=\n",
       std::nullopt,
       std::nullopt,
       {},
       "'' is not a valid integer value"},
      {"a bad second option keeps the first",
       "[-options-]\nApplyStatus=1\nApplyStartType=x\n",
       true,
       std::nullopt,
       {},
       "'x'"},
      {"blanks and key case are ignored",
       "[-options-]\n ApplyStatus = 1 \n[Alerter]\n  startuptype  =  manual  \nDISPLAYNAME=A\n",
       true,
       false,
       {{"-options-", "error", "error", "error"}, {"Alerter", "A", "manual", "error"}},
       nullptr},
      {"a section with no keys",
       "[Empty]\r\n\r\n",
       false,
       false,
       {{"Empty", "error", "error", "error"}},
       nullptr},
      {"-OPTIONS- supplies the options",
       "[-OPTIONS-]\nApplyStartType=1\n",
       false,
       true,
       {{"-OPTIONS-", "error", "error", "error"}},
       nullptr},
      {"lines before the first section and comments",
       "ApplyStatus=1\n; [Fake]\n[Alerter]\n;DisplayName=x\nDisplayName=y\n",
       false,
       false,
       {{"Alerter", "y", "error", "error"}},
       nullptr},
      {"a repeated section",
       "[A]\nDisplayName=1\n[B]\n[a]\nDisplayName=2\nStatus=x\n",
       false,
       false,
       {{"A", "2", "error", "error"},
        {"B", "error", "error", "error"},
        {"a", "2", "error", "error"}},
       nullptr},
      {"a binary file",
       std::string("[A]\nDisplayName=\0\x01\x02", 17),
       std::nullopt,
       std::nullopt,
       {},
       "binary data"},
      {"a huge file",
       std::string(MaxSnapshotFileBytes + 1, 'x'),
       std::nullopt,
       std::nullopt,
       {},
       "too large"},
  };
  TempFolder folder;
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.what);
    const auto file = folder / "case.snapshot";
    TempFolder::writeFile(file, c.text);
    const SnapshotReading reading = ReadSnapshotFile(file);
    EXPECT_EQ(reading.ApplyStatus, c.applyStatus);
    EXPECT_EQ(reading.ApplyStartType, c.applyStartType);
    EXPECT_EQ(reading.Entries, c.entries);
    if (c.error == nullptr) {
      EXPECT_FALSE(reading.error) << *reading.error;
    } else {
      ASSERT_TRUE(reading.error);
      EXPECT_NE(reading.error->find(c.error), std::string::npos) << *reading.error;
    }
  }
}

TEST(SnapshotFile, AMissingFileOrAFolderIsAnError) {
  TempFolder folder;
  for (const auto& path : {folder / "absent.snapshot", std::filesystem::path(folder.path())}) {
    const SnapshotReading reading = ReadSnapshotFile(path);
    ASSERT_TRUE(reading.error) << path;
    EXPECT_FALSE(reading.ApplyStatus);
    EXPECT_TRUE(reading.Entries.empty());
  }
  EXPECT_NE(ReadSnapshotFile(folder / "absent.snapshot").error->find("does not exist"),
            std::string::npos);
}

TEST(SnapshotFile, ProposedNameFollowsTheDate) {
  EXPECT_EQ(ProposedSnapshotName({2005, 3, 7}), "7.Mar.2005.snapshot");
  EXPECT_EQ(ProposedSnapshotName({2026, 12, 31}), "31.Dec.2026.snapshot");
  EXPECT_EQ(ProposedSnapshotName({1999, 1, 1}), "1.Jan.1999.snapshot");
}

}  // namespace
}  // namespace corvane
