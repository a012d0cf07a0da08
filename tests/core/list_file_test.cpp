#include "core/list_file.h"

#include <gtest/gtest.h>

namespace qr {
namespace {

using Entries = std::vector<std::string>;

std::string Record(std::string_view bytes) {
  std::string record(bytes);
  record.resize(255, ' ');
  return record;
}

TEST(ListFile, OneBlankPaddedRecordPerEntryInCodePage932) {
  const std::string bytes = EncodeListFile({"C:\\壁紙\\海.bmp", "D:\\a.jpg"});
  EXPECT_EQ(bytes, Record("C:\\\x95\xC7\x8E\x86\\\x8A\x43.bmp") + Record("D:\\a.jpg"));
  EXPECT_EQ(EncodeListFile({}), "");
}

TEST(ListFile, LongPathIsCutAt255Bytes) {
  const std::string path = "C:\\" + std::string(300, 'x');
  const std::string bytes = EncodeListFile({path});
  ASSERT_EQ(bytes.size(), 255u);
  EXPECT_EQ(bytes, path.substr(0, 255));
}

TEST(ListFile, CutNeverLeavesHalfADoubleByteCharacter) {
  const std::string path = std::string(254, 'a') + "あ";  // the character would take bytes 255 and 256
  const std::string bytes = EncodeListFile({path});
  EXPECT_EQ(bytes, std::string(254, 'a') + ' ');
  EXPECT_EQ(DecodeListFile(bytes), Entries{std::string(254, 'a')});
}

TEST(ListFile, RecordCountIsTheLengthDividedBy255) {
  EXPECT_TRUE(DecodeListFile("").empty());
  EXPECT_TRUE(DecodeListFile(std::string(254, 'a')).empty());
  const std::string bytes = Record("C:\\a.bmp") + Record("C:\\b.bmp") + std::string(100, 'z');
  EXPECT_EQ(DecodeListFile(bytes), (Entries{"C:\\a.bmp", "C:\\b.bmp"}));
}

TEST(ListFile, RecordsLoseLeadingAndTrailingBlanksOnly) {
  EXPECT_EQ(DecodeListFile(Record("  C:\\my pics\\a.bmp")), Entries{"C:\\my pics\\a.bmp"});
  EXPECT_EQ(DecodeListFile(Record("")), Entries{""});
}

TEST(ListFile, EntriesSurviveSavingAndLoadingInOrder) {
  const Entries entries = {"C:\\壁紙\\表.bmp", "D:\\x.jpg", "D:\\x.jpg", "E:\\ｶﾅ\\ソ.BMP"};
  EXPECT_EQ(DecodeListFile(EncodeListFile(entries)), entries);
}

}  // namespace
}  // namespace qr
