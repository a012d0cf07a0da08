#pragma once
// What the harnesses share: a check that stops the run with the broken property, and input helpers.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace qr::fuzz {

[[noreturn]] inline void Fail(const char* condition, const char* file, int line) {
  std::fprintf(stderr, "%s:%d: property broken: %s\n", file, line, condition);
  std::abort();
}

inline std::string_view Bytes(const uint8_t* data, size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// Well-formed UTF-8: no overlong forms, surrogates or values beyond U+10FFFF.
inline bool IsUtf8(std::string_view text) {
  for (size_t pos = 0; pos < text.size();) {
    const auto b0 = static_cast<unsigned char>(text[pos]);
    size_t length = 1;
    unsigned low = 0x80, high = 0xBF;
    if (b0 < 0x80) {
      ++pos;
      continue;
    } else if (b0 >= 0xC2 && b0 <= 0xDF) {
      length = 2;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
      length = 3;
      low = b0 == 0xE0 ? 0xA0 : 0x80;
      high = b0 == 0xED ? 0x9F : 0xBF;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
      length = 4;
      low = b0 == 0xF0 ? 0x90 : 0x80;
      high = b0 == 0xF4 ? 0x8F : 0xBF;
    } else {
      return false;
    }
    if (pos + length > text.size()) return false;
    for (size_t i = 1; i < length; ++i) {
      const auto b = static_cast<unsigned char>(text[pos + i]);
      if (i == 1 ? (b < low || b > high) : (b < 0x80 || b > 0xBF)) return false;
    }
    pos += length;
  }
  return true;
}

// U+FFFD stands for bytes that did not decode; such text is not expected to survive a round trip.
inline bool HasReplacement(std::string_view text) {
  return text.find("\xEF\xBF\xBD") != std::string_view::npos;
}

}  // namespace qr::fuzz

#define FUZZ_CHECK(condition) ((condition) ? void(0) : ::qr::fuzz::Fail(#condition, __FILE__, __LINE__))
