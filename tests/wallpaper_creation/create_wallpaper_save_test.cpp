// The create command's "はい": the wallpaper saved under a name the user types, and every way that save or
// the fixed bitmap can fail without losing the user's files.
#include "create_wallpaper_fixture.h"

namespace qr {
namespace {

using namespace test;  // the fixture and its pixel helpers

TEST_F(CreateWallpaperTest, YesSavesUnderATypedNameWithoutExtensionAndListsItOnce) {
  const std::string saved = folder.File("saved\\my wallpaper.bmp");
  for (int run = 1; run <= 2; ++run) {
    SCOPED_TRACE(run);
    OpenEditor();
    state.Trans = run - 1;
    test::DialogDriver driver;
    driver.Press(IDYES);
    driver.Do([&](HWND dialog) {
      // The save dialog opens in the remembered folder with "*.bmp" in the name box.
      wchar_t folderPath[MAX_PATH] = {};
      SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folderPath));
      EXPECT_EQ(win::Utf8(folderPath), folder.File("saved"));
      wchar_t name[MAX_PATH] = {};
      GetDlgItemTextW(dialog, cmb13, name, MAX_PATH);
      EXPECT_EQ(std::wstring(name), L"*.bmp");
      SetDlgItemTextW(dialog, cmb13, win::Wide(folder.File("saved\\my wallpaper")).c_str());
      PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    });
    if (run == 2) driver.Press(IDYES);  // the dialog asks before replacing the first run's file
    PressCreate();
    ASSERT_TRUE(driver.WaitUntilDone());

    ASSERT_GE(driver.Seen().size(), 2u);
    EXPECT_EQ(driver.Seen()[1].title, "壁紙に名前を付けて保存");
    EXPECT_FALSE(EditorOpen());
    EXPECT_EQ(Wallpaper(), saved);
    EXPECT_FALSE(win::ReadFileBytes(WallpaperBitmapPath()));  // moved, not copied
    EXPECT_TRUE(Load(saved).ok());
    EXPECT_EQ(list->Entries(), std::vector<std::string>{saved});
    EXPECT_EQ(state.Get_Kabe_Path, folder.File("saved"));
  }
}

TEST_F(CreateWallpaperTest, UpperAndMixedCaseBmpNamesAreAcceptedAndTheFolderRemembered) {
  const std::string elsewhere = folder.MakeFolder("other");
  OpenEditor();
  test::DialogDriver driver;
  driver.Press(IDYES).TypeFileNameAndOk(elsewhere + "\\Upper.BmP");
  PressCreate();
  ASSERT_TRUE(driver.WaitUntilDone());
  EXPECT_FALSE(EditorOpen());
  EXPECT_EQ(Wallpaper(), elsewhere + "\\Upper.BmP");
  EXPECT_EQ(state.Get_Kabe_Path, elsewhere);
  EXPECT_EQ(list->Entries(), std::vector<std::string>{elsewhere + "\\Upper.BmP"});
}

TEST_F(CreateWallpaperTest, AJpgNameIsRefusedAndTheEditorStaysOpen) {
  OpenEditor();
  const std::string remembered = state.Get_Kabe_Path;
  test::DialogDriver driver;
  driver.Press(IDYES).TypeFileNameAndOk(folder.File("saved\\photo.jpg")).Press(IDOK);
  PressCreate();
  ASSERT_TRUE(driver.WaitUntilDone());

  ASSERT_EQ(driver.Seen().size(), 3u);
  EXPECT_EQ(driver.Seen()[2].text, "保存ﾌｧｲﾙの拡張子が違います！");
  EXPECT_EQ(driver.Seen()[2].buttons, std::vector<int>{IDOK});
  EXPECT_EQ(driver.Seen()[2].icon, LoadIconW(nullptr, IDI_EXCLAMATION));
  EXPECT_TRUE(EditorOpen());
  EXPECT_EQ(Wallpaper(), std::nullopt);
  EXPECT_TRUE(win::ReadFileBytes(WallpaperBitmapPath()));  // the built bitmap stays
  EXPECT_FALSE(win::ReadFileBytes(folder.File("saved\\photo.jpg")));
  EXPECT_TRUE(list->Entries().empty());
  EXPECT_EQ(state.Get_Kabe_Path, remembered);
}

TEST_F(CreateWallpaperTest, ACancelledDialogKeepsTheEditorOpenAndInstallsNothing) {
  OpenEditor();
  test::DialogDriver driver;
  driver.Press(IDYES).Press(IDCANCEL);
  PressCreate();
  ASSERT_TRUE(driver.WaitUntilDone());
  EXPECT_EQ(driver.Seen().size(), 2u);
  EXPECT_TRUE(EditorOpen());
  EXPECT_EQ(Wallpaper(), std::nullopt);
  EXPECT_TRUE(win::ReadFileBytes(WallpaperBitmapPath()));
  EXPECT_TRUE(list->Entries().empty());

  // Pressing again builds anew and may finish.
  test::DialogDriver again;
  again.Press(IDNO);
  PressCreate();
  ASSERT_TRUE(again.WaitUntilDone());
  EXPECT_FALSE(EditorOpen());
  EXPECT_EQ(Wallpaper(), WallpaperBitmapPath());
}

TEST_F(CreateWallpaperTest, ChoosingTheBuiltBitmapsOwnNameKeepsIt) {
  OpenEditor();
  test::DialogDriver driver;
  driver.Press(IDYES).TypeFileNameAndOk(WallpaperBitmapPath()).Press(IDYES);  // replace? yes
  PressCreate();
  ASSERT_TRUE(driver.WaitUntilDone());
  EXPECT_FALSE(EditorOpen());
  EXPECT_EQ(Wallpaper(), WallpaperBitmapPath());
  EXPECT_TRUE(Load(WallpaperBitmapPath()).ok());
  EXPECT_EQ(list->Entries(), std::vector<std::string>{WallpaperBitmapPath()});
}

TEST_F(CreateWallpaperTest, AFailedMoveKeepsTheOldFileAndTheEditorAndInstallsNothing) {
  const std::string target = folder.Write("saved\\in use.bmp", "the user's old file");
  // Held open by someone else, without sharing: the file cannot be replaced.
  win::File held(CreateFileW(win::Wide(target).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(held);
  OpenEditor();
  test::DialogDriver driver;
  driver.Press(IDYES).TypeFileNameAndOk(target).Press(IDYES).Press(IDOK);
  PressCreate();
  ASSERT_TRUE(driver.WaitUntilDone());
  held.Reset();

  ASSERT_EQ(driver.Seen().size(), 4u);
  EXPECT_EQ(driver.Seen()[3].text, "壁紙ﾌｧｲﾙを保存できませんでした！");
  EXPECT_EQ(driver.Seen()[3].icon, LoadIconW(nullptr, IDI_EXCLAMATION));
  EXPECT_TRUE(EditorOpen());
  EXPECT_EQ(Wallpaper(), std::nullopt);
  EXPECT_EQ(win::ReadFileBytes(target), "the user's old file");
  EXPECT_TRUE(win::ReadFileBytes(WallpaperBitmapPath()));  // the built bitmap is still there
  EXPECT_TRUE(list->Entries().empty());
}

TEST_F(CreateWallpaperTest, WhenNoBitmapCanBeWrittenItSaysSoAndInstallsNothing) {
  const std::string blocker = folder.Write("blocker", "a file where a folder would have to be");
  OverrideFixedFileFolders(FixedFileFolders{folder.File("missing"), blocker + "\\Quelm_Rask"});
  for (int16_t trans : {0, 1}) {
    SCOPED_TRACE(trans);
    OpenEditor();
    state.Trans = trans;
    test::DialogDriver driver;
    driver.Press(IDOK);
    PressCreate();
    ASSERT_TRUE(driver.WaitUntilDone());
    ASSERT_EQ(driver.Seen().size(), 1u);
    EXPECT_EQ(driver.Seen()[0].text, "壁紙ﾌｧｲﾙを作成できませんでした！");
    EXPECT_EQ(driver.Seen()[0].icon, LoadIconW(nullptr, IDI_EXCLAMATION));
    EXPECT_TRUE(EditorOpen());
    EXPECT_EQ(Wallpaper(), std::nullopt);
    editor->Unload();
  }
}

TEST_F(CreateWallpaperTest, AWallpaperThatCannotBeRememberedIsInstalledAndSaidSo) {
  const std::string beside = LastWallpaperPath() + ".tmp~";  // the snapshot's write stops here
  ASSERT_TRUE(CreateDirectoryW(win::Wide(beside).c_str(), nullptr));
  OpenEditor();
  test::DialogDriver driver;
  driver.Press(IDNO).Press(IDOK);
  PressCreate();
  ASSERT_TRUE(driver.WaitUntilDone());
  ASSERT_EQ(driver.Seen().size(), 2u);
  EXPECT_EQ(driver.Seen()[1].text, kWallpaperNotRemembered + LastWallpaperPath());
  EXPECT_EQ(driver.Seen()[1].icon, LoadIconW(nullptr, IDI_EXCLAMATION));
  EXPECT_FALSE(EditorOpen());
  EXPECT_EQ(Wallpaper(), WallpaperBitmapPath());
  EXPECT_FALSE(LoadLastWallpaper());
  RemoveDirectoryW(win::Wide(beside).c_str());
}

TEST_F(CreateWallpaperTest, UnwritableRootUsesTheFallbackFolderForWritingAndInstalling) {
  const std::string fallback = folder.File("appdata\\Quelm_Rask");
  OverrideFixedFileFolders(FixedFileFolders{folder.File("unwritable root"), fallback});
  OpenEditor();
  test::DialogDriver driver;
  driver.Press(IDNO);
  PressCreate();
  ASSERT_TRUE(driver.WaitUntilDone());
  EXPECT_FALSE(EditorOpen());
  EXPECT_EQ(Wallpaper(), fallback + "\\Quelm_Rask.bmp");
  EXPECT_TRUE(Load(fallback + "\\Quelm_Rask.bmp").ok());
}

// Writing the built bitmap, and moving it to the name the user gave, fail in every way without harm:
// the previous file stays byte for byte, nothing is left beside it, the user gets the message of that
// failure and no wallpaper is installed.
class CreateWallpaperFaults : public CreateWallpaperTest,
                              public ::testing::WithParamInterface<test::WriteFault> {};

TEST_P(CreateWallpaperFaults, FixedBitmapThatCannotBeWrittenKeepsThePreviousOne) {
  test::FaultScene scene(GetParam());
  if (scene.Skipped()) GTEST_SKIP() << scene.SkipReason();
  const std::string blocker = folder.Write("blocker", "a file where the fallback folder would have to be");
  OverrideFixedFileFolders(FixedFileFolders{scene.Folder(), blocker + "\\Quelm_Rask"});
  const std::string previous = scene.Put("Quelm_Rask.bmp", "the previous wallpaper");
  const std::vector<std::string> before = scene.Files();
  ASSERT_TRUE(scene.Arm(previous));
  OpenEditor();
  test::DialogDriver driver;
  driver.Press(IDOK);
  PressCreate();
  ASSERT_TRUE(driver.WaitUntilDone());
  scene.Disarm();
  ASSERT_EQ(driver.Seen().size(), 1u);
  EXPECT_EQ(driver.Seen()[0].text, kBitmapNotWritten);
  EXPECT_TRUE(EditorOpen());
  EXPECT_EQ(Wallpaper(), std::nullopt);
  EXPECT_EQ(scene.Files(), before);
  if (GetParam() != test::WriteFault::FolderMissing) {
    EXPECT_EQ(win::ReadFileBytes(previous), "the previous wallpaper");
  }
}

INSTANTIATE_TEST_SUITE_P(Faults, CreateWallpaperFaults, test::kAllWriteFaults, test::WriteFaultName);

// The save dialog offers only existing folders: the named copy's faults without the missing folder (the
// move's own test covers that).
class NamedCopyFaults : public CreateWallpaperFaults {};

TEST_P(NamedCopyFaults, NamedCopyThatCannotBeSavedKeepsTheUsersOldFile) {
  test::FaultScene scene(GetParam());
  if (scene.Skipped()) GTEST_SKIP() << scene.SkipReason();
  const std::string target = scene.Put("mine.bmp", "the user's old file");
  const std::vector<std::string> before = scene.Files();
  ASSERT_TRUE(scene.Arm(target));
  OpenEditor();
  test::DialogDriver driver;
  driver.Press(IDYES).TypeFileNameAndOk(target).Press(IDYES).Press(IDOK);
  PressCreate();
  ASSERT_TRUE(driver.WaitUntilDone());
  scene.Disarm();
  ASSERT_EQ(driver.Seen().size(), 4u);
  EXPECT_EQ(driver.Seen()[3].text, kBitmapNotSaved);
  EXPECT_TRUE(EditorOpen());
  EXPECT_EQ(Wallpaper(), std::nullopt);
  EXPECT_EQ(win::ReadFileBytes(target), "the user's old file");
  EXPECT_EQ(scene.Files(), before);
  EXPECT_TRUE(win::ReadFileBytes(WallpaperBitmapPath()));  // the built bitmap is still there
  EXPECT_TRUE(list->Entries().empty());
}

INSTANTIATE_TEST_SUITE_P(Faults, NamedCopyFaults,
                         ::testing::Values(test::WriteFault::ReadOnly, test::WriteFault::Locked,
                                           test::WriteFault::DiskFull),
                         test::WriteFaultName);

}  // namespace
}  // namespace qr
