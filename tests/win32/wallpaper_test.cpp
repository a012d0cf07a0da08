#include "win32/wallpaper.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "support/temp_folder.h"
#include "win32/bitmap_file.h"
#include "win32/image_test_pictures.h"
#include "win32/text.h"
#include "win32/wallpaper_test_settings.h"

namespace qr::win {
namespace {

using Style = CurrentWallpaper::Style;

std::wstring Upper(const std::string& text) {
  std::wstring wide = Wide(text);
  CharUpperW(wide.data());
  return wide;
}

// Installs test wallpapers; the user's settings come back afterwards.
class WallpaperTest : public ::testing::Test {
 protected:
  void SetUp() override {
    picture_ = folder_.File("wall.bmp");
    ASSERT_TRUE(WriteBitmapFile(test::QuadrantPicture(64, 48), picture_));
  }

  test::WallpaperSettingsGuard settings_;
  test::TempFolder folder_;
  std::string picture_;
};

TEST_F(WallpaperTest, SettingTheWallpaperChangesWhatTheSystemReports) {
  ASSERT_TRUE(SetDesktopWallpaper(picture_));
  const auto current = GetCurrentWallpaper();
  ASSERT_TRUE(current);
  EXPECT_EQ(Upper(current->path), Upper(picture_));

  wchar_t reported[MAX_PATH + 1] = {};
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, reported, 0));
  EXPECT_EQ(Utf8(reported), current->path);

  ASSERT_TRUE(SetDesktopWallpaper(""));
  EXPECT_FALSE(GetCurrentWallpaper());
}

TEST_F(WallpaperTest, TheProfileValueIsReportedBesideTheSystemCall) {
  ASSERT_TRUE(SetDesktopWallpaper(picture_));
  WallpaperReports reports = ReportedWallpapers();
  ASSERT_GE(reports.size(), 2u);
  EXPECT_EQ(Upper(reports[0]), Upper(picture_));
  EXPECT_EQ(Upper(reports[1]), Upper(picture_));

  // Another process records its picture; this one's call may still give the old answer, the value not.
  const std::wstring other = Wide(folder_.File("other.bmp"));
  ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"Wallpaper", REG_SZ, other.c_str(),
                            static_cast<DWORD>((other.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
  reports = ReportedWallpapers();
  EXPECT_EQ(Wide(reports[1]), other);
}

TEST_F(WallpaperTest, ReportsTheStyleRecordedInTheUserSettings) {
  ASSERT_TRUE(SetDesktopWallpaper(picture_));
  const struct {
    const wchar_t* style;
    const wchar_t* tile;
    Style expected;
  } cases[] = {{L"0", L"0", Style::Centre}, {L"0", L"1", Style::Tile},  {L"2", L"0", Style::Stretch},
               {L"6", L"0", Style::Fit},    {L"10", L"0", Style::Fill}, {L"22", L"0", Style::Fill}};
  for (const auto& c : cases) {
    test::WallpaperSettingsGuard::SetStyle(c.style, c.tile);
    const auto current = GetCurrentWallpaper();
    ASSERT_TRUE(current);
    EXPECT_EQ(current->style, c.expected) << Utf8(c.style) << "/" << Utf8(c.tile);
  }
}

TEST(WallpaperStyleFromSettings, TreatsMissingAndUnknownValuesAsCentred) {
  EXPECT_EQ(WallpaperStyleFromSettings("", ""), Style::Centre);
  EXPECT_EQ(WallpaperStyleFromSettings("", "1"), Style::Tile);
  EXPECT_EQ(WallpaperStyleFromSettings("7", "1"), Style::Centre);
  EXPECT_EQ(WallpaperStyleFromSettings("abc", "0"), Style::Centre);
  EXPECT_EQ(WallpaperStyleFromSettings(" 2", "1"), Style::Stretch);
}

}  // namespace
}  // namespace qr::win
