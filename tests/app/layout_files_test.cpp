// "/layout" writes its monitors' bitmaps and span.bmp as one set: all of this run's files in place, or,
// when any fails, the folder as it was, never a mix with an earlier run's files.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/run_command_line.h"
#include "core/table_record.h"
#include "shared/profile_store.h"
#include "support/same_bitmap.h"
#include "support/temp_folder.h"
#include "win32/files.h"
#include "win32/handles.h"
#include "win32/image.h"
#include "win32/text.h"

namespace qr {
namespace {

class LayoutFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TableModel model;
    model.At(1, 1).text = "予定";
    table_ = folder_.Write("t.qlm", EncodeTableFile(model, 2, 2, {0, 100, 60, 80, 80, 80}));
    ProfileKeyStore(folder_.File("Quelm_Rask.ini")).Write("Section", "G_Kabe", "2");
    out_ = folder_.MakeFolder("out");
  }

  RenderExit Layout(const std::string& monitors, std::string& said) {
    said.clear();
    const RenderRequest request{table_, out_, false, Point{100, 100}, monitors};
    return RunRender(request, folder_.path(), [&](std::string_view text) { said += text; });
  }
  std::optional<std::string> Out(const char* name) const { return win::ReadFileBytes(out_ + "\\" + name); }
  // Names in the folder other than the set's own.
  int Leftovers() const {
    int count = 0;
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW(win::Wide(out_ + "\\*~*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    do ++count;
    while (FindNextFileW(search, &found));
    FindClose(search);
    return count;
  }

  test::TempFolder folder_;
  std::string table_, out_;
};

TEST_F(LayoutFilesTest, ASetReplacesTheWholeEarlierSetOrNothingOfIt) {
  std::string said;
  ASSERT_EQ(Layout("1024x768@0,0;800x600@-800,100;640x480@1024,0", said), RenderExit::Done) << said;
  ASSERT_TRUE(Out("monitor3.bmp"));
  const auto span3 = Out("span.bmp");

  // A run whose second monitor cannot be written: the earlier set stays whole, and nothing of this run.
  const std::string blocked = out_ + "\\monitor2.bmp.new~.tmp~";
  ASSERT_TRUE(CreateDirectoryW(win::Wide(blocked).c_str(), nullptr));
  EXPECT_EQ(Layout("1024x768@0,0;300x200@-300,0", said), RenderExit::OutputFailed);
  EXPECT_EQ(said.find("フォルダーに書き込めません"), std::string::npos) << said;  // the folder is fine
  EXPECT_TRUE(test::SameBitmapBytes(Out("span.bmp"), span3));
  EXPECT_TRUE(Out("monitor3.bmp"));
  ASSERT_TRUE(RemoveDirectoryW(win::Wide(blocked).c_str()));
  EXPECT_EQ(Leftovers(), 0);

  // Two monitors now: the third of the earlier set goes with it.
  ASSERT_EQ(Layout("1024x768@0,0;300x200@-300,0", said), RenderExit::Done) << said;
  EXPECT_FALSE(Out("monitor3.bmp"));
  const auto span = win::LoadImageFile(out_ + "\\span.bmp");
  ASSERT_TRUE(span);
  EXPECT_EQ(span->width, 1324);
  EXPECT_EQ(span->height, 768);
  EXPECT_EQ(span->pixels.Pixel(150, 500), span->pixels.Pixel(1300, 700));  // no monitor: the desktop colour
  EXPECT_EQ(Leftovers(), 0);
}

// A run killed while it wrote leaves its temporaries (a screen's worth of bytes each); the next run there
// removes them, also those of more monitors than it has, and leaves every other file alone.
TEST_F(LayoutFilesTest, TheNextRunRemovesWhatAKilledRunLeft) {
  for (const char* left :
       {"monitor1.bmp.new~", "Monitor7.BMP.new~", "monitor3.bmp.new~.tmp~", "span.bmp.new~"})
    folder_.Write(std::string("out\\") + left, "cut short");
  const std::string mine[] = {folder_.Write("out\\notes.new~", "mine"),
                              folder_.Write("out\\monitor.bmp.new~", "mine"),
                              folder_.Write("out\\monitor1.bmp.old~", "mine")};
  std::string said;
  ASSERT_EQ(Layout("800x600@0,0", said), RenderExit::Done) << said;
  EXPECT_EQ(Leftovers(), 3);
  for (const std::string& file : mine) EXPECT_EQ(win::ReadFileBytes(file), "mine") << file;
}

// A span.bmp another program holds open is named as the cause, not a lack of memory or disk; a folder
// that is not there is said to be missing.
TEST_F(LayoutFilesTest, AFailedRunNamesItsCause) {
  std::string said;
  ASSERT_EQ(Layout("800x600@0,0", said), RenderExit::Done) << said;
  {
    const win::File viewer(CreateFileW(win::Wide(out_ + "\\span.bmp").c_str(), GENERIC_READ, 0, nullptr,
                                       OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(viewer);
    EXPECT_EQ(Layout("800x600@0,0", said), RenderExit::OutputFailed);
    EXPECT_NE(said.find("ほかのプログラムがファイルを開いています: " + out_ + "\\span.bmp"),
              std::string::npos)
        << said;
  }
  out_ = folder_.File("not here");
  EXPECT_EQ(Layout("800x600@0,0", said), RenderExit::OutputFailed);
  EXPECT_NE(said.find("フォルダーがありません: " + out_), std::string::npos) << said;
}

TEST_F(LayoutFilesTest, OneMonitorNamesItsFileOnce) {
  std::string said;
  ASSERT_EQ(Layout("800x600@0,0", said), RenderExit::Done) << said;
  EXPECT_NE(said.find("monitor1.bmp と span.bmp"), std::string::npos) << said;
  EXPECT_EQ(said.find("～"), std::string::npos) << said;
  EXPECT_TRUE(test::SameBitmapBytes(Out("monitor1.bmp"), Out("span.bmp")));  // the same size: headers too
}

}  // namespace
}  // namespace qr
