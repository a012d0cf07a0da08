#include "core/cp932.h"

#include <gtest/gtest.h>

namespace qr {
namespace {

const std::string kReplacement = "\xEF\xBF\xBD";  // U+FFFD

TEST(Cp932, EncodesJapaneseAndAsciiToShiftJisBytes) {
  EXPECT_EQ(EncodeCp932("日本語"), "\x93\xFA\x96\x7B\x8C\xEA");
  EXPECT_EQ(EncodeCp932("aあb"),
            "a\x82\xA0"
            "b");
  EXPECT_EQ(EncodeCp932("ｱｲ"), "\xB1\xB2");            // half-width katakana: one byte each
  EXPECT_EQ(EncodeCp932("ＭＳ"), "\x82\x6C\x82\x72");  // full-width Latin
  EXPECT_EQ(EncodeCp932("表ソ"), "\x95\x5C\x83\x5C");  // second bytes equal to the backslash
  EXPECT_EQ(EncodeCp932("C:\\~"), "C:\\~");            // backslash and tilde stay themselves
  EXPECT_EQ(EncodeCp932("～"), "\x81\x60");            // full-width tilde, the Windows mapping
  EXPECT_EQ(EncodeCp932(""), "");
}

TEST(Cp932, UnmappableAndMalformedTextBecomesQuestionMarks) {
  EXPECT_EQ(EncodeCp932("café"), "caf?");
  EXPECT_EQ(EncodeCp932("C:\\¥x"), "C:\\?x");  // no best-fit stand-in: that would make it a separator
  EXPECT_EQ(EncodeCp932("a😀b"), "a?b");
  EXPECT_EQ(EncodeCp932("日é本"), "\x93\xFA?\x96\x7B");  // an unmappable character spoils only itself
  EXPECT_EQ(EncodeCp932("a\xFF"
                        "b"),
            "a?b");
  EXPECT_EQ(EncodeCp932("a\xE3\x81"), "a??");     // truncated sequence
  EXPECT_EQ(EncodeCp932("\xC0\xAF"), "??");       // overlong form of '/'
  EXPECT_EQ(EncodeCp932("\xED\xA0\x80"), "???");  // a surrogate
}

TEST(Cp932, DecodesShiftJisBytesToUtf8) {
  EXPECT_EQ(DecodeCp932("\x93\xFA\x96\x7B\x8C\xEA"), "日本語");
  EXPECT_EQ(DecodeCp932("\x95\x5C\x83\x5C"), "表ソ");
  EXPECT_EQ(DecodeCp932("\xB1 C:\\"), "ｱ C:\\");
  EXPECT_EQ(DecodeCp932(std::string("a\0b", 3)), std::string("a\0b", 3));
}

TEST(Cp932, InvalidBytesBecomeReplacementCharacters) {
  EXPECT_EQ(DecodeCp932("a\x82"), "a" + kReplacement);    // lead byte at the end
  EXPECT_EQ(DecodeCp932("\x82 x"), kReplacement + " x");  // lead byte before a blank keeps the blank
  EXPECT_EQ(DecodeCp932("\x80"), kReplacement);
  EXPECT_EQ(DecodeCp932("\xA0\xFD\xFE\xFF"), kReplacement + kReplacement + kReplacement + kReplacement);
  EXPECT_EQ(DecodeCp932("\x85\x40\x82\xA0"), kReplacement + "あ");  // unassigned pair, then a valid one
}

TEST(Cp932, TextSurvivesEncodingAndDecoding) {
  const std::string text = "壁紙作成 C:\\データ\\表 ｷｬﾝｾﾙ ＭＳ Ｐゴシック ①Ⅰ";
  EXPECT_EQ(DecodeCp932(EncodeCp932(text)), text);
}

TEST(Cp932CutLength, NeverSplitsADoubleByteCharacter) {
  const std::string bytes = EncodeCp932("aあい");  // 1 + 2 + 2 bytes
  EXPECT_EQ(Cp932CutLength(bytes, 10), 5u);
  EXPECT_EQ(Cp932CutLength(bytes, 5), 5u);
  EXPECT_EQ(Cp932CutLength(bytes, 4), 3u);
  EXPECT_EQ(Cp932CutLength(bytes, 2), 1u);
  EXPECT_EQ(Cp932CutLength(bytes, 0), 0u);
}

TEST(Cp932CutLength, ScansFromTheStartSoSecondBytesInTheLeadRangeDoNotMislead) {
  const std::string bytes = EncodeCp932("黒a");  // 0x8D 0x95 'a': 0x95 looks like a lead byte
  ASSERT_EQ(bytes,
            "\x8D\x95"
            "a");
  EXPECT_EQ(Cp932CutLength(bytes, 2), 2u);
  EXPECT_EQ(Cp932CutLength(bytes, 1), 0u);
}

TEST(Cp932Field, PadsWithBlanksAndCutsOnACharacterBoundary) {
  EXPECT_EQ(Cp932Field("あ", 5), "\x82\xA0   ");
  EXPECT_EQ(Cp932Field("abあ", 3), "ab ");
  EXPECT_EQ(Cp932Field("abcdef", 3), "abc");
  EXPECT_EQ(Cp932Field("", 2), "  ");
}

}  // namespace
}  // namespace qr
