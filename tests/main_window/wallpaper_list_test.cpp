// The wallpaper list: its file, shell drops, the selection rule and the list commands 3 to 7.
#include <windows.h>
// after windows.h
#include <gtest/gtest.h>
#include <shlobj.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "core/list_file.h"
#include "core/picture_types.h"
#include "main_window/dispatch_test_host.h"
#include "shared/helpers.h"
#include "shared/record_paths.h"
#include "support/dialog_driver.h"
#include "support/temp_folder.h"
#include "support/write_faults.h"
#include "win32/bitmap_file.h"
#include "win32/files.h"
#include "win32/image.h"
#include "win32/text.h"

namespace qr {
namespace {

using test::ClickEntry;
using test::DropOn;
using test::MainHost;
using test::TempFolder;

std::string Blanks(size_t n) { return std::string(n, ' '); }

std::string Record(const std::string& cp932) { return cp932 + Blanks(kListRecordSize - cp932.size()); }

std::string ReadList(const MainHost& host) {
  return win::ReadFileBytes(host.list.ListFilePath()).value_or("<none>");
}

TEST(WallpaperListFile, SaveWritesOneBlankFilledShiftJisRecordPerEntryInListOrder) {
  TempFolder folder;
  MainHost host(folder.path());
  host.list.Load_List();
  ASSERT_TRUE(host.list.Add_If_Absent("C:\\a.bmp"));
  ASSERT_TRUE(host.list.Add_If_Absent("D:\\壁紙.jpg"));
  ASSERT_TRUE(host.list.Save_List());
  EXPECT_EQ(host.list.ListFilePath(), folder.path() + "\\Quelm_Rask.rdm");
  EXPECT_EQ(ReadList(host), Record("C:\\a.bmp") + Record("D:\\\x95\xC7\x8E\x86.jpg"));
  EXPECT_FALSE(GetFileAttributesW(win::Wide(host.list.ListFilePath() + ".tmp~").c_str()) !=
               INVALID_FILE_ATTRIBUTES);

  host.list.Clear_List();
  ASSERT_TRUE(host.list.Save_List());
  EXPECT_EQ(ReadList(host), "");  // an empty list leaves an empty file
}

TEST(WallpaperListFile, PathsTheFileCannotHoldAsTheyAreGoInByTheirShortNames) {
  TempFolder folder;
  // Longer than a record, and with characters code page 932 has not.
  const std::string longName = folder.Write(std::string(240, 'x') + "壁紙.bmp", "picture");
  const std::string foreign = folder.Write("这个 \xF0\x9F\x98\x80.jpg", "picture");
  ASSERT_FALSE(longName.empty() || foreign.empty());
  {
    MainHost host(folder.path());
    host.list.Load_List();
    test::DialogDriver driver(std::chrono::milliseconds(500));  // no message: short names exist
    host.list.Add_If_Absent(longName);
    host.list.Add_If_Absent(foreign);
    EXPECT_TRUE(driver.Seen().empty());
    ASSERT_TRUE(host.list.Save_List());
    EXPECT_EQ(ReadList(host), EncodeListFile({SystemShortPath(longName), SystemShortPath(foreign)}));
  }
  MainHost next(folder.path());
  next.list.Load_List();
  EXPECT_EQ(next.list.Entries(),
            (std::vector<std::string>{SystemShortPath(longName), SystemShortPath(foreign)}));
  for (const std::string& entry : next.list.Entries()) EXPECT_TRUE(File_Exists(entry)) << entry;
}

TEST(WallpaperListFile, WithoutShortNamesSuchAPathIsLeftOutAndTheUserIsTold) {
  TempFolder folder;
  const std::string kept = folder.Write("a.bmp", "x");
  const std::string foreign = folder.Write("这个.bmp", "picture");
  MainHost host(folder.path());
  host.list.ShortPathOf = [](const std::string& path) { return path; };  // a volume without short names
  host.list.Load_List();
  host.list.Add_If_Absent(kept);
  test::DialogDriver driver;
  driver.Press(IDOK);
  host.list.Drop_Files({foreign});
  ASSERT_TRUE(driver.WaitUntilDone());
  ASSERT_EQ(driver.Seen().size(), 1u);
  EXPECT_EQ(driver.Seen()[0].title, "Quelm_Rask");
  EXPECT_EQ(driver.Seen()[0].text, std::string(kPathNotRecordable) + "\n" + foreign);
  EXPECT_EQ(driver.Seen()[0].icon, LoadIconW(nullptr, IDI_EXCLAMATION));
  EXPECT_EQ(host.list.Entries(), (std::vector<std::string>{kept, foreign}));  // usable for this run
  ASSERT_TRUE(host.list.Save_List());
  EXPECT_EQ(ReadList(host), EncodeListFile({kept}));  // not stored as a name that finds nothing
}

TEST(WallpaperListFile, LoadKeepsWholeRecordsOfExistingFilesOnly) {
  TempFolder folder;
  const std::string a = folder.Write("a.bmp", "x");
  const std::string b = folder.Write("写真.jpg", "x");
  const std::string gone = folder.File("gone.bmp");
  // Two records, one of a vanished file, a record of an existing file, and a partial trailing record.
  const std::string partial = Record(a).substr(0, 100);
  // The third record in Shift-JIS with leading blanks, as an older list may hold it.
  folder.Write("Quelm_Rask.rdm",
               Record(a) + Record(gone) + Record("  " + folder.path() + "\\\x8E\xCA\x90\x5E.jpg") + partial);

  MainHost host(folder.path());
  host.list.Load_List();
  EXPECT_EQ(host.list.Entries(), (std::vector<std::string>{a, b}));
  EXPECT_EQ(host.ListCommands(), "00100");  // only "ﾘｽﾄ全部ｸﾘｱ" until an entry is clicked

  ASSERT_TRUE(host.list.Save_List());
  EXPECT_EQ(ReadList(host), EncodeListFile({a, b}));  // the partial record and the vanished entry are gone
}

TEST(WallpaperListFile, LoadDropsFoldersKeepsANameWithATrailingSeparatorAndReportsTheEntriesAtOnce) {
  TempFolder folder;
  const std::string a = folder.Write("a.bmp", "x");
  const std::string sub = folder.MakeFolder("sub.bmp");
  std::vector<std::string> many;
  for (int i = 0; i < 300; ++i) many.push_back(folder.Write(std::to_string(i).append(".jpg"), "x"));
  std::string withSeparator = a;
  withSeparator.push_back('\\');
  std::vector<std::string> records{withSeparator, sub, folder.File("gone.jpg")};
  records.insert(records.end(), many.begin(), many.end());
  folder.Write("Quelm_Rask.rdm", EncodeListFile(records));

  MainHost host(folder.path());
  std::vector<std::vector<std::string>> reports;
  host.list.OnEntriesAdded = [&](const std::vector<std::string>& added) { reports.push_back(added); };
  host.list.Load_List();
  EXPECT_TRUE(reports.empty());  // the first screenful is measured with the rest, after the start
  std::vector<std::string> expected{withSeparator};
  expected.insert(expected.end(), many.begin(), many.end());
  EXPECT_EQ(host.list.Entries(), expected);
  // One report once the list is whole, so the extent is measured once, not per entry.
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0], expected);
}

TEST(WallpaperListFile, VanishedFilesAreCheckedOnceTheStartIsOverNotBeforeIt) {
  TempFolder folder;
  std::vector<std::string> records;
  for (int i = 0; i < 300; ++i) records.push_back(folder.File("gone" + std::to_string(i) + ".bmp"));
  const std::string kept = folder.Write("kept.bmp", "x");
  records.push_back(kept);
  folder.Write("Quelm_Rask.rdm", EncodeListFile(records));
  MainHost host(folder.path());
  host.list.Load_List();
  EXPECT_TRUE(host.list.Filling());
  EXPECT_EQ(host.List_Kabe.ListCount(), 0);
  EXPECT_EQ(host.list.Entries(), std::vector<std::string>{kept});
}

// A long list file: a screenful is listed at start, the rest later. However the rest comes (filled, or
// read, saved, dropped on or cleared first), the list holds and saves what the file held, in its order,
// without the files that are gone and with its duplicates.
class LongListFile : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int i = 0; i < 120; ++i) {
      const std::string name = std::to_string(i) + ".bmp";
      files_.push_back(i % 7 == 3 ? folder_.File(name) : folder_.Write(name, "x"));
      if (i % 7 != 3) held_.push_back(files_.back());
    }
    files_.push_back(files_[100]);
    held_.push_back(files_[100]);
    folder_.Write("Quelm_Rask.rdm", EncodeListFile(files_));
    host_.list.Load_List();
    ASSERT_TRUE(host_.list.Filling());
    ASSERT_LT(host_.List_Kabe.ListCount(), 60);
    EXPECT_FALSE(VerticalScrollBar()) << "the first screenful fits whole";
    EXPECT_EQ(host_.ListCommands(), "00100");
  }

  bool VerticalScrollBar() const {
    return (GetWindowLongW(host_.List_Kabe.hwnd(), GWL_STYLE) & WS_VSCROLL) != 0;
  }

  TempFolder folder_;
  std::vector<std::string> files_, held_;
  MainHost host_{folder_.path()};
};

TEST_F(LongListFile, FilledLaterItHoldsAndSavesExactlyWhatTheFileHeld) {
  host_.list.Fill_Rest();
  EXPECT_FALSE(host_.list.Filling());
  EXPECT_TRUE(VerticalScrollBar());
  EXPECT_EQ(host_.List_Kabe.ListCount(), static_cast<int>(held_.size()));
  EXPECT_EQ(host_.list.Entries(), held_);
  ASSERT_TRUE(host_.list.Save_List());
  EXPECT_EQ(ReadList(host_), EncodeListFile(held_));
}

TEST_F(LongListFile, FilledPartByPartItGrowsInTheFilesOrderAndAReadCompletesIt) {
  int listed = host_.List_Kabe.ListCount();
  for (int part = 0; part < 3; ++part) {
    ASSERT_TRUE(host_.list.Fill_Part(7));
    const int now = host_.List_Kabe.ListCount();
    EXPECT_GT(now, listed);
    EXPECT_LE(now, listed + 7);
    listed = now;
  }
  for (int i = 0; i < listed; ++i) EXPECT_EQ(host_.List_Kabe.List(i), held_[static_cast<size_t>(i)]) << i;
  EXPECT_EQ(host_.list.Entries(), held_);
  EXPECT_FALSE(host_.list.Filling());
  EXPECT_FALSE(host_.list.Fill_Part(7));
  ASSERT_TRUE(host_.list.Save_List());
  EXPECT_EQ(ReadList(host_), EncodeListFile(held_));
}

TEST_F(LongListFile, SavedBeforeItIsFilledNothingIsLost) {
  ASSERT_TRUE(host_.list.Save_List());
  EXPECT_EQ(ReadList(host_), EncodeListFile(held_));
}

TEST_F(LongListFile, DroppedFilesGoAfterTheWholeFileAndClearingDropsTheRestToo) {
  const std::string dropped = folder_.Write("dropped.bmp", "x");
  DropOn(host_.List_Kabe.hwnd(), {dropped});
  std::vector<std::string> expected = held_;
  expected.push_back(dropped);
  EXPECT_EQ(host_.list.Entries(), expected);

  MainHost other(folder_.path());
  other.list.Load_List();
  other.list.Clear_List();
  other.list.Fill_Rest();
  EXPECT_EQ(other.List_Kabe.ListCount(), 0);
  ASSERT_TRUE(other.list.Save_List());
  EXPECT_EQ(ReadList(other), "");
}

TEST(WallpaperListFile, MissingOrEmptyFileGivesAnEmptyListWithEveryCommandDisabled) {
  TempFolder folder;
  MainHost host(folder.path());
  host.list.Load_List();
  EXPECT_EQ(host.List_Kabe.ListCount(), 0);
  EXPECT_EQ(host.ListCommands(), "00000");
  EXPECT_EQ(ReadList(host), "");  // a missing list file is created empty
}

TEST(WallpaperListFile, FailedSaveLeavesThePreviousListFile) {
  TempFolder folder;
  const std::string a = folder.Write("a.bmp", "x");
  const std::string previous = EncodeListFile({a});
  folder.Write("Quelm_Rask.rdm", previous);
  MainHost host(folder.path());
  host.list.Load_List();
  host.list.Add_If_Absent("C:\\new.bmp");

  // The new list cannot be written beside the old one.
  const std::string blocker = folder.MakeFolder("Quelm_Rask.rdm.tmp~");
  ASSERT_FALSE(blocker.empty());
  EXPECT_FALSE(host.list.Save_List());
  EXPECT_EQ(ReadList(host), previous);
  ASSERT_TRUE(test::RemoveTree(blocker));

  // The list file is held open by another program, without sharing.
  {
    win::File lock(CreateFileW(win::Wide(host.list.ListFilePath()).c_str(), GENERIC_READ, 0, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(lock);
    EXPECT_FALSE(host.list.Save_List());
  }
  EXPECT_EQ(ReadList(host), previous);

  EXPECT_TRUE(host.list.Save_List());
  EXPECT_EQ(ReadList(host), EncodeListFile({a, "C:\\new.bmp"}));
}

// Holds a file open without sharing, as another program may.
win::File Lock(const std::string& path) {
  return win::File(CreateFileW(win::Wide(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
}

TEST(WallpaperListFile, FileUnreadableAtStartIsKeptAsideAndTheSessionsEntriesAreWritten) {
  TempFolder folder;
  const std::string a = folder.Write("a.bmp", "x");
  const std::string added = folder.Write("added.bmp", "x");
  const std::string previous = EncodeListFile({a});
  folder.Write("Quelm_Rask.rdm", previous);
  MainHost host(folder.path());
  {
    win::File lock = Lock(host.list.ListFilePath());
    ASSERT_TRUE(lock);
    host.list.Load_List();
  }
  EXPECT_EQ(host.List_Kabe.ListCount(), 0);
  host.list.Add_If_Absent(added);
  ASSERT_TRUE(host.list.Save_List());
  EXPECT_EQ(win::ReadFileBytes(host.list.ListFilePath() + ".unreadable"), previous);
  EXPECT_EQ(ReadList(host), EncodeListFile({added}));

  // Later saves of the same run write the list as usual; an older file of the aside name stays too.
  host.list.Clear_List();
  ASSERT_TRUE(host.list.Save_List());
  EXPECT_EQ(ReadList(host), "");
  EXPECT_EQ(win::ReadFileBytes(host.list.ListFilePath() + ".unreadable"), previous);
}

TEST(WallpaperListFile, FileStillLockedAtCloseGetsTheSessionsListBesideIt) {
  TempFolder folder;
  const std::string added = folder.Write("added.bmp", "x");
  const std::string previous = EncodeListFile({folder.Write("a.bmp", "x")});
  folder.Write("Quelm_Rask.rdm", previous);
  folder.Write("Quelm_Rask.rdm.new", "an older list written beside");
  MainHost host(folder.path());
  {
    win::File lock = Lock(host.list.ListFilePath());
    host.list.Load_List();
    host.list.Add_If_Absent(added);
    ASSERT_TRUE(host.list.Save_List());
    ASSERT_TRUE(host.list.Save_List());  // the same file again, not one more
  }
  EXPECT_EQ(ReadList(host), previous);
  EXPECT_EQ(win::ReadFileBytes(host.list.ListFilePath() + ".new"), "an older list written beside");
  EXPECT_EQ(win::ReadFileBytes(host.list.ListFilePath() + ".new-2"), EncodeListFile({added}));
  EXPECT_FALSE(win::ReadFileBytes(host.list.ListFilePath() + ".new-3"));
}

// Every way the list save can fail leaves the previous list file byte for byte and nothing beside it;
// the program says nothing about its list file.
class ListSaveFaults : public ::testing::TestWithParam<test::WriteFault> {};

TEST_P(ListSaveFaults, PreviousListStaysAsItWas) {
  test::FaultScene scene(GetParam());
  if (scene.Skipped()) GTEST_SKIP() << scene.SkipReason();
  TempFolder pictures;
  const std::string a = pictures.Write("a.bmp", "x");
  const std::string previous = EncodeListFile({a});
  scene.Put("Quelm_Rask.rdm", previous);
  MainHost host(scene.Folder());
  host.list.Load_List();
  host.list.Add_If_Absent(pictures.Write("b.bmp", "x"));
  const std::vector<std::string> before = scene.Files();
  ASSERT_TRUE(scene.Arm(host.list.ListFilePath()));
  test::DialogDriver driver(std::chrono::milliseconds(500));
  EXPECT_FALSE(host.list.Save_List());
  scene.Disarm();
  EXPECT_EQ(scene.Files(), before);
  if (GetParam() != test::WriteFault::FolderMissing) {
    EXPECT_EQ(ReadList(host), previous);
  }
  EXPECT_TRUE(driver.Seen().empty());
}

INSTANTIATE_TEST_SUITE_P(Faults, ListSaveFaults, test::kAllWriteFaults, test::WriteFaultName);

TEST(WallpaperListDrop, OnlyPictureNamesTheSystemDecodesAreAddedInTheirOwnCase) {
  TempFolder folder;
  MainHost host(folder.path());
  host.list.Load_List();
  const std::string dir = folder.path() + "\\";
  DropOn(host.List_Kabe.hwnd(), {dir + "A.BMP", dir + "b.jpg", dir + "c.jpeg", dir + "d.png", dir + "e.psd",
                                 dir + "写真.Jpg", dir + "f.GIF", dir + "g.tif"});
  EXPECT_EQ(host.list.Entries(),
            (std::vector<std::string>{dir + "A.BMP", dir + "b.jpg", dir + "c.jpeg", dir + "d.png",
                                      dir + "写真.Jpg", dir + "f.GIF", dir + "g.tif"}));
  EXPECT_EQ(host.ListCommands(), "00100");

  DropOn(host.List_Kabe.hwnd(), {dir + "notes.txt"});  // nothing added; the enabling is set again
  EXPECT_EQ(host.List_Kabe.ListCount(), 7);
  EXPECT_EQ(host.ListCommands(), "00100");
}

// A picture whose codec the system lacks is not listed, and the user hears which file it was.
TEST(WallpaperListDrop, PicturesWithoutTheirCodecAreNamedInOneMessage) {
  TempFolder folder;
  MainHost host(folder.path());
  host.list.Load_List();
  const std::string dir = folder.path() + "\\";
  if (HasExtensionIn("a.heic", win::DecodablePictureExtensions()) ||
      HasExtensionIn("a.avif", win::DecodablePictureExtensions()))
    GTEST_SKIP() << "this system has the codecs";
  test::DialogDriver driver;
  driver.Press(IDOK);
  DropOn(host.List_Kabe.hwnd(), {dir + "IMG_0001.HEIC", dir + "a.bmp", dir + "b.avif", dir + "c.txt"});
  ASSERT_TRUE(driver.WaitUntilDone());
  ASSERT_EQ(driver.Seen().size(), 1u);
  EXPECT_EQ(driver.Seen()[0].text,
            std::string(kMissingCodecMessage) + "\n" + dir + "IMG_0001.HEIC\n" + dir + "b.avif");
  EXPECT_EQ(host.list.Entries(), std::vector<std::string>{dir + "a.bmp"});
}

TEST(WallpaperListDrop, NothingUsableKeepsTheCommandsDisabled) {
  TempFolder folder;
  MainHost host(folder.path());
  host.list.Load_List();
  int added = 0;
  host.list.OnEntriesAdded = [&](const std::vector<std::string>&) { ++added; };
  DropOn(host.List_Kabe.hwnd(), {folder.File("d.psd")});
  EXPECT_EQ(host.List_Kabe.ListCount(), 0);
  EXPECT_EQ(host.ListCommands(), "00000");
  EXPECT_EQ(added, 0);
  DropOn(host.List_Kabe.hwnd(), {folder.File("e.bmp"), folder.File("f.bmp")});
  EXPECT_EQ(added, 1);  // once per drop
}

TEST(WallpaperListDrop, SameFileTwiceGivesTwoEntriesThatAreSavedAndReloaded) {
  TempFolder folder;
  const std::string file = folder.Write("海.bmp", "x");
  {
    MainHost host(folder.path());
    host.list.Load_List();
    DropOn(host.List_Kabe.hwnd(), {file});
    DropOn(host.List_Kabe.hwnd(), {file});
    EXPECT_EQ(host.List_Kabe.ListCount(), 2);
    ASSERT_TRUE(host.list.Save_List());
  }
  MainHost next(folder.path());
  next.list.Load_List();
  EXPECT_EQ(next.list.Entries(), (std::vector<std::string>{file, file}));
}

TEST(WallpaperListDrop, OnlyTheFirst250NamesAreExamined) {
  TempFolder folder;
  MainHost host(folder.path());
  host.list.Load_List();
  std::vector<std::string> names;
  for (int i = 0; i < 260; ++i) names.push_back(folder.File(std::to_string(i) + ".bmp"));
  DropOn(host.List_Kabe.hwnd(), names);
  ASSERT_EQ(host.List_Kabe.ListCount(), 250);
  EXPECT_EQ(host.List_Kabe.List(249), names[249]);
}

TEST(WallpaperListAdd, AddsOnlyWhenNoEntryIsExactlyEqual) {
  TempFolder folder;
  MainHost host(folder.path());
  host.list.Load_List();
  int added = 0;
  host.list.OnEntriesAdded = [&](const std::vector<std::string>&) { ++added; };
  EXPECT_TRUE(host.list.Add_If_Absent("C:\\壁紙\\a.bmp"));
  EXPECT_FALSE(host.list.Add_If_Absent("C:\\壁紙\\a.bmp"));
  EXPECT_EQ(added, 1);
  EXPECT_TRUE(host.list.Add_If_Absent("C:\\壁紙\\A.bmp"));  // letter case counts
  EXPECT_TRUE(host.list.Add_If_Absent("C:\\壁紙\\a.bmp "));
  EXPECT_EQ(host.List_Kabe.ListCount(), 3);
}

class WallpaperListCommands : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"one.bmp", "two.bmp", "three.bmp"}) files.push_back(folder.Write(name, "x"));
    folder.Write("Quelm_Rask.rdm", EncodeListFile(files));
    host.list.Load_List();
    ASSERT_EQ(host.List_Kabe.ListCount(), 3);
  }

  TempFolder folder;
  std::vector<std::string> files;
  MainHost host{folder.path()};
};

TEST_F(WallpaperListCommands, ClickingAnEntryEnablesAllFive) {
  EXPECT_EQ(host.ListCommands(), "00100");
  ClickEntry(host.List_Kabe, 1);
  EXPECT_EQ(host.List_Kabe.ListIndex(), 1);
  EXPECT_EQ(host.ListCommands(), "11111");
}

TEST_F(WallpaperListCommands, KeyboardSelectionAndAClickOnTheEntryStillSelectedEnableAllFive) {
  SendMessageW(host.List_Kabe.hwnd(), WM_KEYDOWN, VK_DOWN, 0);
  forms::DoEvents();
  ASSERT_GE(host.List_Kabe.ListIndex(), 0);
  EXPECT_EQ(host.ListCommands(), "11111");

  // A drop disables the commands but leaves the entry selected: clicking that entry again enables them.
  ClickEntry(host.List_Kabe, 1);
  DropOn(host.List_Kabe.hwnd(), {folder.File("new.bmp")});
  ASSERT_EQ(host.List_Kabe.ListIndex(), 1);
  EXPECT_EQ(host.ListCommands(), "00100");
  ClickEntry(host.List_Kabe, 1);
  EXPECT_EQ(host.ListCommands(), "11111");
}

TEST_F(WallpaperListCommands, RemoveTakesTheSelectedEntryAndKeepsClearWhileEntriesRemain) {
  host.List_Kabe.SetListIndex(1);
  host.Command(4);
  EXPECT_EQ(host.list.Entries(), (std::vector<std::string>{files[0], files[2]}));
  EXPECT_EQ(host.ListCommands(), "00100");
  host.Command(4);  // nothing selected: nothing happens
  EXPECT_EQ(host.List_Kabe.ListCount(), 2);

  host.List_Kabe.SetListIndex(0);
  host.Command(4);
  host.List_Kabe.SetListIndex(0);
  host.Command(4);
  EXPECT_EQ(host.List_Kabe.ListCount(), 0);
  EXPECT_EQ(host.ListCommands(), "00000");  // the last entry removed: all five disabled
}

TEST_F(WallpaperListCommands, ClearRemovesEverythingWithoutAsking) {
  host.List_Kabe.SetListIndex(2);
  host.Command(5);
  EXPECT_EQ(host.List_Kabe.ListCount(), 0);
  EXPECT_EQ(host.ListCommands(), "00000");
}

TEST_F(WallpaperListCommands, PreviewShowsTheSelectedEntryAsAPicture) {
  std::vector<std::string> shown;  // the picture each preview was opened for
  host.windows.showPreview = [&] { shown.push_back(host.state.Kabe_File); };
  host.Command(3);
  EXPECT_TRUE(shown.empty());  // nothing selected

  host.List_Kabe.SetListIndex(2);
  host.Command(3);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0], files[2]);
  EXPECT_EQ(host.ListCommands(), "11111");  // preview changes no enabling
}

TEST_F(WallpaperListCommands, DeleteSendsTheFileAwayAfterTheQuestionAndRemovesTheEntry) {
  host.List_Kabe.SetListIndex(1);
  test::DialogDriver driver;
  driver.Press(IDYES).Press(IDYES);  // our question, then the shell's own
  host.Command(6);
  ASSERT_TRUE(driver.WaitUntilDone());
  const auto seen = driver.Seen();
  ASSERT_GE(seen.size(), 1u);
  EXPECT_EQ(seen[0].title, "Quelm_Rask");
  EXPECT_EQ(seen[0].text, "ﾌｧｲﾙを削除しますか？\r" + files[1]);
  EXPECT_EQ(seen[0].buttons, (std::vector<int>{IDYES, IDNO}));
  EXPECT_EQ(seen[0].icon, LoadIconW(nullptr, IDI_QUESTION));
  EXPECT_FALSE(File_Exists(files[1]));
  EXPECT_EQ(host.list.Entries(), (std::vector<std::string>{files[0], files[2]}));
  EXPECT_EQ(host.ListCommands(), "00000");  // "ﾘｽﾄ全部ｸﾘｱ" too, until the next click
  EXPECT_TRUE(File_Exists(files[0]));
}

TEST_F(WallpaperListCommands, DeleteAnsweredNoChangesNothing) {
  host.List_Kabe.SetListIndex(0);
  test::DialogDriver driver;
  driver.Press(IDNO);
  host.Command(6);
  ASSERT_TRUE(driver.WaitUntilDone());
  EXPECT_TRUE(File_Exists(files[0]));
  EXPECT_EQ(host.List_Kabe.ListCount(), 3);
  EXPECT_EQ(host.ListCommands(), "11111");
}

TEST_F(WallpaperListCommands, DeclinedShellQuestionKeepsTheFileAndItsEntry) {
  host.List_Kabe.SetListIndex(0);
  test::DialogDriver driver;
  driver.Press(IDYES).Press(IDNO);
  host.Command(6);
  ASSERT_TRUE(driver.WaitUntilDone());
  EXPECT_TRUE(File_Exists(files[0]));
  EXPECT_EQ(host.List_Kabe.ListCount(), 3);
}

TEST_F(WallpaperListCommands, DeleteOfAFileAlreadyGoneRemovesTheEntry) {
  ASSERT_TRUE(win::DeletePath(files[2]));
  host.List_Kabe.SetListIndex(2);
  test::DialogDriver driver(std::chrono::milliseconds(1500));
  driver.Press(IDYES);
  host.Command(6);
  driver.DropPending();
  EXPECT_EQ(host.list.Entries(), (std::vector<std::string>{files[0], files[1]}));
  EXPECT_EQ(host.ListCommands(), "00000");
}

// Restores the user's wallpaper setting when the test ends.
class WallpaperSettingGuard {
 public:
  WallpaperSettingGuard() { SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, saved_, 0); }
  ~WallpaperSettingGuard() { SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, saved_, SPIF_UPDATEINIFILE); }
  static std::string Current() {
    wchar_t path[MAX_PATH + 1] = {};
    SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, path, 0);
    return win::Utf8(path);
  }

 private:
  wchar_t saved_[MAX_PATH + 1] = {};
};

// The list's entries here are files of one byte: installing one would leave the desktop without a picture.
TEST_F(WallpaperListCommands, ChangeWallpaperRefusesAFileThatIsNoPictureByName) {
  WallpaperSettingGuard guard;
  const std::string before = WallpaperSettingGuard::Current();
  host.List_Kabe.SetListIndex(1);
  test::DialogDriver driver;
  driver.Press(IDOK);
  host.Command(7);
  ASSERT_TRUE(driver.WaitUntilDone());
  ASSERT_EQ(driver.Seen().size(), 1u);
  EXPECT_EQ(driver.Seen()[0].text, win::PictureProblemMessage(win::PictureProblem::Undecodable, files[1]));
  EXPECT_EQ(WallpaperSettingGuard::Current(), before);
}

TEST_F(WallpaperListCommands, ChangeWallpaperInstallsTheSelectedEntry) {
  const std::string picture = folder.File("壁紙.bmp");
  ASSERT_TRUE(win::WriteBitmapFile(win::Surface(64, 48, RGB(10, 200, 30)), picture));
  host.list.Add_If_Absent(picture);
  WallpaperSettingGuard guard;
  host.List_Kabe.SetListIndex(3);
  host.Command(7);
  EXPECT_EQ(WallpaperSettingGuard::Current(), picture);
  EXPECT_EQ(host.ListCommands(), "00000");
  EXPECT_EQ(host.List_Kabe.ListCount(), 4);
}

}  // namespace
}  // namespace qr
