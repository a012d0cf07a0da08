// Telling a table file's encoding from its bytes, and decoding it into UTF-8.
#include "core/text_encoding.h"

#include <algorithm>
#include <cstdint>

#include "core/cp932.h"

namespace qr {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr std::string_view kUtf16BeMark = "\xFE\xFF";
constexpr char32_t kReplacement = 0xFFFD;

bool StartsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

// Valid UTF-8 with at least one non-ASCII character.
bool IsNonAsciiUtf8(std::string_view bytes) {
  bool nonAscii = false;
  for (size_t pos = 0; pos < bytes.size();) {
    const size_t length = Utf8CharLength(bytes, pos);
    if (length == 0) return false;
    nonAscii = nonAscii || length > 1;
    pos += length;
  }
  return nonAscii;
}

// The code point of a well-formed UTF-8 sequence of `length` bytes.
char32_t CodePointAt(std::string_view text, size_t pos, size_t length) {
  const auto byte = [&](size_t i) {
    return static_cast<char32_t>(static_cast<unsigned char>(text[pos + i]));
  };
  if (length == 1) return byte(0);
  static constexpr char32_t kLeadMask[5] = {0, 0, 0x1F, 0x0F, 0x07};
  char32_t c = byte(0) & kLeadMask[length];
  for (size_t i = 1; i < length; ++i) c = (c << 6) | (byte(i) & 0x3F);
  return c;
}

// Kana, kanji, CJK punctuation, full-width forms and half-width katakana.
bool IsJapanese(char32_t c) {
  return (c >= 0x3000 && c <= 0x30FF) || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) ||
         (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFF01 && c <= 0xFF9F) || (c >= 0xFFE0 && c <= 0xFFE5);
}

// True when every non-ASCII character of the UTF-8 text passes `test`.
template <typename Test>
bool AllNonAscii(std::string_view utf8, Test test) {
  for (size_t pos = 0; pos < utf8.size();) {
    const size_t length = Utf8CharLength(utf8, pos);
    if (length == 0) return false;
    if (length > 1 && !test(CodePointAt(utf8, pos, length))) return false;
    pos += length;
  }
  return true;
}

bool IsAsciiLetterOrDigit(char ch) {
  return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9');
}

// Weighs the UTF-8 reading of text whose every sequence is two bytes: real accented text puts its
// letters and signs (U+00A0 to U+024F: Latin-1, Latin Extended A and B) inside words, beside an ASCII
// letter or digit (Café, Müller, 25°C); half-width katakana read as UTF-8 stands apart from ASCII
// letters and mostly gives IPA, Greek and the like (ﾊｲ is ʲ, ﾏｲﾅｽ is ϲŽ). True when more characters
// look like the former.
bool LooksLikeAccentedText(std::string_view utf8) {
  size_t inWords = 0;
  size_t apart = 0;
  for (size_t pos = 0; pos < utf8.size();) {
    const size_t length = Utf8CharLength(utf8, pos);
    if (length > 1) {
      const char32_t c = CodePointAt(utf8, pos, length);
      const bool touchesWord = (pos > 0 && IsAsciiLetterOrDigit(utf8[pos - 1])) ||
                               (pos + length < utf8.size() && IsAsciiLetterOrDigit(utf8[pos + length]));
      ((c >= 0xA0 && c <= 0x24F && touchesWord) ? inWords : apart) += 1;
    }
    pos += std::max<size_t>(length, 1);
  }
  return inWords > apart;
}

// Bytes that read as UTF-8 and as code page 932 alike: code page 932 texts of half-width katakana are
// valid UTF-8 of two-byte sequences below U+0800 only where the katakana pair up just so (ﾊｲ, ﾏｲﾅｽ),
// which real text rarely does for more than a few words; UTF-8 with any character from U+0800 on
// (Japanese, punctuation, symbols) stays UTF-8. The whole text is weighed, not its start.
bool ReadsBetterAsCp932(std::string_view bytes) {
  if (!AllNonAscii(bytes, [](char32_t c) { return c < 0x800; })) return false;
  if (!AllNonAscii(DecodeCp932(bytes), IsJapanese)) return false;
  return !LooksLikeAccentedText(bytes);
}

// Up to three bytes at the end that start a UTF-8 character and would need more: what a read cut
// short at a fixed size leaves of the character it cut.
std::string_view WithoutCutUtf8Character(std::string_view bytes) {
  for (size_t back = 1; back <= 3 && back <= bytes.size(); ++back) {
    const auto byte = static_cast<unsigned char>(bytes[bytes.size() - back]);
    if ((byte & 0xC0) == 0x80) continue;  // a continuation byte: look further back
    const size_t needed = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
    return needed > back ? bytes.substr(0, bytes.size() - back) : bytes;
  }
  return bytes;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

std::string DecodeUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (size_t pos = 0; pos < bytes.size();) {
    const size_t length = Utf8CharLength(bytes, pos);
    if (length == 0) {
      AppendUtf8(out, kReplacement);
      ++pos;
    } else {
      out.append(bytes.substr(pos, length));
      pos += length;
    }
  }
  return out;
}

std::string DecodeUtf16(std::string_view bytes, bool bigEndian) {
  const auto unit = [&](size_t pos) -> char16_t {
    const auto b0 = static_cast<unsigned char>(bytes[pos]);
    const auto b1 = static_cast<unsigned char>(bytes[pos + 1]);
    return static_cast<char16_t>(bigEndian ? (b0 << 8 | b1) : (b1 << 8 | b0));
  };
  const auto isHigh = [](char16_t u) { return u >= 0xD800 && u <= 0xDBFF; };
  const auto isLow = [](char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; };
  std::string out;
  out.reserve(bytes.size() * 3 / 2);
  size_t pos = 0;
  for (; pos + 1 < bytes.size(); pos += 2) {
    const char16_t first = unit(pos);
    if (isHigh(first) && pos + 3 < bytes.size() && isLow(unit(pos + 2))) {
      AppendUtf8(out, 0x10000 + ((char32_t{first} - 0xD800) << 10) + (char32_t{unit(pos + 2)} - 0xDC00));
      pos += 2;
    } else {
      AppendUtf8(out, isHigh(first) || isLow(first) ? kReplacement : char32_t{first});
    }
  }
  if (pos < bytes.size()) AppendUtf8(out, kReplacement);
  return out;
}

}  // namespace

TextEncoding DetectTextEncoding(std::string_view bytes, bool cutShort) {
  if (StartsWith(bytes, kUtf8Mark)) return TextEncoding::Utf8;
  if (StartsWith(bytes, kUtf16LeMark)) return TextEncoding::Utf16Le;
  if (StartsWith(bytes, kUtf16BeMark)) return TextEncoding::Utf16Be;
  if (cutShort) bytes = WithoutCutUtf8Character(bytes);
  return IsNonAsciiUtf8(bytes) && !ReadsBetterAsCp932(bytes) ? TextEncoding::Utf8 : TextEncoding::Cp932;
}

std::string DecodeText(std::string_view bytes, TextEncoding encoding) {
  switch (encoding) {
    case TextEncoding::Utf8:
      if (StartsWith(bytes, kUtf8Mark)) bytes.remove_prefix(kUtf8Mark.size());
      return DecodeUtf8(bytes);
    case TextEncoding::Utf16Le:
      if (StartsWith(bytes, kUtf16LeMark)) bytes.remove_prefix(kUtf16LeMark.size());
      return DecodeUtf16(bytes, false);
    case TextEncoding::Utf16Be:
      if (StartsWith(bytes, kUtf16BeMark)) bytes.remove_prefix(kUtf16BeMark.size());
      return DecodeUtf16(bytes, true);
    case TextEncoding::Cp932:
      break;
  }
  return DecodeCp932(bytes);
}

// A '?' that was not in the text marks a character the code page lacks.
bool FitsCp932(std::string_view utf8) {
  size_t questionMarks = 0;
  for (char ch : utf8) questionMarks += ch == '?' ? 1 : 0;
  size_t encodedMarks = 0;
  for (char ch : EncodeCp932(utf8)) encodedMarks += ch == '?' ? 1 : 0;
  return encodedMarks == questionMarks;
}

}  // namespace qr
