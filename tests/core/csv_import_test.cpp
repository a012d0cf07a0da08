#include "core/csv_import.h"

#include <gtest/gtest.h>

namespace qr {
namespace {

using Rows = std::vector<std::vector<std::string>>;

TEST(CsvFile, LinesEndAtCrLfAndTheLastOneNeedsNoEnd) {
  EXPECT_EQ(DecodeCsvFile(""), Rows{});
  EXPECT_EQ(DecodeCsvFile("a\r\nb\r\n"), (Rows{{"a"}, {"b"}}));
  EXPECT_EQ(DecodeCsvFile("a\r\nb"), (Rows{{"a"}, {"b"}}));
  EXPECT_EQ(DecodeCsvFile("\r\n"), (Rows{{""}}));
}

TEST(CsvFile, EmptyLinesCountAndGiveOneEmptyField) {
  EXPECT_EQ(DecodeCsvFile("a\r\n\r\nb\r\n"), (Rows{{"a"}, {""}, {"b"}}));
  EXPECT_EQ(DecodeCsvFile("a\r\n\r\n"), (Rows{{"a"}, {""}}));
}

TEST(CsvFile, LoneLfAndLoneCrAlsoEndALine) {
  EXPECT_EQ(DecodeCsvFile("a\nb\rc"), (Rows{{"a"}, {"b"}, {"c"}}));
  EXPECT_EQ(DecodeCsvFile("a\n\nb\n"), (Rows{{"a"}, {""}, {"b"}}));
}

TEST(CsvFile, LinesAreSplitIntoAtMostFiveFields) {
  EXPECT_EQ(DecodeCsvFile("a, b\r\na,\r\n\"x, y\" ,z\r\np,q,r,s,t,u\r\n"),
            (Rows{{"a", "b"}, {"a", ""}, {"x, y", "z"}, {"p", "q", "r", "s", "t"}}));
}

TEST(CsvFile, TextIsCodePage932) {
  // 表 and ソ end in 0x5C; 0x0A or 0x0D never appear inside a character, so lines split correctly.
  EXPECT_EQ(DecodeCsvFile("\x95\x5C,\x83\x5C\r\n\xB1\x82\xA0\r\n"), (Rows{{"表", "ソ"}, {"ｱあ"}}));
  EXPECT_EQ(DecodeCsvFile("\x82\r\nb"), (Rows{{"\xEF\xBF\xBD"}, {"b"}}));
}

TEST(CsvFile, OnlyTheFirst34LinesAreKept) {
  std::string bytes;
  for (int i = 1; i <= 40; ++i) bytes += std::to_string(i) + "\r\n";
  const Rows rows = DecodeCsvFile(bytes);
  ASSERT_EQ(rows.size(), 34u);
  EXPECT_EQ(rows.back(), std::vector<std::string>{"34"});
}

TEST(CsvFile, SplittingStopsAfterTheLinesThatAreKept) {
  const std::string manyEmptyLines(1'000'000, '\n');
  const std::vector<std::string_view> lines = SplitLines(manyEmptyLines, 34);
  EXPECT_EQ(lines.size(), 34u);
  EXPECT_LT(lines.capacity(), 100u);  // no view of the other lines was ever held
  EXPECT_EQ(DecodeCsvFile(manyEmptyLines).size(), 34u);
  EXPECT_EQ(SplitLines("a\r\nb\rc", 2), (std::vector<std::string_view>{"a", "b"}));
}

// A field of one NUL byte is what the splitter returns as its end marker; it must not end the line.
TEST(CsvFile, FieldOfOneNulByteIsAFieldLikeAnyOther) {
  using namespace std::string_literals;
  EXPECT_EQ(DecodeCsvFile("a,\0,b"s), (Rows{{"a", "\0"s, "b"}}));
  EXPECT_EQ(DecodeCsvFile("\0\r\nx"s), (Rows{{"\0"s}, {"x"}}));
}

}  // namespace
}  // namespace qr
