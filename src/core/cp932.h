#pragma once
// Code page 932 (Shift-JIS as Windows has it), used only where a file format demands it: the table data
// files and the wallpaper list file. Both directions give the same results on every platform: byte
// sequences are split into characters here, and only whole characters are handed to the system's
// converter, which must map them exactly (no best-fit substitutes).
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace qr {

// Code page 932 bytes of UTF-8 text; characters without a mapping (and invalid UTF-8) become '?'.
std::string EncodeCp932(std::string_view utf8);
// UTF-8 text of code page 932 bytes; a byte that does not start a mapped character becomes U+FFFD.
std::string DecodeCp932(std::string_view bytes);
// The largest n <= max such that the first n bytes end on a character boundary.
size_t Cp932CutLength(std::string_view bytes, size_t max);
// A fixed-length text field: encoded, cut without splitting a double-byte character, padded with blanks.
std::string Cp932Field(std::string_view utf8, size_t length);

// Length of the UTF-8 sequence starting at `pos` (< text.size()), or 0 when it is malformed (overlong
// forms, surrogates and values beyond U+10FFFF included).
size_t Utf8CharLength(std::string_view text, size_t pos);

// First byte of a double-byte character.
constexpr bool IsCp932LeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
// Second byte of a double-byte character.
constexpr bool IsCp932TrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

namespace detail {
// The system's converter, one half per platform. Each converts the whole text or returns nothing when
// any character in it has no exact mapping.
std::optional<std::string> SystemCp932ToUtf8(std::string_view bytes);
std::optional<std::string> SystemUtf8ToCp932(std::string_view utf8);
}  // namespace detail

}  // namespace qr
