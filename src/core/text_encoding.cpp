// Text encodings: UTF-8, UTF-16 and code page 932 told apart and converted.
#include "core/text_encoding.h"

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

TextEncoding DetectTextEncoding(std::string_view bytes) {
  if (StartsWith(bytes, kUtf8Mark)) return TextEncoding::Utf8;
  if (StartsWith(bytes, kUtf16LeMark)) return TextEncoding::Utf16Le;
  if (StartsWith(bytes, kUtf16BeMark)) return TextEncoding::Utf16Be;
  return IsNonAsciiUtf8(bytes) ? TextEncoding::Utf8 : TextEncoding::Cp932;
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
