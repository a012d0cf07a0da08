// Text encodings: any bytes decode to valid UTF-8 in every encoding; valid Unicode written as UTF-8 or
// UTF-16 (either byte order) with its byte-order mark is detected as such and reads back unchanged.
#include <string>

#include "core/cp932.h"
#include "core/text_encoding.h"
#include "fuzz_check.h"

using namespace qr;

namespace {

char32_t CodePoint(std::string_view utf8, size_t pos, size_t length) {
  static constexpr unsigned char kLeadMask[5] = {0, 0x7F, 0x1F, 0x0F, 0x07};
  char32_t c = static_cast<unsigned char>(utf8[pos]) & kLeadMask[length];
  for (size_t i = 1; i < length; ++i) c = (c << 6) | (static_cast<unsigned char>(utf8[pos + i]) & 0x3F);
  return c;
}

void AppendUnit(std::string& out, char16_t unit, bool bigEndian) {
  const char high = static_cast<char>(unit >> 8);
  const char low = static_cast<char>(unit & 0xFF);
  out += bigEndian ? high : low;
  out += bigEndian ? low : high;
}

std::string Utf16Of(std::string_view utf8, bool bigEndian) {
  std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
  for (size_t pos = 0; pos < utf8.size();) {
    const size_t length = Utf8CharLength(utf8, pos);
    const char32_t c = CodePoint(utf8, pos, length);
    if (c >= 0x10000) {
      AppendUnit(out, static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)), bigEndian);
      AppendUnit(out, static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)), bigEndian);
    } else {
      AppendUnit(out, static_cast<char16_t>(c), bigEndian);
    }
    pos += length;
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes = fuzz::Bytes(data, size);
  for (const TextEncoding encoding :
       {TextEncoding::Cp932, TextEncoding::Utf8, TextEncoding::Utf16Le, TextEncoding::Utf16Be})
    FUZZ_CHECK(fuzz::IsUtf8(DecodeText(bytes, encoding)));
  DetectTextEncoding(bytes);  // any bytes: no fault

  if (!fuzz::IsUtf8(bytes)) return 0;
  const std::string withMark = "\xEF\xBB\xBF" + std::string(bytes);
  FUZZ_CHECK(DetectTextEncoding(withMark) == TextEncoding::Utf8);
  FUZZ_CHECK(DecodeText(withMark, TextEncoding::Utf8) == bytes);
  for (const bool bigEndian : {false, true}) {
    const std::string utf16 = Utf16Of(bytes, bigEndian);
    const TextEncoding expected = bigEndian ? TextEncoding::Utf16Be : TextEncoding::Utf16Le;
    FUZZ_CHECK(DetectTextEncoding(utf16) == expected);
    FUZZ_CHECK(DecodeText(utf16, expected) == bytes);
  }
  return 0;
}
