#include "lorvin/lorvin_marker.h"

#include <gtest/gtest.h>

#include "common/atomic_file.h"
#include "support/temp_folder.h"

namespace lorvin {
namespace {

using corvane::testing::TempFolder;

TEST(LorvinMarker, StartWritesAnEmptyFileReplacingAnyOther) {
  TempFolder folder;
  const std::string flag = folder.write("browse.flag", "left over");
  MarkerWatch marker(flag);
  ASSERT_TRUE(marker.Start());
  EXPECT_EQ(common::readFile(flag, 100), "");
  EXPECT_FALSE(marker.MarkerGone());
}

TEST(LorvinMarker, TheTimerClosesOnceTheFileIsGone) {
  TempFolder folder;
  MarkerWatch marker(folder.path("browse.flag"));
  ASSERT_TRUE(marker.Start());
  EXPECT_FALSE(OnTimerTick(false, marker).closeWindow);
  std::filesystem::remove(marker.path());
  const TimerTick tick = OnTimerTick(false, marker);
  EXPECT_TRUE(tick.closeWindow);
  EXPECT_FALSE(tick.stopEnabled);
}

TEST(LorvinMarker, StopFollowsTheBrowsersBusyState) {
  TempFolder folder;
  MarkerWatch marker(folder.path("browse.flag"));
  ASSERT_TRUE(marker.Start());
  EXPECT_TRUE(OnTimerTick(true, marker).stopEnabled);
  EXPECT_FALSE(OnTimerTick(false, marker).stopEnabled);
}

TEST(LorvinMarker, AMarkerThatCannotBeWrittenNeverClosesTheWindow) {
  TempFolder folder;
  MarkerWatch marker(folder.path("no such folder/browse.flag"));
  EXPECT_FALSE(marker.Start());
  EXPECT_FALSE(OnTimerTick(false, marker).closeWindow);
}

TEST(LorvinMarker, AnotherLorvinsStartKeepsTheWatchGoing) {
  TempFolder folder;
  MarkerWatch first(folder.path("browse.flag"));
  MarkerWatch second(folder.path("browse.flag"));
  ASSERT_TRUE(first.Start());
  std::filesystem::remove(first.path());
  ASSERT_TRUE(second.Start());
  EXPECT_FALSE(first.MarkerGone());
  std::filesystem::remove(first.path());
  EXPECT_TRUE(first.MarkerGone());
  EXPECT_TRUE(second.MarkerGone());
}

}  // namespace
}  // namespace lorvin
