// Judging whether the desktop shows the program's own wallpaper from sources that may disagree.
#include "core/shown_wallpaper.h"

#include <gtest/gtest.h>

namespace qr {
namespace {

const std::vector<std::string> kInstalled = {"C:\\Quelm_Rask.bmp", "C:\\Quelm_Rask2.bmp"};
const std::string kOurs = "c:\\QUELM_RASK.bmp", kOther = "D:\\holiday.jpg";

TEST(ShownWallpaper, AtTheFirstLookEverySourceMustNameAnInstalledFile) {
  EXPECT_EQ(JudgeShownWallpaper({}, {kOurs, kOurs, "C:\\Quelm_Rask2.bmp"}, kInstalled), ShownWallpaper::Ours);
  EXPECT_EQ(JudgeShownWallpaper({}, {kOurs, kOther}, kInstalled), ShownWallpaper::NotOurs);
  EXPECT_EQ(JudgeShownWallpaper({}, {kOther, kOurs}, kInstalled), ShownWallpaper::NotOurs);
  EXPECT_EQ(JudgeShownWallpaper({}, {kOurs, ""}, kInstalled), ShownWallpaper::NotOurs);
  EXPECT_EQ(JudgeShownWallpaper({}, {}, kInstalled), ShownWallpaper::NotOurs);
  EXPECT_EQ(JudgeShownWallpaper({}, {kOurs + "x", kOurs}, kInstalled), ShownWallpaper::NotOurs);
}

TEST(ShownWallpaper, LaterTheSourcesThatChangedTellWhatWasInstalled) {
  // A call that repeats its first answer, in either direction.
  EXPECT_EQ(JudgeShownWallpaper({kOurs, kOurs}, {kOurs, kOther}, kInstalled), ShownWallpaper::NotOurs);
  EXPECT_EQ(JudgeShownWallpaper({kOther, kOther}, {kOther, kOurs}, kInstalled), ShownWallpaper::Ours);
  // Changed sources that disagree, or one that now names nothing.
  EXPECT_EQ(JudgeShownWallpaper({kOther, kOther}, {kOurs, "E:\\x.bmp"}, kInstalled), ShownWallpaper::NotOurs);
  EXPECT_EQ(JudgeShownWallpaper({kOurs, kOurs}, {kOurs, ""}, kInstalled), ShownWallpaper::NotOurs);
  EXPECT_EQ(JudgeShownWallpaper({kOther, kOurs}, {kOther, kOurs}, kInstalled), ShownWallpaper::Unchanged);
  // A monitor added since: every source counts again.
  EXPECT_EQ(JudgeShownWallpaper({kOther, kOurs}, {kOther, kOurs, kOurs}, kInstalled),
            ShownWallpaper::NotOurs);
}

}  // namespace
}  // namespace qr
