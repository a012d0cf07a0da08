// Paths as the record files (list file, settings file) can hold them.
#include "shared/record_paths.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "shared/helpers.h"
#include "support/temp_folder.h"

namespace qr {
namespace {

TEST(RecordablePath, PathsCodePage932HoldsStayAsTheyAre) {
  int asked = 0;
  const ShortPathFn counting = [&](const std::string&) {
    ++asked;
    return std::string();
  };
  EXPECT_EQ(RecordablePath("C:\\壁紙\\海.bmp", counting), "C:\\壁紙\\海.bmp");
  const std::string longest = "C:\\" + std::string(252, 'x');  // 255 bytes
  EXPECT_EQ(RecordablePath(longest, counting), longest);
  EXPECT_EQ(asked, 0);
}

TEST(RecordablePath, OthersGoInByTheirShortNameOrNotAtAll) {
  const std::string chinese = "C:\\Users\\这个\\a.bmp";  // 这 has no code page 932 form
  const std::string emoji = "C:\\pics\\\xF0\x9F\x98\x80\\a.bmp";
  const std::string tooLong = "C:\\" + std::string(253, 'x');  // 256 bytes
  const ShortPathFn shortNames = [](const std::string&) { return std::string("C:\\USERS\\8D99~1\\A.BMP"); };
  for (const std::string& path : {chinese, emoji, tooLong}) {
    EXPECT_EQ(RecordablePath(path, shortNames), "C:\\USERS\\8D99~1\\A.BMP");
    // A volume without short names hands the long name back; a missing file gives nothing.
    EXPECT_EQ(RecordablePath(path, [](const std::string& p) { return p; }), std::nullopt);
    EXPECT_EQ(RecordablePath(path, [](const std::string&) { return std::string(); }), std::nullopt);
  }
  // A short name that is itself too long is no better.
  EXPECT_EQ(RecordablePath(tooLong, [&](const std::string&) { return tooLong; }), std::nullopt);
}

TEST(SystemShortPath, NamesTheSameFileInPlainAscii) {
  test::TempFolder folder;
  const std::string file = folder.Write("这个 \xF0\x9F\x98\x80 壁紙.bmp", "picture");
  ASSERT_FALSE(file.empty());
  const std::string shortName = SystemShortPath(file);
  ASSERT_FALSE(shortName.empty());
  if (shortName == file) GTEST_SKIP() << "this volume keeps no short names";
  EXPECT_TRUE(FitsRecord(shortName)) << shortName;
  EXPECT_TRUE(File_Exists(shortName));
  EXPECT_EQ(RecordablePath(file), shortName);
  EXPECT_EQ(SystemShortPath(folder.File("missing.bmp")), "");
}

}  // namespace
}  // namespace qr
