#include "core/table_record.h"

#include <gtest/gtest.h>

#include <cstring>

namespace qr {
namespace {

// Builds records by hand at literal offsets, independent of the codec's own constants.
class RecordBytes {
 public:
  RecordBytes() : bytes_(2236, '\0') {
    for (int c = 0; c < 5; ++c) {
      Text(16 + 400 * c, "", 400);
      Text(2016 + 30 * c, "", 30);
    }
  }
  RecordBytes& Int16(size_t offset, int16_t value) {
    bytes_[offset] = static_cast<char>(static_cast<uint16_t>(value) & 0xFF);
    bytes_[offset + 1] = static_cast<char>(static_cast<uint16_t>(value) >> 8);
    return *this;
  }
  RecordBytes& UInt32(size_t offset, uint32_t value) {
    for (size_t i = 0; i < 4; ++i) bytes_[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return *this;
  }
  RecordBytes& Text(size_t offset, std::string_view cp932, size_t length) {
    std::string field(cp932);
    field.resize(length, ' ');
    bytes_.replace(offset, length, field);
    return *this;
  }
  // A cell as the program writes a fresh one: default font, black on white.
  RecordBytes& FreshCell(int col, std::string_view cp932Text) {
    const int c = col - 1;
    Text(16 + 400 * c, cp932Text, 400);
    Text(2016 + 30 * c, "\x82\x6C\x82\x72 \x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E", 30);  // ＭＳ Ｐゴシック
    Int16(2166 + 2 * c, 9);
    UInt32(2196 + 4 * c, 0x00000000);
    UInt32(2216 + 4 * c, 0x00FFFFFF);
    return *this;
  }
  RecordBytes& Dimensions(int16_t cols, const ColumnWidths& widths) {
    Int16(4, cols);
    for (int c = 0; c < 5; ++c) Int16(6 + 2 * c, widths[static_cast<size_t>(c + 1)]);
    return *this;
  }
  const std::string& str() const { return bytes_; }

 private:
  std::string bytes_;
};

const ColumnWidths kWidths{0, 80, 120, 0, 400, 7};

TEST(TableFile, RecordHoldsEveryFieldAtItsOffset) {
  TableModel table;
  Cell& first = table.At(1, 1);
  first.text = "日本語 text";
  first.font = {"ＭＳ ゴシック", 10.5, true, false};
  first.foreColor = 0x00112233;
  first.backColor = 0x80000005;
  Cell& third = table.At(1, 3);
  third.text = "ｶﾅ";
  third.font = {"Arial", 11.5, false, true};
  third.foreColor = 0x00FF0000;
  table.At(1, 5).text = "hidden column";

  RecordBytes expected;
  expected.Dimensions(3, kWidths).FreshCell(2, "").FreshCell(4, "").FreshCell(5, "hidden column");
  expected.Text(16, "\x93\xFA\x96\x7B\x8C\xEA text", 400)
      .Text(2016, "\x82\x6C\x82\x72 \x83\x53\x83\x56\x83\x62\x83\x4E", 30)
      .Int16(2166, 10)  // 10.5 rounds to the even 10
      .Int16(2176, -1)
      .Int16(2186, 0)
      .UInt32(2196, 0x00112233)
      .UInt32(2216, 0x80000005);
  expected.Text(16 + 800, "\xB6\xC5", 400)
      .Text(2016 + 60, "Arial", 30)
      .Int16(2166 + 4, 12)  // 11.5 rounds to the even 12
      .Int16(2176 + 4, 0)
      .Int16(2186 + 4, -1)
      .UInt32(2196 + 8, 0x00FF0000)
      .UInt32(2216 + 8, 0x00FFFFFF);

  const std::string bytes = EncodeTableFile(table, 1, 3, kWidths);
  ASSERT_EQ(bytes.size(), 2236u);
  for (size_t i = 0; i < bytes.size(); ++i) ASSERT_EQ(bytes[i], expected.str()[i]) << "byte " << i;
}

TEST(TableFile, OneRecordPerRowEachWithTheDimensions) {
  TableModel table;
  table.At(2, 1).text = "row 2";
  table.At(3, 2).text = "row 3";
  const std::string bytes = EncodeTableFile(table, 3, 2, kWidths);
  ASSERT_EQ(bytes.size(), 3u * 2236);
  RecordBytes third;
  third.Dimensions(2, kWidths)
      .FreshCell(1, "")
      .FreshCell(2, "row 3")
      .FreshCell(3, "")
      .FreshCell(4, "")
      .FreshCell(5, "");
  EXPECT_EQ(bytes.substr(2 * 2236), third.str());
  EXPECT_EQ(bytes.substr(2236 + 16, 5), "row 2");
}

TEST(TableFile, LongTextIsCutAt400BytesWithoutSplittingACharacter) {
  TableModel table;
  table.At(1, 1).text = std::string(399, 'x') + "あ";  // the character would take bytes 400 and 401
  table.At(1, 2).text = std::string(398, 'y') + "あいう";
  table.At(1, 3).font.name = std::string(29, 'f') + "字";
  const std::string bytes = EncodeTableFile(table, 1, 3, kWidths);
  EXPECT_EQ(bytes.substr(16, 400), std::string(399, 'x') + ' ');
  EXPECT_EQ(bytes.substr(416, 400), std::string(398, 'y') + "\x82\xA0");
  EXPECT_EQ(bytes.substr(2016 + 60, 30), std::string(29, 'f') + ' ');
  const std::optional<DecodedTable> decoded = DecodeTableFile(bytes);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->cells[0][0].text, std::string(399, 'x'));
  EXPECT_EQ(decoded->cells[0][1].text, std::string(398, 'y') + "あ");
}

TEST(TableFile, TableSurvivesSavingAndLoading) {
  TableModel table;
  for (int r = 1; r <= 4; ++r)
    for (int c = 1; c <= 5; ++c) {
      Cell& cell = table.At(r, c);
      cell.text = "行" + std::to_string(r) + " 列" + std::to_string(c);
      cell.font = {c % 2 ? "ＭＳ ゴシック" : "Tahoma", 8.0 + r + c, r % 2 == 0, c % 2 == 0};
      cell.foreColor = 0x00010203u * static_cast<uint32_t>(r);
      cell.backColor = 0x80000000u + static_cast<uint32_t>(c);
    }
  const std::optional<DecodedTable> decoded = DecodeTableFile(EncodeTableFile(table, 4, 5, kWidths));
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->rows, 4);
  EXPECT_EQ(decoded->cols, 5);
  EXPECT_EQ(decoded->widths, kWidths);
  ASSERT_EQ(decoded->cells.size(), 4u);
  for (int r = 1; r <= 4; ++r)
    for (int c = 1; c <= 5; ++c) EXPECT_EQ(decoded->cells[r - 1][c - 1], table.At(r, c)) << r << "," << c;
}

TEST(TableFile, FilesWithoutAWholeRecordLoadNothing) {
  EXPECT_FALSE(DecodeTableFile(""));
  EXPECT_FALSE(DecodeTableFile(std::string(2235, ' ')));
}

TEST(TableFile, RecordCountIgnoresATrailingPartialRecord) {
  RecordBytes record;
  record.Dimensions(2, kWidths);
  const std::string bytes = record.str() + record.str() + record.str() + std::string(100, 'z');
  const std::optional<DecodedTable> decoded = DecodeTableFile(bytes);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->rows, 3);
  EXPECT_EQ(decoded->cells.size(), 3u);
}

TEST(TableFile, OnlyTheFirst34RecordsCount) {
  RecordBytes record;
  record.Dimensions(2, kWidths);
  std::string bytes;
  for (int i = 0; i < 40; ++i) bytes += record.str();
  const std::optional<DecodedTable> decoded = DecodeTableFile(bytes);
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->rows, 34);
  EXPECT_EQ(decoded->cells.size(), 34u);
}

TEST(TableFile, DimensionsComeFromTheFirstRecordOnly) {
  RecordBytes first, second;
  first.Dimensions(2, kWidths);
  second.Dimensions(4, {0, 1, 2, 3, 4, 5});
  const std::optional<DecodedTable> decoded = DecodeTableFile(first.str() + second.str());
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->cols, 2);
  EXPECT_EQ(decoded->widths, kWidths);
}

TEST(TableFile, ForeignValuesAreBroughtIntoRange) {
  RecordBytes record;
  record.Dimensions(9, {0, -5, 401, 400, 0, 32767});
  record.Int16(2166, 0).Int16(2168, -3).Int16(2170, 1000).Int16(2172, 999).Int16(2174, 1);
  record.Int16(2176, 1).Int16(2186, static_cast<int16_t>(0x8000));  // any non-zero flag is true
  record.UInt32(0, 0xDEADBEEF);                                     // reserved bytes are ignored
  const std::optional<DecodedTable> decoded = DecodeTableFile(record.str());
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->cols, 5);
  EXPECT_EQ(decoded->widths, (ColumnWidths{0, 0, 400, 400, 0, 400}));
  const TableRow& row = decoded->cells[0];
  EXPECT_EQ(row[0].font.size, 9);
  EXPECT_EQ(row[1].font.size, 9);
  EXPECT_EQ(row[2].font.size, 9);
  EXPECT_EQ(row[3].font.size, 999);
  EXPECT_EQ(row[4].font.size, 1);
  EXPECT_TRUE(row[0].font.bold);
  EXPECT_TRUE(row[0].font.italic);
  EXPECT_FALSE(row[1].font.bold);

  record.Int16(4, 0);
  EXPECT_EQ(DecodeTableFile(record.str())->cols, 1);
  record.Int16(4, -2);
  EXPECT_EQ(DecodeTableFile(record.str())->cols, 1);
}

TEST(TableFile, TextsLoseTrailingBlanksOnlyAndInvalidBytesAreReplaced) {
  RecordBytes record;
  record.Text(16, "  lead and trail  ", 400).Text(2016, " Font ", 30);
  record.Text(416, "a\x82 \x85\x40z", 400);
  const std::optional<DecodedTable> decoded = DecodeTableFile(record.str());
  ASSERT_TRUE(decoded);
  EXPECT_EQ(decoded->cells[0][0].text, "  lead and trail");
  EXPECT_EQ(decoded->cells[0][0].font.name, " Font");
  EXPECT_EQ(decoded->cells[0][1].text, "a\xEF\xBF\xBD \xEF\xBF\xBDz");
}

TEST(TableModel, ResetStylesKeepsTextsAndGivesEveryCellTheFontBlackOnWhite) {
  TableModel table;
  table.At(1, 1) = {"keep", {"Arial", 20, true, true}, 0x00123456, 0x00654321};
  table.At(34, 5).text = "last";
  const CellFont font{"ＭＳ ゴシック", 12, true, false};
  table.ResetStyles(font);
  for (int r = 1; r <= kMaxRows; ++r)
    for (int c = 1; c <= kMaxCols; ++c) {
      EXPECT_EQ(table.At(r, c).font, font);
      EXPECT_EQ(table.At(r, c).foreColor, 0x00000000u);
      EXPECT_EQ(table.At(r, c).backColor, 0x00FFFFFFu);
    }
  EXPECT_EQ(table.At(1, 1).text, "keep");
  EXPECT_EQ(table.At(34, 5).text, "last");
}

}  // namespace
}  // namespace qr

namespace qr {
namespace {

TEST(TableRecordCp932, CellsWithCharactersTheFileCannotKeepAreCountedInTheRowsSaved) {
  TableModel table;
  table.At(1, 5).text = "caf\xC3\xA9";                // é: one cell
  table.At(2, 1).text = "\xF0\x9F\x98\x80 and ?";     // an emoji beside a real question mark
  table.At(2, 1).font.name = "\xF0\x9F\x98\x80";      // the same cell again, by its font name
  table.At(2, 2).font.name = "Ｆｏｎｔ\xE2\x98\x83";  // ☃ in a font name
  table.At(3, 1).text = "表ｱ?";                       // all of code page 932
  table.At(4, 1).text = "\xC3\xA9";                   // beyond the rows saved
  EXPECT_EQ(CellsOutsideCp932(table, 3), 3);
  EXPECT_EQ(CellsOutsideCp932(table, 1), 1);
  EXPECT_EQ(CellsOutsideCp932(table, 34), 4);
}

}  // namespace
}  // namespace qr
