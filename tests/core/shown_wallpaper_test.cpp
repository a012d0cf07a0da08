// Judging whether the desktop shows the program's own wallpaper from sources that may disagree.
#include "core/shown_wallpaper.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

namespace qr {
namespace {

const std::vector<std::string> kInstalled = {"C:\\Quelm_Rask.bmp", "C:\\Quelm_Rask2.bmp"};
const std::string kOurs = "c:\\QUELM_RASK.bmp", kOther = "D:\\holiday.jpg";

// The system's rule for the tests' ASCII paths: letters compared without regard to case.
bool SameText(const std::string& a, const std::string& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

TEST(ShownWallpaper, AtTheFirstLookEverySourceMustNameAnInstalledFile) {
  EXPECT_EQ(JudgeShownWallpaper({}, {kOurs, kOurs, "C:\\Quelm_Rask2.bmp"}, kInstalled, SameText),
            ShownWallpaper::Ours);
  EXPECT_EQ(JudgeShownWallpaper({}, {kOurs, kOther}, kInstalled, SameText), ShownWallpaper::NotOurs);
  EXPECT_EQ(JudgeShownWallpaper({}, {kOther, kOurs}, kInstalled, SameText), ShownWallpaper::NotOurs);
  EXPECT_EQ(JudgeShownWallpaper({}, {kOurs, ""}, kInstalled, SameText), ShownWallpaper::NotOurs);
  EXPECT_EQ(JudgeShownWallpaper({}, {}, kInstalled, SameText), ShownWallpaper::NotOurs);
  EXPECT_EQ(JudgeShownWallpaper({}, {kOurs + "x", kOurs}, kInstalled, SameText), ShownWallpaper::NotOurs);
}

TEST(ShownWallpaper, LaterTheSourcesThatChangedTellWhatWasInstalled) {
  // A call that repeats its first answer, in either direction.
  EXPECT_EQ(JudgeShownWallpaper({kOurs, kOurs}, {kOurs, kOther}, kInstalled, SameText),
            ShownWallpaper::NotOurs);
  EXPECT_EQ(JudgeShownWallpaper({kOther, kOther}, {kOther, kOurs}, kInstalled, SameText),
            ShownWallpaper::Ours);
  // Changed sources that disagree, or one that now names nothing.
  EXPECT_EQ(JudgeShownWallpaper({kOther, kOther}, {kOurs, "E:\\x.bmp"}, kInstalled, SameText),
            ShownWallpaper::NotOurs);
  EXPECT_EQ(JudgeShownWallpaper({kOurs, kOurs}, {kOurs, ""}, kInstalled, SameText), ShownWallpaper::NotOurs);
  EXPECT_EQ(JudgeShownWallpaper({kOther, kOurs}, {kOther, kOurs}, kInstalled, SameText),
            ShownWallpaper::Unchanged);
  // A monitor added since: every source counts again.
  EXPECT_EQ(JudgeShownWallpaper({kOther, kOurs}, {kOther, kOurs, kOurs}, kInstalled, SameText),
            ShownWallpaper::NotOurs);
}

}  // namespace
}  // namespace qr
