#include "win32/file_dialog.h"

#include <dlgs.h>
#include <gtest/gtest.h>

#include "support/dialog_driver.h"
#include "support/temp_folder.h"
#include "win32/text.h"

namespace qr::win {
namespace {

FileDialogSpec OpenSpec(const std::string& folder) {
  FileDialogSpec request;
  request.filterName = "壁紙ﾌｧｲﾙ (bmp jpg)";
  request.filterPattern = "*.bmp;*.jpg";
  request.title = "ﾌｧｲﾙの参照";
  request.initialFolder = folder;
  return request;
}

FileDialogSpec SaveSpec(const std::string& folder) {
  FileDialogSpec request;
  request.filterName = "壁紙ﾌｧｲﾙ (bmp)";
  request.filterPattern = "*.bmp";
  request.initialName = "*.bmp";
  request.title = "壁紙に名前を付けて保存";
  request.flags = kSaveDialogFlags;
  request.defaultExtension = "bmp";
  request.initialFolder = folder;
  return request;
}

TEST(OpenDialog, ReturnsTheTypedPathAndShowsItsTitle) {
  test::TempFolder folder;
  const std::string picture = folder.Write("海.jpg", "x");
  test::DialogDriver driver;
  driver.TypeFileNameAndOk(picture);
  EXPECT_EQ(ShowOpenDialog(OpenSpec(folder.path())), picture);
  ASSERT_EQ(driver.Seen().size(), 1u);
  EXPECT_EQ(driver.Seen()[0].title, "ﾌｧｲﾙの参照");
}

TEST(OpenDialog, NameTypedWithoutFolderIsInTheInitialFolderAndNeedNotExist) {
  test::TempFolder folder;
  test::DialogDriver driver;
  driver.TypeFileNameAndOk("存在しない.bmp");
  EXPECT_EQ(ShowOpenDialog(OpenSpec(folder.path())), folder.File("存在しない.bmp"));
}

TEST(OpenDialog, CancelGivesNothing) {
  test::TempFolder folder;
  test::DialogDriver driver;
  driver.Press(IDCANCEL);
  EXPECT_EQ(ShowOpenDialog(OpenSpec(folder.path())), std::nullopt);
  EXPECT_EQ(driver.Pending(), 0u);
}

TEST(SaveDialog, StartsWithTheInitialNameAndAppendsTheDefaultExtension) {
  test::TempFolder folder;
  std::string shownName;
  test::DialogDriver driver;
  driver.Do([&](HWND dialog) {
    shownName = test::ControlText(dialog, cmb13);
    test::ClickButton(dialog, IDCANCEL);
  });
  EXPECT_EQ(ShowSaveDialog(SaveSpec(folder.path())), std::nullopt);
  EXPECT_EQ(shownName, "*.bmp");

  driver.TypeFileNameAndOk(folder.File("名前"));
  EXPECT_EQ(ShowSaveDialog(SaveSpec(folder.path())), folder.File("名前.bmp"));
  EXPECT_EQ(driver.Seen().back().title, "壁紙に名前を付けて保存");
}

TEST(SaveDialog, ExistingFileIsReplacedOnlyWhenTheUserConfirms) {
  test::TempFolder folder;
  const std::string existing = folder.Write("old.bmp", "x");
  test::DialogDriver driver;
  driver.TypeFileNameAndOk(existing).Press(IDYES);
  EXPECT_EQ(ShowSaveDialog(SaveSpec(folder.path())), existing);
  ASSERT_EQ(driver.Seen().size(), 2u);
  EXPECT_EQ(driver.Seen()[1].buttons, (std::vector<int>{IDYES, IDNO}));

  // No returns to the save dialog, which is then cancelled.
  driver.TypeFileNameAndOk(existing).Press(IDNO).Press(IDCANCEL);
  EXPECT_EQ(ShowSaveDialog(SaveSpec(folder.path())), std::nullopt);
  EXPECT_EQ(driver.Seen().size(), 5u);
}

TEST(SaveDialog, FlagsAreTheDocumentedValue) { EXPECT_EQ(kSaveDialogFlags, 0x406u); }

TEST(SaveDialog, WithoutFlagsNothingIsAsked) {
  test::TempFolder folder;
  const std::string existing = folder.Write("old.qlm", "x");
  FileDialogSpec request = SaveSpec(folder.path());
  request.flags = 0;
  test::DialogDriver driver;
  driver.TypeFileNameAndOk(existing);
  EXPECT_EQ(ShowSaveDialog(request), existing);
  EXPECT_EQ(driver.Seen().size(), 1u);
}

}  // namespace
}  // namespace qr::win
