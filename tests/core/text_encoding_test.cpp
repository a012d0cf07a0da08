#include "core/text_encoding.h"

#include <gtest/gtest.h>

#include "core/csv_import.h"
#include "support/test_data.h"

namespace qr {
namespace {

using namespace std::string_literals;
using Rows = std::vector<std::vector<std::string>>;

// 予定 in each encoding.
const std::string kYoteiUtf8 = "\xE4\xBA\x88\xE5\xAE\x9A";
const std::string kYoteiCp932 = "\x97\x5C\x92\xE8";
const std::string kYoteiUtf16Le = "\x88\x4E\x9A\x5B"s;
const std::string kYoteiUtf16Be = "\x4E\x88\x5B\x9A"s;

TEST(TextEncoding, MarksDecideFirst) {
  EXPECT_EQ(DetectTextEncoding("\xEF\xBB\xBF"
                               "a,b"),
            TextEncoding::Utf8);
  EXPECT_EQ(DetectTextEncoding("\xFF\xFE"
                               "a\0"s),
            TextEncoding::Utf16Le);
  EXPECT_EQ(DetectTextEncoding("\xFE\xFF"
                               "\0a"s),
            TextEncoding::Utf16Be);
  // A mark wins over content that is not valid in its encoding.
  EXPECT_EQ(DetectTextEncoding("\xEF\xBB\xBF" + kYoteiCp932), TextEncoding::Utf8);
}

TEST(TextEncoding, WithoutAMarkOnlyNonAsciiValidUtf8IsUtf8) {
  EXPECT_EQ(DetectTextEncoding(kYoteiUtf8 + ",x\r\n"), TextEncoding::Utf8);
  // Code page 932 text that is pure ASCII is valid UTF-8 too, and stays code page 932.
  EXPECT_EQ(DetectTextEncoding("a,b\r\nc\r\n"), TextEncoding::Cp932);
  EXPECT_EQ(DetectTextEncoding(""), TextEncoding::Cp932);
  EXPECT_EQ(DetectTextEncoding(kYoteiCp932 + ",x\r\n"), TextEncoding::Cp932);
  // Half-width katakana bytes are not UTF-8 either; a cut-off UTF-8 character at the end spoils it.
  EXPECT_EQ(DetectTextEncoding("\xB1\xB2"), TextEncoding::Cp932);
  EXPECT_EQ(DetectTextEncoding(kYoteiUtf8 + "\xE4\xBA"), TextEncoding::Cp932);
}

// Short code page 932 files of half-width katakana are valid UTF-8 of accented Latin, IPA or Greek.
TEST(TextEncoding, BytesThatReadAsBothAreTakenForJapanese) {
  EXPECT_EQ(DetectTextEncoding("\xCA\xB2,\xCF\xB2\xC5\xBD\r\n"), TextEncoding::Cp932);  // ﾊｲ,ﾏｲﾅｽ
  EXPECT_EQ(DecodeTextTableFile("\xCA\xB2,\xCF\xB2\xC5\xBD,\xC3\xBD\r\n", "csv"),
            (Rows{{"ﾊｲ", "ﾏｲﾅｽ", "ﾃｽ"}}));
  // Real UTF-8 keeps its reading: Japanese, or Latin whose code page 932 reading is not Japanese.
  EXPECT_EQ(DetectTextEncoding("\xEF\xBD\x8A\xEF\xBD\xB2"), TextEncoding::Utf8);  // ﾊｲ in UTF-8
  EXPECT_EQ(DetectTextEncoding("na\xC3\xAFve,\xC3\xA0"), TextEncoding::Utf8);     // à: 0xA0 is no character
  EXPECT_EQ(DetectTextEncoding("\xCE\xB1\xE2\x80\x9C"), TextEncoding::Utf8);      // α and a curly quote
}

// Files as Python's csv module and iconv wrote them: accented Latin in UTF-8 reads as written, and the
// short katakana words keep their reading in either encoding.
TEST(TextEncoding, AccentedUtf8IsWeighedAgainstKatakanaOverTheWholeFile) {
  const std::string accented = test::ReadTestData("text_files/accented_utf8.csv");
  ASSERT_FALSE(accented.empty());
  EXPECT_EQ(DetectTextEncoding(accented), TextEncoding::Utf8);
  EXPECT_EQ(DecodeTextTableFile(accented, "csv"),
            (Rows{{"Café", "Müller", "25°C", "Straße", "Crème brûlée"}}));
  const Rows katakana{{"ﾊｲ", "ﾏｲﾅｽ"}};
  EXPECT_EQ(DecodeTextTableFile(test::ReadTestData("text_files/katakana_cp932.csv"), "csv"), katakana);
  EXPECT_EQ(DecodeTextTableFile(test::ReadTestData("text_files/katakana_utf8.csv"), "csv"), katakana);
  // One accented word among katakana words does not turn a code page 932 file, nor the reverse.
  EXPECT_EQ(DetectTextEncoding("\xCA\xB2,\xCF\xB2\xC5\xBD,caf\xC3\xA9\r\n"), TextEncoding::Cp932);
  EXPECT_EQ(DetectTextEncoding(accented + "\xCA\xB2\r\n"), TextEncoding::Utf8);
  // The weighing reaches past the file's first 64 KB of ASCII.
  EXPECT_EQ(DetectTextEncoding(std::string(70000, 'a') + "\r\n" + accented), TextEncoding::Utf8);
}

// A file read only up to a fixed size may end inside a character: UTF-8 stays UTF-8 when told so.
TEST(TextEncoding, Utf8CutInsideACharacterIsStillUtf8WhenTheReadWasCutShort) {
  const std::string file = test::ReadTestData("text_files/japanese_utf8.csv");
  const size_t firstKanji = file.find("\xE8\xA1\x8C");  // 行
  ASSERT_NE(firstKanji, std::string::npos);
  for (size_t cutAfter = 1; cutAfter <= 2; ++cutAfter) {
    const std::string start = file.substr(0, firstKanji + 40 + cutAfter);
    EXPECT_EQ(DetectTextEncoding(start, true), TextEncoding::Utf8);
    EXPECT_EQ(DetectTextEncoding(start), TextEncoding::Cp932) << "a whole file ending so is damaged";
    EXPECT_EQ(ReadTextTable(start, "csv", true).rows.at(0).at(0), "1行目");
  }
  EXPECT_EQ(DetectTextEncoding(kYoteiUtf8 + "\xF0\x9F\x98", true), TextEncoding::Utf8);
  EXPECT_EQ(DetectTextEncoding(kYoteiCp932 + "\x97", true), TextEncoding::Cp932);
}

TEST(TextEncoding, DecodingDropsTheMarkAndReplacesWhatIsMalformed) {
  EXPECT_EQ(DecodeText("\xEF\xBB\xBF" + kYoteiUtf8, TextEncoding::Utf8), kYoteiUtf8);
  EXPECT_EQ(DecodeText("\xEF\xBB\xBF"
                       "a\xFF",
                       TextEncoding::Utf8),
            "a\xEF\xBF\xBD");
  EXPECT_EQ(DecodeText("\xFF\xFE" + kYoteiUtf16Le, TextEncoding::Utf16Le), kYoteiUtf8);
  EXPECT_EQ(DecodeText("\xFE\xFF" + kYoteiUtf16Be, TextEncoding::Utf16Be), kYoteiUtf8);
  // A surrogate pair (U+1F600), a lone high surrogate and an odd last byte.
  EXPECT_EQ(DecodeText("\x3D\xD8\x00\xDE"s, TextEncoding::Utf16Le), "\xF0\x9F\x98\x80");
  EXPECT_EQ(DecodeText("\x3D\xD8"
                       "a\0"s,
                       TextEncoding::Utf16Le),
            "\xEF\xBF\xBD"
            "a");
  EXPECT_EQ(DecodeText("a\0b"s, TextEncoding::Utf16Le), "a\xEF\xBF\xBD");
  EXPECT_EQ(DecodeText(kYoteiCp932, TextEncoding::Cp932), kYoteiUtf8);
}

TEST(TextEncoding, FitsCp932TellsCharactersTheCodePageLacks) {
  EXPECT_TRUE(FitsCp932("a?b " + kYoteiUtf8 + "ｱ"));
  EXPECT_FALSE(FitsCp932("\xF0\x9F\x98\x80"));  // an emoji
  EXPECT_FALSE(FitsCp932("caf\xC3\xA9?"));      // é, beside a real question mark
}

TEST(TextTableFile, SeparatorIsATabForUtf16AndForTxtAndTsv) {
  EXPECT_EQ(DetectTextTableFormat("a,b", "csv").separator, ',');
  EXPECT_EQ(DetectTextTableFormat("a,b", "").separator, ',');
  EXPECT_EQ(DetectTextTableFormat("a\tb", "TXT").separator, '\t');
  EXPECT_EQ(DetectTextTableFormat("a\tb", "tsv").separator, '\t');
  EXPECT_EQ(DetectTextTableFormat("\xFF\xFE"
                                  "a\0"s,
                                  "csv")
                .separator,
            '\t');
  EXPECT_EQ(DetectTextTableFormat("\xEF\xBB\xBF"
                                  "a",
                                  "csv")
                .separator,
            ',');
}

TEST(TextTableFile, EachEncodingGivesTheSameRows) {
  const Rows expected{{"予定", "x y"}, {"", "b"}};
  EXPECT_EQ(DecodeTextTableFile("\xEF\xBB\xBF" + kYoteiUtf8 + ",\"x y\"\r\n,b\r\n", "csv"), expected);
  EXPECT_EQ(DecodeTextTableFile(kYoteiUtf8 + ",\"x y\"\r\n,b\r\n", "csv"), expected);
  EXPECT_EQ(DecodeTextTableFile(kYoteiCp932 + ",\"x y\"\r\n,b\r\n", "csv"), expected);
  EXPECT_EQ(DecodeTextTableFile(kYoteiCp932 + "\t\"x y\"\r\n\tb", "tsv"), expected);
  const std::string le = "\xFF\xFE" + kYoteiUtf16Le + "\t\0\"\0x\0 \0y\0\"\0\r\0\n\0\t\0b\0\r\0\n\0"s;
  EXPECT_EQ(DecodeTextTableFile(le, "txt"), expected);
  const std::string be = "\xFE\xFF" + kYoteiUtf16Be + "\0\t\0\"\0x\0 \0y\0\"\0\r\0\n\0\t\0b"s;
  EXPECT_EQ(DecodeTextTableFile(be, "csv"), expected);
}

// LibreOffice's "Unicode CSV" is UTF-16 with commas; its "Unicode text" has tabs.
TEST(TextTableFile, Utf16WithCommasAndNoTabIsSplitAtCommas) {
  const std::string csv = "\xFF\xFE" + kYoteiUtf16Le + ",\0\"\0x\0,\0y\0\"\0\r\0\n\0a\0,\0b\0"s;
  EXPECT_EQ(DecodeTextTableFile(csv, "csv"), (Rows{{"予定", "x,y"}, {"a", "b"}}));
  const std::string tabbed = "\xFF\xFE" "a\0,\0b\0\t\0c\0"s;
  EXPECT_EQ(DecodeTextTableFile(tabbed, "csv"), (Rows{{"a,b", "c"}}));
}

// LibreOffice and Excel name their "Unicode text" ".txt" whether it holds tabs or commas.
TEST(TextTableFile, Utf16CommaFileNamedTxtIsSplitAtCommasWithItsQuotedLineBreaks) {
  const std::string file = test::ReadTestData("text_files/unicode_commas.txt");
  const Rows expected{{"名前", "メモ"}, {"山田", "一行目 二行目"}, {"a\tb", "c"}};
  EXPECT_EQ(DecodeTextTableFile(file, "txt"), expected);
  EXPECT_EQ(DecodeTextTableFile(file, "csv"), expected);
  EXPECT_EQ(DetectTextTableFormat(file, "tsv").separator, ',');
}

TEST(TextTableFile, CommasStayInTabSeparatedFieldsAndOnlyAMarkIsNoLine) {
  EXPECT_EQ(DecodeTextTableFile("a,b\tc", "txt"), (Rows{{"a,b", "c"}}));
  EXPECT_EQ(DecodeTextTableFile("\xEF\xBB\xBF", "csv"), Rows{});
  EXPECT_EQ(DecodeTextTableFile("\xFF\xFE", "txt"), Rows{});
}

}  // namespace
}  // namespace qr
