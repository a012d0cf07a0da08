#include "win32/text.h"

#include <gtest/gtest.h>

namespace qr::win {
namespace {

TEST(Text, JapaneseAndOtherScriptsSurviveTheRoundTrip) {
  const std::string samples[] = {
      "壁紙ﾌｧｲﾙを指定してください！",  // kanji, kana, half-width kana, full-width mark
      "한국어 파일",                   // Hangul: not in code page 932
      "emoji 😀 and 𠮷",                // characters outside the BMP (surrogate pairs)
      "plain ASCII \t\r\n",
  };
  for (const std::string& utf8 : samples) EXPECT_EQ(Utf8(Wide(utf8)), utf8) << utf8;
}

TEST(Text, ConvertsToTheExpectedUtf16Units) {
  EXPECT_EQ(Wide("壁紙"), L"\u58C1\u7D19");
  EXPECT_EQ(Wide("😀"), std::wstring(L"\xD83D\xDE00"));
  EXPECT_EQ(Utf8(L"\uD55C"), "한");
  EXPECT_EQ(Wide(""), L"");
  EXPECT_EQ(Utf8(L""), "");
}

TEST(Text, EmbeddedNulIsKept) {
  const std::string withNul("a\0b", 3);
  EXPECT_EQ(Wide(withNul), std::wstring(L"a\0b", 3));
  EXPECT_EQ(Utf8(Wide(withNul)), withNul);
}

}  // namespace
}  // namespace qr::win
