#include "core/csv.h"

#include <gtest/gtest.h>

#include <vector>

namespace qr {
namespace {

// Every field of a line up to the end marker, as the importer asks for them.
std::vector<std::string> AllFields(std::string_view line) {
  CsvFieldSplitter splitter;
  std::vector<std::string> fields;
  for (std::string field = splitter.Next_Csv_Field(line, false); field != kCsvEndMarker;
       field = splitter.Next_Csv_Field(line, true)) {
    fields.push_back(field);
    if (fields.size() > 100) break;  // a splitter that never ends fails here instead of hanging
  }
  return fields;
}

using Fields = std::vector<std::string>;

TEST(NextCsvField, EndMarkerIsOneNulCharacter) {
  ASSERT_EQ(kCsvEndMarker.size(), 1u);
  EXPECT_EQ(kCsvEndMarker[0], '\0');
}

TEST(NextCsvField, PlainFieldsLoseBlanksAroundThem) {
  EXPECT_EQ(AllFields("a, b ,c"), (Fields{"a", "b", "c"}));
  EXPECT_EQ(AllFields("a, b"), (Fields{"a", "b"}));
  EXPECT_EQ(AllFields("  日本 語  ,x"), (Fields{"日本 語", "x"}));
}

TEST(NextCsvField, EmptyFieldsBetweenAndAfterCommas) {
  EXPECT_EQ(AllFields("a,,c"), (Fields{"a", "", "c"}));
  EXPECT_EQ(AllFields("a,"), (Fields{"a", ""}));
  EXPECT_EQ(AllFields("a, "), (Fields{"a", ""}));
  EXPECT_EQ(AllFields(",a"), (Fields{"", "a"}));
  EXPECT_EQ(AllFields(""), (Fields{""}));
  EXPECT_EQ(AllFields("   "), (Fields{""}));
}

TEST(NextCsvField, QuotedFieldKeepsBlanksAndCommasAndDropsTextAfterTheQuote) {
  EXPECT_EQ(AllFields("\"x,y\" z,w"), (Fields{"x,y", "w"}));
  EXPECT_EQ(AllFields("\"x, y\" ,z"), (Fields{"x, y", "z"}));
  EXPECT_EQ(AllFields("\" a \""), (Fields{" a "}));
  EXPECT_EQ(AllFields("\"a\","), (Fields{"a", ""}));
}

TEST(NextCsvField, QuoteAfterLeadingBlanksIsStillRecognised) {
  EXPECT_EQ(AllFields("1,   \"x,y\",2"), (Fields{"1", "x,y", "2"}));
}

TEST(NextCsvField, UnclosedQuoteTakesTheRestOfTheLine) {
  EXPECT_EQ(AllFields("a,\"b, c "), (Fields{"a", "b, c "}));
}

// Spreadsheets write a quote inside a quoted field doubled.
TEST(NextCsvField, DoubledQuoteInsideAQuotedFieldIsOneQuote) {
  EXPECT_EQ(AllFields("\"\"a,b"), (Fields{"", "b"}));
  EXPECT_EQ(AllFields("\"say \"\"hi\"\"\",x"), (Fields{"say \"hi\"", "x"}));
  EXPECT_EQ(AllFields("\"彼は\"\"こんにちは\"\"と言った\""), (Fields{"彼は\"こんにちは\"と言った"}));
  EXPECT_EQ(AllFields("\"\"\"引用\"\"だけ\""), (Fields{"\"引用\"だけ"}));
  EXPECT_EQ(AllFields("\"a,b,\"\"c\"\"\",d"), (Fields{"a,b,\"c\"", "d"}));
  EXPECT_EQ(AllFields("\"ab\"\"cd"), (Fields{"ab\"cd"}));  // never closed
}

TEST(NextCsvField, LineBreakInsideAQuotedFieldIsOneBlank) {
  EXPECT_EQ(AllFields("\"上\r\n下\",\"a\nb\rc\""), (Fields{"上 下", "a b c"}));
}

TEST(CsvRecordLength, EndsAtTheFirstLineBreakOutsideQuotes) {
  EXPECT_EQ(CsvRecordLength("a,b\r\nc", ','), 3u);
  EXPECT_EQ(CsvRecordLength("a,\"x\r\ny\",b\nc", ','), 10u);
  EXPECT_EQ(CsvRecordLength("\"x\"\"\ny\"\n", ','), 7u);
  EXPECT_EQ(CsvRecordLength("a\"b\nc\"", ','), 3u);               // a quote inside a plain field
  EXPECT_EQ(CsvRecordLength("a,\"never closed\nb,c", ','), 15u);  // runs to the end of its line
  EXPECT_EQ(CsvRecordLength("a\t\"x\ny\"", '\t'), 7u);
  EXPECT_EQ(CsvRecordLength("", ','), 0u);
}

TEST(NextCsvField, QuoteInsideAPlainFieldIsOrdinaryText) {
  EXPECT_EQ(AllFields("a\"b,c"), (Fields{"a\"b", "c"}));
}

TEST(NextCsvField, EndMarkerRepeatsAfterTheLastField) {
  CsvFieldSplitter splitter;
  EXPECT_EQ(splitter.Next_Csv_Field("a", false), "a");
  EXPECT_EQ(splitter.Next_Csv_Field("a", true), kCsvEndMarker);
  EXPECT_EQ(splitter.Next_Csv_Field("a", true), kCsvEndMarker);
}

TEST(NextCsvField, StartingANewLineDiscardsThePreviousPosition) {
  CsvFieldSplitter splitter;
  EXPECT_EQ(splitter.Next_Csv_Field("a,b,c", false), "a");
  EXPECT_EQ(splitter.Next_Csv_Field("x,y", false), "x");
  EXPECT_EQ(splitter.Next_Csv_Field("x,y", true), "y");
}

TEST(NextCsvField, SplittersAreIndependent) {
  CsvFieldSplitter first, second;
  EXPECT_EQ(first.Next_Csv_Field("a,b", false), "a");
  EXPECT_EQ(second.Next_Csv_Field("x,y,z", false), "x");
  EXPECT_EQ(first.Next_Csv_Field("a,b", true), "b");
  EXPECT_EQ(second.Next_Csv_Field("x,y,z", true), "y");
}

TEST(NextCsvField, ContinuingWithAShorterTextNeverReadsPastIt) {
  CsvFieldSplitter splitter;
  EXPECT_EQ(splitter.Next_Csv_Field("abc,defgh,ij", false), "abc");
  EXPECT_EQ(splitter.Next_Csv_Field("abc,d", true), "d");
  EXPECT_EQ(splitter.Next_Csv_Field("abc,d", true), kCsvEndMarker);
}

}  // namespace
}  // namespace qr
