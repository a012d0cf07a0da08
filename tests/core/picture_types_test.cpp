#include "core/picture_types.h"

#include <gtest/gtest.h>

namespace qr {
namespace {

TEST(PictureTypes, CodecListsBecomeOneListOfLowerCaseExtensions) {
  std::vector<std::string> extensions = ParseCodecExtensions(".png,.PNG;.apng");
  EXPECT_EQ(extensions, (std::vector<std::string>{"png", "apng"}));
  MergeExtensions(extensions, ParseCodecExtensions(".tiff, .tif,.png"));
  EXPECT_EQ(extensions, (std::vector<std::string>{"png", "apng", "tiff", "tif"}));
  EXPECT_EQ(ExtensionPattern(extensions), "*.png;*.apng;*.tiff;*.tif");
  EXPECT_TRUE(ParseCodecExtensions("").empty());
}

TEST(PictureTypes, ExtensionsCompareWithoutCaseOnTheLastComponent) {
  const std::vector<std::string> known{"png", "jpg"};
  EXPECT_TRUE(HasExtensionIn("C:\\写真\\A.PNG", known));
  EXPECT_FALSE(HasExtensionIn("C:\\a.png\\readme", known));
  EXPECT_FALSE(HasExtensionIn("C:\\png", known));
  EXPECT_TRUE(IsCodecDependentPicture("D:\\iPhone\\IMG_0001.HEIC"));
  EXPECT_FALSE(IsCodecDependentPicture("D:\\a.png"));
}

}  // namespace
}  // namespace qr
