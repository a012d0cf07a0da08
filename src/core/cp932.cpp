// Code page 932 text where a file format demands it: the rules shared by every platform.
#include "core/cp932.h"

namespace qr {

namespace {

constexpr std::string_view kReplacementUtf8 = "\xEF\xBF\xBD";  // U+FFFD

bool IsAscii(unsigned char b) { return b < 0x80; }
bool IsHalfWidthKatakana(unsigned char b) { return b >= 0xA1 && b <= 0xDF; }

// Bytes of the character starting at `pos`, or 0 when no character can start there.
size_t Cp932CharLength(std::string_view bytes, size_t pos) {
  const auto b = static_cast<unsigned char>(bytes[pos]);
  if (IsAscii(b) || IsHalfWidthKatakana(b)) return 1;
  if (IsCp932LeadByte(b) && pos + 1 < bytes.size() &&
      IsCp932TrailByte(static_cast<unsigned char>(bytes[pos + 1])))
    return 2;
  return 0;
}

// Converts characters one at a time after the whole run failed, so one unmapped character costs only
// itself.
template <typename CharLength, typename Convert>
void ConvertEachChar(std::string_view run, std::string& out, CharLength charLength, Convert convert,
                     std::string_view replacement) {
  for (size_t pos = 0; pos < run.size();) {
    const size_t length = charLength(run, pos);
    const std::optional<std::string> converted = convert(run.substr(pos, length));
    out += converted ? *converted : std::string(replacement);
    pos += length;
  }
}

// Splits `text` into ASCII (copied as is), well-formed non-ASCII runs (converted by the system, falling
// back to single characters) and malformed bytes (each replaced).
template <typename CharLength, typename Convert>
std::string ConvertText(std::string_view text, CharLength charLength, Convert convert,
                        std::string_view replacement) {
  std::string out;
  out.reserve(text.size() * 3 / 2);
  size_t pos = 0;
  while (pos < text.size()) {
    if (IsAscii(static_cast<unsigned char>(text[pos]))) {
      const size_t asciiStart = pos;
      while (pos < text.size() && IsAscii(static_cast<unsigned char>(text[pos]))) ++pos;
      out.append(text.substr(asciiStart, pos - asciiStart));
      continue;
    }
    const size_t runStart = pos;
    size_t length = 0;
    while (pos < text.size() && !IsAscii(static_cast<unsigned char>(text[pos])) &&
           (length = charLength(text, pos)) != 0)
      pos += length;
    const std::string_view run = text.substr(runStart, pos - runStart);
    if (!run.empty()) {
      if (const std::optional<std::string> converted = convert(run))
        out += *converted;
      else
        ConvertEachChar(run, out, charLength, convert, replacement);
    }
    if (pos < text.size() && !IsAscii(static_cast<unsigned char>(text[pos])) && charLength(text, pos) == 0) {
      out += replacement;
      ++pos;
    }
  }
  return out;
}

// Some converters substitute a look-alike for a character the code page lacks (glibc's turns U+00A5 into
// 0x5C, which would make a yen sign a path separator). Only conversions that come back unchanged count.
std::optional<std::string> ExactUtf8ToCp932(std::string_view utf8) {
  std::optional<std::string> bytes = detail::SystemUtf8ToCp932(utf8);
  if (!bytes) return std::nullopt;
  const std::optional<std::string> back = detail::SystemCp932ToUtf8(*bytes);
  if (!back || *back != utf8) return std::nullopt;
  return bytes;
}

}  // namespace

std::string EncodeCp932(std::string_view utf8) {
  return ConvertText(utf8, Utf8CharLength, ExactUtf8ToCp932, "?");
}

std::string DecodeCp932(std::string_view bytes) {
  return ConvertText(bytes, Cp932CharLength, detail::SystemCp932ToUtf8, kReplacementUtf8);
}

size_t Cp932CutLength(std::string_view bytes, size_t max) {
  if (bytes.size() <= max) return bytes.size();
  size_t pos = 0;
  while (pos < bytes.size()) {
    const bool doubleByte = IsCp932LeadByte(static_cast<unsigned char>(bytes[pos])) && pos + 1 < bytes.size();
    const size_t next = pos + (doubleByte ? 2 : 1);
    if (next > max) break;
    pos = next;
  }
  return pos;
}

std::string Cp932Field(std::string_view utf8, size_t length) {
  std::string field = EncodeCp932(utf8);
  field.resize(Cp932CutLength(field, length));
  field.append(length - field.size(), ' ');
  return field;
}

size_t Utf8CharLength(std::string_view text, size_t pos) {
  const auto b0 = static_cast<unsigned char>(text[pos]);
  if (b0 < 0x80) return 1;
  size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    length = 2;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    length = 3;
    if (b0 == 0xE0) low = 0xA0;
    if (b0 == 0xED) high = 0x9F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    length = 4;
    if (b0 == 0xF0) low = 0x90;
    if (b0 == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (pos + length > text.size()) return 0;
  for (size_t i = 1; i < length; ++i) {
    const auto b = static_cast<unsigned char>(text[pos + i]);
    if (i == 1 ? (b < low || b > high) : (b < 0x80 || b > 0xBF)) return 0;
  }
  return length;
}

}  // namespace qr
