#include "shared/profile_store.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "core/cp932.h"
#include "support/temp_folder.h"
#include "support/test_data.h"
#include "win32/files.h"

namespace qr {
namespace {

// Wine's WritePrivateProfileString drops the blanks around a value (" 1" is stored as "1"), Windows keeps
// them in the file and drops them only when reading. Values are therefore compared through the API,
// after trimming.
std::string Trimmed(std::string text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.erase(0, 1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.pop_back();
  return text;
}

TEST(ProfileKeyStore, WritesAndReadsBackThroughTheSystem) {
  test::TempFolder folder;
  ProfileKeyStore store(folder.File("Quelm_Rask.ini"));
  store.Write("Section", "Get_File_Path", "C:\\壁紙\\ﾃﾞｰﾀ");
  store.Write("Section", "G_Kabe", " 1");
  store.Write("Section", "G_Left", "-1234.5");
  store.Write("Other", "G_Kabe", "x");
  EXPECT_EQ(store.Read("Section", "Get_File_Path"), "C:\\壁紙\\ﾃﾞｰﾀ");
  EXPECT_EQ(Trimmed(store.Read("Section", "G_Kabe")), "1");
  EXPECT_EQ(store.Read("Section", "G_Left"), "-1234.5");
  EXPECT_EQ(store.Read("Other", "G_Kabe"), "x");

  store.Write("Section", "G_Kabe", " 2");
  EXPECT_EQ(Trimmed(store.Read("Section", "G_Kabe")), "2");
  store.Write("Section", "G_Kabe_File", "");
  EXPECT_EQ(store.Read("Section", "G_Kabe_File"), "");

  // A second store on the same file sees the same values.
  EXPECT_EQ(ProfileKeyStore(store.path()).Read("Section", "Get_File_Path"), "C:\\壁紙\\ﾃﾞｰﾀ");
}

TEST(ProfileKeyStore, MissingFileSectionOrKeyReadsEmpty) {
  test::TempFolder folder;
  ProfileKeyStore missing(folder.File("none.ini"));
  EXPECT_EQ(missing.Read("Section", "G_Kabe"), "");
  EXPECT_EQ(win::ReadFileBytes(missing.path()), std::nullopt);  // reading creates nothing

  ProfileKeyStore store(folder.File("Quelm_Rask.ini"));
  store.Write("Section", "G_Pos", " 0");
  EXPECT_EQ(store.Read("Section", "G_Rows"), "");
  EXPECT_EQ(store.Read("Nothing", "G_Pos"), "");
}

// The file is code page 932 by its format: a system of another code page (1252, or UTF-8 for worldwide
// language support) reads and writes the same bytes.
TEST(ProfileKeyStore, FileIsCodePage932WhateverTheSystemCodePage) {
  test::TempFolder folder;
  const std::string madeByIconv =
      folder.Write("iconv.ini", test::ReadTestData("text_files/settings_cp932.ini"));
  EXPECT_EQ(ProfileKeyStore(madeByIconv).Read("Section", "G_Kabe_File"), "C:\\写真\\背景.jpg");
  EXPECT_EQ(ProfileSnapshotStore(madeByIconv).Read("Section", "Get_Data_Path"), "D:\\表 データ");

  ProfileKeyStore store(folder.File("Quelm_Rask.ini"));
  store.Write("Section", "Get_Data_Path", "C:\\データ");
  const std::optional<std::string> bytes = win::ReadFileBytes(store.path());
  ASSERT_TRUE(bytes);
  EXPECT_NE(bytes->find(EncodeCp932("Get_Data_Path=C:\\データ")), std::string::npos);
  EXPECT_EQ(bytes->find("データ"), std::string::npos);  // no UTF-8
}

TEST(ProfileKeyStore, LongValuesAreCutTo255BytesAtACharacterBoundary) {
  test::TempFolder folder;
  ProfileKeyStore store(folder.File("Quelm_Rask.ini"));

  std::string kana;  // 150 double-byte characters: 300 bytes
  for (int i = 0; i < 150; ++i) kana += "あ";
  store.Write("Section", "even", kana);
  const std::string even = store.Read("Section", "even");
  EXPECT_EQ(EncodeCp932(even).size(), 254u);  // 127 whole characters; the 128th would need byte 256
  EXPECT_EQ(kana.compare(0, even.size(), even), 0);

  store.Write("Section", "odd", "a" + kana);
  EXPECT_EQ(EncodeCp932(store.Read("Section", "odd")).size(), 255u);

  store.Write("Section", "ascii", std::string(3000, 'p'));
  EXPECT_EQ(store.Read("Section", "ascii"), std::string(255, 'p'));

  std::string halfWidth;  // single-byte katakana count one byte each
  for (int i = 0; i < 300; ++i) halfWidth += "ｱ";
  store.Write("Section", "half", halfWidth);
  EXPECT_EQ(EncodeCp932(store.Read("Section", "half")).size(), 255u);

  store.Write("Section", "short", std::string(255, 'q'));
  EXPECT_EQ(store.Read("Section", "short"), std::string(255, 'q'));
}

// Read a section at a time, the file gives every key what the system's reader gives it key by key:
// quotes, blanks, case, doubled keys, other sections, long and Japanese values, keys without a value.
TEST(ProfileSnapshotStore, ReadsWhatTheSystemReadsKeyByKey) {
  test::TempFolder folder;
  std::string kana;
  for (int i = 0; i < 150; ++i) kana += "あ";
  const std::string text =
      "; a comment=1\r\n[Section]\r\nG_Kabe=1\r\n  G_Pos =  2  \r\ng_kabe=9\r\n"
      "G_Kabe_File=\"C:\\壁紙 1.jpg\"\r\nQuoteOnce=\"open\r\nSingle='x'\r\nMixed=\"y'\r\n"
      "Empty=\r\nNoValue\r\nLong=" +
      kana + "\r\n[Other]\r\nG_Kabe=5\r\n[section]\r\nLater=3\r\n";
  const std::string path = folder.Write("Quelm_Rask.ini", EncodeCp932(text));
  ProfileKeyStore system(path);
  ProfileSnapshotStore snapshot(path);
  for (const char* section : {"Section", "SECTION", "Other", "Missing"})
    for (const char* key : {"G_Kabe", "G_POS", "G_Kabe_File", "QuoteOnce", "Single", "Mixed", "Empty",
                            "NoValue", "Long", "Later", "Absent", "; a comment"})
      EXPECT_EQ(snapshot.Read(section, key), system.Read(section, key)) << section << " " << key;
  EXPECT_EQ(snapshot.Read("Section", "G_Kabe_File"), "C:\\壁紙 1.jpg");  // the reads are not both empty

  snapshot.Write("Section", "G_Kabe", "2");  // a write is read back, from the file
  EXPECT_EQ(snapshot.Read("Section", "G_Kabe"), "2");
  EXPECT_EQ(system.Read("Section", "G_Kabe"), "2");
}

TEST(ProfileKeyStore, FileInFoldersOfAnyName) {
  test::TempFolder folder;
  for (const char* name : {"設定", "설정"}) {
    const std::string sub = folder.MakeFolder(name);
    ASSERT_FALSE(sub.empty());
    ProfileKeyStore store(sub + "\\Quelm_Rask.ini");
    store.Write("Section", "G_Rows", " 12");
    EXPECT_EQ(Trimmed(store.Read("Section", "G_Rows")), "12") << name;
  }
}

TEST(ProfileKeyStore, DoubledSeparatorOfADriveRootFolderIsAccepted) {
  test::TempFolder folder;
  ProfileKeyStore doubled(folder.path() + "\\\\Quelm_Rask.ini");
  doubled.Write("Section", "G_Cols", " 3");
  EXPECT_EQ(Trimmed(ProfileKeyStore(folder.File("Quelm_Rask.ini")).Read("Section", "G_Cols")), "3");
  EXPECT_EQ(Trimmed(doubled.Read("Section", "G_Cols")), "3");
}

TEST(CutToCp932Bytes, KeepsWholeCharacters) {
  EXPECT_EQ(CutToCp932Bytes("abc", 3), "abc");
  EXPECT_EQ(CutToCp932Bytes("abc", 2), "ab");
  EXPECT_EQ(CutToCp932Bytes("aあい", 2), "a");
  EXPECT_EQ(CutToCp932Bytes("aあい", 3), "aあ");
  EXPECT_EQ(CutToCp932Bytes("あ", 1), "");
  EXPECT_EQ(CutToCp932Bytes("한국", 1), "한");  // no code page 932 form: one '?' byte each
  EXPECT_EQ(CutToCp932Bytes("", 0), "");
}

}  // namespace
}  // namespace qr
