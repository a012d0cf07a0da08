// The remembered last wallpaper: its file keeps every detail of the job, a damaged file is refused, and a
// new display puts the table at the same place on its monitor.
#include "core/last_wallpaper.h"

#include <gtest/gtest.h>

namespace qr {
namespace {

DisplayLayout Docked() {
  DisplayLayout layout = SingleMonitorLayout({1920, 1080}, 120);
  layout.monitors[0].deviceId = "\\\\.\\DISPLAY1";
  layout.monitors.push_back({{-1280, 56, 1280, 1024}, 96, false, "\\\\.\\DISPLAY2"});
  return layout;
}

LastWallpaper Sample() {
  TableModel model;
  model.At(1, 1).text = "予定\t表\\n";  // a tab and a backslash, escaped in the file
  model.At(1, 2).text = "Ünïcödé 😀";
  model.At(2, 1).font = {"ＭＳ Ｐゴシック", 10.5, true, false};
  model.At(2, 2).foreColor = 0x80000008;
  WallpaperJob job;
  job.display = Docked();
  job.background = {BackgroundKind::ImageFile, "D:\\写真\\Ω 海.jpg", Placement::FullScreen, 0x445566, {}};
  job.table = JobTableFrom(model, 2, 2, {0, 100, 60, 80, 80, 80});
  job.tableAt = {-1180, 256};
  job.transparent = true;
  job.textEffect = TextEffect::Outline;
  job.panelAlpha = 75;
  job.dpi = 96;
  LastWallpaper last = LastWallpaperOf(job, {"C:\\Quelm_Rask.bmp", "C:\\Quelm_Rask2.bmp"}, 133);
  last.installedStamps = {{6220854, 133400000000000000}, {0, UINT64_MAX}};
  return last;
}

TEST(LastWallpaper, TheFileKeepsEveryDetailOfTheJob) {
  const LastWallpaper last = Sample();
  EXPECT_EQ(last.monitor, 1u);
  EXPECT_EQ(last.offset, (Point{100, 200}));
  EXPECT_EQ(last.background.desktopColour, 0u);  // the system's at each rendering
  const auto decoded = DecodeLastWallpaper(EncodeLastWallpaper(last));
  ASSERT_TRUE(decoded);
  EXPECT_EQ(*decoded, last);
  EXPECT_DOUBLE_EQ(decoded->table.At(2, 1)->font.size, 10.5);
}

TEST(LastWallpaper, ADamagedFileIsRefused) {
  const std::string good = EncodeLastWallpaper(Sample());
  // Cut anywhere: every shorter prefix is refused.
  for (size_t length = 0; length < good.size(); ++length)
    ASSERT_FALSE(DecodeLastWallpaper(good.substr(0, length))) << length;
  auto replaced = [&](const std::string& from, const std::string& to) {
    std::string text = good;
    text.replace(text.find(from), from.size(), to);
    return text;
  };
  for (const std::string& bad :
       {replaced("table\t2\t2", "table\t35\t2"), replaced("table\t2\t2", "table\t2\t6"),
        replaced("\t100\t60", "\t401\t60"), replaced("dpi\t96", "dpi\t0"), replaced("place\t1", "place\t7"),
        replaced("made\t133", "made\t-1"), replaced("made\t133\r\n", "made\t133\r\nmade\t1\r\n"),
        replaced("transparent\t1", "transparent\t2"), replaced("Quelm_Rask last wallpaper 1", "Quelm_Rask 2"),
        replaced("写真", "\xff\xfe"), replaced("写真", "\\q"), replaced("cell\t1\t1", "cell\t3\t1"),
        replaced("end", "end\r\ncell\t1\t1\t0\t0\t9\t0\t0\tx\ty"), replaced("\r\n", "\n"),
        replaced("background", "foreground"), replaced("effect\t1\t75", "effect\t4\t75"),
        replaced("effect\t1\t75", "effect\t1\t60"), replaced("effect\t1\t75", "effect\t1")})
    EXPECT_FALSE(DecodeLastWallpaper(bad)) << bad.substr(0, 120);
  EXPECT_FALSE(DecodeLastWallpaper(std::string(kMaxLastWallpaperBytes + 1, 'x')));
}

TEST(LastWallpaper, OnTheSameDisplayTheTableIsExactlyWhereItWas) {
  const LastWallpaper last = Sample();
  EXPECT_EQ(RefreshedTablePlace(last, Docked()), (TablePlace{{-1180, 256}, 96}));
  const WallpaperJob job = JobFromLastWallpaper(last, Docked(), 0x445566);
  EXPECT_EQ(job.tableAt, (Point{-1180, 256}));
  EXPECT_EQ(job.dpi, 96);
  EXPECT_EQ(job.background.file, last.background.file);
  EXPECT_EQ(job.background.desktopColour, 0x445566u);
  EXPECT_EQ(job.table, last.table);
  EXPECT_TRUE(job.transparent);
  EXPECT_EQ(job.textEffect, TextEffect::Outline);  // /refresh and /watch keep the text effect
  EXPECT_EQ(job.panelAlpha, 75);
}

TEST(LastWallpaper, ASnapshotFromBeforeTextEffectsOrStampsReadsAsNone) {
  std::string older = EncodeLastWallpaper(Sample());
  older.erase(older.find("effect\t"), std::string("effect\t1\t75\r\n").size());
  for (size_t at; (at = older.find("installed_stamp\t")) != std::string::npos;)
    older.erase(at, older.find('\n', at) + 1 - at);
  const auto decoded = DecodeLastWallpaper(older);
  ASSERT_TRUE(decoded);
  EXPECT_TRUE(decoded->installedStamps.empty());
  EXPECT_EQ(decoded->textEffect, TextEffect::None);
  EXPECT_EQ(JobFromLastWallpaper(*decoded, Docked(), 0).textEffect, TextEffect::None);
}

TEST(LastWallpaper, ANewDisplayKeepsThePlaceOnTheMonitorOrMovesItInside) {
  const LastWallpaper last = Sample();
  // The second monitor moved to the right and scaled: same offset from its corner, its scale.
  DisplayLayout moved = Docked();
  moved.monitors[1].rect = {1920, 0, 1280, 1024};
  moved.monitors[1].dpi = 144;
  EXPECT_EQ(RefreshedTablePlace(last, moved), (TablePlace{{2020, 200}, 144}));
  // A smaller second monitor: moved inside it.
  moved.monitors[1].rect = {1920, 0, 300, 150};
  const TablePlace inside = RefreshedTablePlace(last, moved);
  EXPECT_EQ(inside.corner.x + TableOuterSize(last.table, 144).w, 2220);
  EXPECT_EQ(inside.corner.y + TableOuterSize(last.table, 144).h, 150);
  // Rendered since for another display, the place still counts from the display it was made for.
  LastWallpaper refreshed = last;
  refreshed.renderedFor = SingleMonitorLayout({800, 600});
  EXPECT_EQ(RefreshedTablePlace(refreshed, Docked()), (TablePlace{{-1180, 256}, 96}));
  EXPECT_EQ(DecodeLastWallpaper(EncodeLastWallpaper(refreshed)), refreshed);
  // Undocked: onto the primary, at the same offset.
  DisplayLayout laptop = SingleMonitorLayout({1366, 768}, 120);
  laptop.monitors[0].deviceId = "\\\\.\\DISPLAY1";
  EXPECT_EQ(RefreshedTablePlace(last, laptop), (TablePlace{{100, 200}, 120}));
  // Opaque, at the monitor's corner: moved so that the cells' sunken edges stay on the monitor.
  LastWallpaper opaque = last;
  opaque.transparent = false;
  opaque.offset = {0, 1};
  EXPECT_EQ(RefreshedTablePlace(opaque, laptop), (TablePlace{{2, 2}, 120}));
}

}  // namespace
}  // namespace qr
