#include "core/paths.h"

#include <gtest/gtest.h>

namespace qr {
namespace {

TEST(GetExtension, TextAfterTheLastDotOfTheLastComponent) {
  EXPECT_EQ(Get_Extension("C:\\pic\\sea.bmp"), "bmp");
  EXPECT_EQ(Get_Extension("a.tar.JPG"), "JPG");
  EXPECT_EQ(Get_Extension(".bmp"), "bmp");
  EXPECT_EQ(Get_Extension("C:\\写真\\海.jpg"), "jpg");
}

TEST(GetExtension, EmptyWhenTheLastComponentHasNone) {
  EXPECT_EQ(Get_Extension("C:\\my.dir\\readme"), "");
  EXPECT_EQ(Get_Extension("C:\\photos.2001\\beach"), "");
  EXPECT_EQ(Get_Extension("http://x.org/dir"), "");
  EXPECT_EQ(Get_Extension("name."), "");
  EXPECT_EQ(Get_Extension("readme"), "");
  EXPECT_EQ(Get_Extension(""), "");
}

TEST(ExtensionDot, TheDotOfTheLastComponentOrTheEnd) {
  EXPECT_EQ(ExtensionDot("C:\\a.b\\x.bmp"), 8u);
  EXPECT_EQ(ExtensionDot("C:\\a.b\\x"), 8u);  // a dot in a folder's name is not the file's
  EXPECT_EQ(ExtensionDot("name."), 4u);
  EXPECT_EQ(ExtensionDot(""), 0u);
}

TEST(GetFolder, TextUpToTheLastSeparatorWithoutATrailingBackslash) {
  EXPECT_EQ(Get_Folder("C:\\pic\\sea.bmp"), "C:\\pic");
  EXPECT_EQ(Get_Folder("C:\\sea.bmp"), "C:");
  EXPECT_EQ(Get_Folder("C:sea.bmp"), "C:");
  EXPECT_EQ(Get_Folder("sea.bmp"), "");
  EXPECT_EQ(Get_Folder("C:\\pic\\"), "C:\\pic");
  EXPECT_EQ(Get_Folder("C:\\データ\\表.qlm"), "C:\\データ");
  EXPECT_EQ(Get_Folder(""), "");
}

}  // namespace
}  // namespace qr
