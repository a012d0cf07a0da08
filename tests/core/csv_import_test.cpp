#include "core/csv_import.h"

#include <gtest/gtest.h>

#include "support/test_data.h"

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

// Python's csv module wrote 40 rows of 7 cells: 34 × 5 are kept, and the 6 × 7 + 34 × 2 others counted
// so the user can be told, as when pasting.
TEST(CsvFile, CellsBeyondTheTableAreCountedInEveryEncoding) {
  const std::string file = test::ReadTestData("text_files/wide_long.csv");
  const TextTable table = ReadTextTable(file, "csv");
  ASSERT_EQ(table.rows.size(), 34u);
  EXPECT_EQ(table.rows.back().back(), "r34c5");
  EXPECT_EQ(table.droppedCells, 6u * 7u + 34u * 2u);
  EXPECT_EQ(ReadTextTable("\xEF\xBB\xBF" + file, "csv").droppedCells, 110u);
  // Empty cells and blank lines beyond the table lose nothing; a quoted line break is no new row.
  std::string blanks;
  for (int i = 1; i <= 34; ++i) blanks += "a,,,,,,\r\n";
  EXPECT_EQ(ReadTextTable(blanks + "\r\n\r\n,,\r\n", "csv").droppedCells, 0u);
  EXPECT_EQ(ReadTextTable(blanks + "\"x\r\ny\",z", "csv").droppedCells, 2u);
  EXPECT_EQ(ReadTextTable("a,b,c,d,e,f\t,g", "tsv").droppedCells, 0u);
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

// As LibreOffice writes a table in UTF-8: doubled quotes inside quoted cells, a line break inside one.
TEST(CsvFile, SpreadsheetCsvLoadsAsItsRecordsCellForCell) {
  const std::string file =
      "\xEF\xBB\xBF"
      "名前,発言,備考\n"
      "山田,\"彼は\"\"こんにちは\"\"と言った\",\"a,b,\"\"c\"\"\"\n"
      "佐藤,\"\"\"引用\"\"だけ\",\"一行目\n二行目\"\n"
      "鈴木,,\"改行\r\nCRLF\"\n"
      "高橋,最後,\n";
  const Rows rows = DecodeTextTableFile(file, "csv");
  EXPECT_EQ(rows, (Rows{{"名前", "発言", "備考"},
                        {"山田", "彼は\"こんにちは\"と言った", "a,b,\"c\""},
                        {"佐藤", "\"引用\"だけ", "一行目 二行目"},
                        {"鈴木", "", "改行 CRLF"},
                        {"高橋", "最後", ""}}));
  // The same in code page 932: 表 ends in the byte of a backslash, and records are found in the bytes.
  EXPECT_EQ(DecodeCsvFile("\"\x95\x5C\r\n\x95\x5C\",\"\"\"\"\r\nz"), (Rows{{"表 表", "\""}, {"z"}}));
}

TEST(CsvFile, UnclosedQuoteStillEndsItsRecordAtTheLineEnd) {
  EXPECT_EQ(DecodeCsvFile("a,\"b\r\nc,d\r\n"), (Rows{{"a", "b"}, {"c", "d"}}));
}

TEST(CsvFile, EnormousCellsAreCutAndCounted) {
  const std::string file = std::string(30'000'000, 'x') + ",\"" + std::string(5000, 'y') + "\"\r\nshort\r\n";
  const TextTable table = ReadTextTable(file, "csv");
  ASSERT_EQ(table.rows.size(), 2u);
  EXPECT_EQ(table.rows[0], (std::vector<std::string>{std::string(4096, 'x'), std::string(4096, 'y')}));
  EXPECT_EQ(table.rows[1], std::vector<std::string>{"short"});
  EXPECT_EQ(table.cutCells, 2u);
}

TEST(CsvFile, PicturesAndProgramsAreNoText) {
  using namespace std::string_literals;
  EXPECT_FALSE(LooksLikeText("\x89PNG\r\n\x1A\n\0\0\0\rIHDR"s));
  EXPECT_FALSE(LooksLikeText("MZ\x90\0\x03\0\0\0"s));
  EXPECT_FALSE(LooksLikeText("a,b\r\n" + std::string(100'000, 'c') + "\0"s));
  EXPECT_FALSE(LooksLikeText("\x01\x02\x03\x04,a\x05\x06"));
  EXPECT_TRUE(LooksLikeText("a\tb\r\n\x0C\x1A"));
  EXPECT_TRUE(LooksLikeText("\xFF\xFE" "a\0,\0b\0"s));  // UTF-16 is full of NUL bytes
  EXPECT_FALSE(LooksLikeText("\xFF\xFE" "a\0\0\0"s));
  EXPECT_TRUE(LooksLikeText(""));
}

}  // namespace
}  // namespace qr
