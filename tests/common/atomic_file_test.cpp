#include "common/atomic_file.h"

#include <gtest/gtest.h>

#include <string>

#include "support/temp_folder.h"

using corvane::testing::TempFolder;

namespace {

using common::FileError;

class AtomicFile : public ::testing::Test {
 protected:
  TempFolder folder;
};

TEST_F(AtomicFile, ReplacesTheTargetAndLeavesNoTemporaryFile) {
  const auto target = folder / "a.ini";
  common::writeFileAtomically(target, std::string("first\0\xff", 7));
  EXPECT_EQ(TempFolder::readFile(target), std::string("first\0\xff", 7));
  common::writeFileAtomically(target, "second");
  EXPECT_EQ(TempFolder::readFile(target), "second");
  common::writeFileAtomically(target, "");
  EXPECT_EQ(TempFolder::readFile(target), "");
  EXPECT_EQ(folder.entryCount(), 1u);
}

TEST_F(AtomicFile, KeepsThePermissionsOfTheReplacedFile) {
  const auto target = folder / "a.ini";
  TempFolder::writeFile(target, "old");
  using std::filesystem::perms;
  std::filesystem::permissions(target, perms::owner_read | perms::owner_write | perms::group_read);
  common::writeFileAtomically(target, "new");
  EXPECT_EQ(std::filesystem::status(target).permissions(),
            perms::owner_read | perms::owner_write | perms::group_read);
}

TEST_F(AtomicFile, FailureLeavesTheTargetAndTheFolderAsTheyWere) {
  struct Case {
    const char* name;
    std::filesystem::path target;
  };
  const auto existing = folder / "keep.ini";
  TempFolder::writeFile(existing, "old content");
  std::filesystem::create_directory(folder / "folder.ini");
  TempFolder::writeFile(folder / "folder.ini" / "inside", "x");
  const Case cases[] = {
      {"folder missing", folder / "missing" / "a.ini"},
      {"target is a folder", folder / "folder.ini"},
      {"parent is a file", existing / "a.ini"},
  };
  for (const Case& c : cases) {
    try {
      common::writeFileAtomically(c.target, "new content");
      ADD_FAILURE() << c.name << ": no error";
    } catch (const FileError& error) {
      EXPECT_EQ(error.kind(), FileError::Kind::WriteFailed) << c.name;
      EXPECT_EQ(error.path(), c.target) << c.name;
      EXPECT_NE(std::string(error.what()).find(c.target.string()), std::string::npos) << c.name;
    }
  }
  EXPECT_EQ(TempFolder::readFile(existing), "old content");
  EXPECT_TRUE(std::filesystem::is_directory(folder / "folder.ini"));
  EXPECT_EQ(TempFolder::readFile(folder / "folder.ini" / "inside"), "x");
  EXPECT_EQ(folder.entryCount(), 2u);
}

TEST_F(AtomicFile, ReadFileGivesTheBytesOrSaysWhatIsWrong) {
  const auto file = folder / "f.bin";
  const std::string bytes("a\0b\r\n\xfe", 6);
  TempFolder::writeFile(file, bytes);
  EXPECT_EQ(common::readFile(file, 6), bytes);

  struct Case {
    std::filesystem::path path;
    std::uintmax_t limit;
    FileError::Kind kind;
  };
  const Case cases[] = {
      {folder / "none", 100, FileError::Kind::Missing},
      {folder / "none" / "deeper", 100, FileError::Kind::Missing},
      {folder.path(), 100, FileError::Kind::NotRegularFile},
      {file, 5, FileError::Kind::TooLarge},
  };
  for (const Case& c : cases) {
    try {
      common::readFile(c.path, c.limit);
      ADD_FAILURE() << c.path << ": no error";
    } catch (const FileError& error) {
      EXPECT_EQ(error.kind(), c.kind) << c.path;
      EXPECT_NE(std::string(error.what()).find(c.path.string()), std::string::npos);
    }
  }
}

TEST_F(AtomicFile, ReadFileStopsAtTheLimitWhenTheSizeIsNotKnownInAdvance) {
  // A file of the process file system reports the size 0 but has content.
  const std::filesystem::path status = "/proc/self/status";
  if (!std::filesystem::exists(status)) {
    GTEST_SKIP() << "no process file system";
  }
  try {
    common::readFile(status, 16);
    ADD_FAILURE() << "read past the limit";
  } catch (const FileError& error) {
    EXPECT_EQ(error.kind(), FileError::Kind::TooLarge);
  }
  EXPECT_NE(common::readFile(status, 1 << 20).find("Name:"), std::string::npos);
}

}  // namespace
