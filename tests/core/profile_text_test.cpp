#include "core/profile_text.h"

#include <gtest/gtest.h>

#include "core/cp932.h"
#include "support/test_data.h"

namespace qr {
namespace {

using Values = std::map<std::string, std::string>;

// iconv wrote the file in code page 932; its Japanese values read the same on any system.
TEST(ProfileText, SectionsAreReadAsCodePage932) {
  const std::string file = test::ReadTestData("text_files/settings_cp932.ini");
  EXPECT_EQ(ProfileSection(file, "section"),
            (Values{{"g_kabe", "1"}, {"g_kabe_file", "C:\\写真\\背景.jpg"}, {"get_data_path", "D:\\表 データ"}}));
  EXPECT_EQ(ProfileSection(file, "Other"), Values{});
  const std::string odd = EncodeCp932(
      "; c=1\r\n[S]\r\n  A =  \"x y\"  \r\na=2\r\nB\r\nC='q\r\n[T]\r\nA=5\r\n[s]\r\nD=4");
  EXPECT_EQ(ProfileSection(odd, "s"), (Values{{"a", "x y"}, {"b", ""}, {"c", "'q"}, {"d", "4"}}));
}

TEST(ProfileText, WritingReplacesAddsOrAppendsAndKeepsEveryOtherByte) {
  std::string file = WithProfileValue("", "Section", "G_Kabe", " 1");
  file = WithProfileValue(file, "Section", "G_Kabe_File", "C:\\写真\\背景.jpg");
  EXPECT_EQ(file, EncodeCp932("[Section]\r\nG_Kabe=1\r\nG_Kabe_File=C:\\写真\\背景.jpg\r\n"));
  EXPECT_EQ(WithProfileValue(file, "section", "g_kabe", "2"),
            EncodeCp932("[Section]\r\ng_kabe=2\r\nG_Kabe_File=C:\\写真\\背景.jpg\r\n"));
  const std::string other = "; note\n[A]\nx=1\n\n[B]\ny=2";
  EXPECT_EQ(WithProfileValue(other, "A", "z", "3"), "; note\n[A]\nx=1\nz=3\r\n\n[B]\ny=2");
  EXPECT_EQ(WithProfileValue(other, "B", "z", "3"), "; note\n[A]\nx=1\n\n[B]\ny=2\r\nz=3\r\n");
  EXPECT_EQ(WithProfileValue(other, "C", "z", "3"), other + "\r\n[C]\r\nz=3\r\n");
  EXPECT_EQ(ProfileSection(WithProfileValue(other, "A", "x", "表"), "a").at("x"), "表");
}

}  // namespace
}  // namespace qr
