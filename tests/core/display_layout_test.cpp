// The display layout: monitors given by hand for the command line, their description, and which monitor
// a rectangle belongs to.
#include "core/display_layout.h"

#include <gtest/gtest.h>

namespace qr {
namespace {

TEST(DisplayLayout, AGivenLayoutPutsTheFirstMonitorAtTheOriginAsThePrimary) {
  std::string error;
  auto layout = ParseLayoutSpec("1024x768@0,0;800x600@-800,100", 120, error);
  ASSERT_TRUE(layout) << error;
  ASSERT_EQ(layout->monitors.size(), 2u);
  EXPECT_EQ(layout->monitors[1].rect, (Rect{-800, 100, 800, 600}));
  EXPECT_TRUE(layout->monitors[0].primary);
  EXPECT_FALSE(layout->monitors[1].primary);
  EXPECT_EQ(layout->monitors[1].dpi, 120);
  EXPECT_EQ(layout->VirtualScreen(), (Rect{-800, 0, 1824, 768}));
  EXPECT_EQ(layout->PrimarySize(), (Size{1024, 768}));
  EXPECT_DOUBLE_EQ(layout->TwipsPerPixel(), 12.0);

  // A primary given elsewhere is moved to 0,0 with the others; "×" stands for "x".
  layout = ParseLayoutSpec("1920×1080@100,50;1280x1024@2020,50", 96, error);
  ASSERT_TRUE(layout) << error;
  EXPECT_EQ(layout->monitors[0].rect, (Rect{0, 0, 1920, 1080}));
  EXPECT_EQ(layout->monitors[1].rect, (Rect{1920, 0, 1280, 1024}));
}

TEST(DisplayLayout, MalformedOrImpossibleLayoutsAreRefusedWithAReason) {
  for (const char* bad : {"", "1024x768", "1024x768@0", "1024x768@0,0;", "0x768@0,0", "1024x-5@0,0",
                          "40000x768@0,0", "1024x768@0,0;800x600@100,100", "1024x768@0,0 ", "axb@0,0"}) {
    std::string error;
    EXPECT_FALSE(ParseLayoutSpec(bad, 96, error)) << bad;
    EXPECT_FALSE(error.empty()) << bad;
  }
}

TEST(DisplayLayout, TheBoundsHoldAfterTheMoveWhateverTheOrderOfTheMonitors) {
  std::string error;
  // The same two monitors, written from either one: both give the same virtual screen.
  const auto fromLeft = ParseLayoutSpec("800x600@0,0;800x600@31967,0", 96, error);
  ASSERT_TRUE(fromLeft) << error;
  const auto fromRight = ParseLayoutSpec("800x600@100000,0;800x600@68033,0", 96, error);
  ASSERT_TRUE(fromRight) << error;
  EXPECT_EQ(fromRight->monitors[1].rect, (Rect{-31967, 0, 800, 600}));
  EXPECT_EQ(fromLeft->VirtualScreen().w, kLargestLayoutSide);
  EXPECT_EQ(fromRight->VirtualScreen().w, kLargestLayoutSide);

  // One pixel wider either way is refused, naming the size and the limit, from either end.
  for (const char* tooWide : {"800x600@100000,0;800x600@-100000,0", "800x600@0,0;800x600@-200000,0",
                              "800x600@0,0;800x600@31968,0", "800x600@0,0;800x600@0,-32168",
                              "1920x1080@0,0;1920x1080@40000,40000", "1x1@2147483647,0;1x1@-2147483648,0"}) {
    error.clear();
    EXPECT_FALSE(ParseLayoutSpec(tooWide, 96, error)) << tooWide;
    EXPECT_NE(error.find("32767"), std::string::npos) << error;
    EXPECT_NE(error.find("仮想画面"), std::string::npos) << error;
  }
}

TEST(DisplayLayout, AStraySemicolonIsNamedInsteadOfShowingAnEmptyMonitor) {
  std::string error;
  EXPECT_FALSE(ParseLayoutSpec("1024x768@0,0;", 96, error));
  EXPECT_EQ(error.find("\"\""), std::string::npos) << error;
  EXPECT_NE(error.find("最後"), std::string::npos) << error;
  EXPECT_FALSE(ParseLayoutSpec("1024x768@0,0;;800x600@-800,0", 96, error));
  EXPECT_NE(error.find("2 台目"), std::string::npos) << error;
  EXPECT_FALSE(ParseLayoutSpec("1024x768@0,0;40000x600@-800,0", 96, error));
  EXPECT_NE(error.find("2 台目"), std::string::npos) << error;
}

TEST(DisplayLayout, EachMonitorIsDescribedOnALine) {
  std::string error;
  const auto layout = ParseLayoutSpec("1024x768@0,0;800x600@-800,100", 144, error);
  ASSERT_TRUE(layout);
  EXPECT_EQ(DescribeMonitors(*layout),
            "1: 1024x768 at 0,0, 144 dpi, primary\r\n2: 800x600 at -800,100, 144 dpi\r\n");
  // A layout at the bounds, described and given back, is the same layout.
  const auto wide = ParseLayoutSpec("100x100@500,500;100x100@-32167,-32167", 96, error);
  ASSERT_TRUE(wide) << error;
  EXPECT_EQ(DescribeMonitors(*wide),
            "1: 100x100 at 0,0, 96 dpi, primary\r\n2: 100x100 at -32667,-32667, 96 dpi\r\n");
  EXPECT_EQ(ParseLayoutSpec("100x100@0,0;100x100@-32667,-32667", 96, error), wide);
}

TEST(DisplayLayout, ARectangleBelongsToTheMonitorItOverlapsMostOrElseTheNearest) {
  std::string error;
  const auto layout = ParseLayoutSpec("1024x768@0,0;800x600@-800,100;1280x1024@1024,-300", 96, error);
  ASSERT_TRUE(layout);
  EXPECT_EQ(MonitorOverlapping(*layout, {-100, 200, 150, 50}), 1u);  // 100 of 150 on the left one
  EXPECT_EQ(MonitorOverlapping(*layout, {-50, 200, 150, 50}), 0u);
  EXPECT_EQ(MonitorOverlapping(*layout, {-900, -200, 50, 50}), std::nullopt);
  EXPECT_EQ(NearestMonitor(*layout, {-900, -200, 50, 50}), 1u);
  EXPECT_EQ(NearestMonitor(*layout, {1100, -600, 50, 50}), 2u);  // above the right one
  EXPECT_EQ(NearestMonitor(*layout, {500, 5000, 50, 50}), 0u);

  EXPECT_EQ(KeepInside({-900, 650, 100, 100}, {-800, 100, 800, 600}), (Rect{-800, 600, 100, 100}));
  EXPECT_EQ(KeepInside({10, 10, 2000, 50}, {0, 0, 1024, 768}), (Rect{0, 10, 2000, 50}));  // too wide
}

}  // namespace
}  // namespace qr
