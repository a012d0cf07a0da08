// Code page 932 for the native build. iconv supplies the mapping, but a conversion through it costs far
// more than the short texts the file formats hold, so its mapping is read once into two tables: every
// single byte and every lead and trail byte pair, and back from each code point that iconv encodes to
// bytes that decode to it again.
#include <iconv.h>

#include <array>
#include <cstdint>
#include <memory>

#include "core/cp932.h"

namespace qr::detail {

namespace {

constexpr uint32_t kUnmapped = 0xFFFFFFFF;
constexpr size_t kBmpSize = 0x10000;  // every code point code page 932 maps to lies in the BMP

class Iconv {
 public:
  Iconv(const char* to, const char* from) : handle_(iconv_open(to, from)) {}
  ~Iconv() {
    if (Valid()) iconv_close(handle_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;

  // The whole text converted, or nothing when any part of it has no exact mapping.
  std::optional<std::string> Convert(std::string_view in) {
    if (!Valid()) return std::nullopt;
    iconv(handle_, nullptr, nullptr, nullptr, nullptr);  // back to the initial state after a failure
    std::string out(in.size() * 4 + 4, '\0');
    char* inPtr = const_cast<char*>(in.data());
    size_t inLeft = in.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    const size_t result = iconv(handle_, &inPtr, &inLeft, &outPtr, &outLeft);
    if (result != 0 || inLeft != 0) return std::nullopt;  // failure, or an inexact (irreversible) mapping
    out.resize(out.size() - outLeft);
    return out;
  }

 private:
  bool Valid() const { return handle_ != reinterpret_cast<iconv_t>(-1); }
  iconv_t handle_;
};

// The code point of a UTF-8 text of exactly one character, or kUnmapped.
uint32_t SingleCodePoint(std::string_view utf8) {
  if (utf8.empty()) return kUnmapped;
  const auto b0 = static_cast<unsigned char>(utf8[0]);
  const size_t length = b0 < 0x80 ? 1 : b0 < 0xE0 ? 2 : b0 < 0xF0 ? 3 : 4;
  if (utf8.size() != length) return kUnmapped;
  if (length == 1) return b0;
  uint32_t value = b0 & (0x7F >> length);
  for (size_t i = 1; i < length; ++i) value = (value << 6) | (static_cast<unsigned char>(utf8[i]) & 0x3F);
  return value;
}

void AppendUtf8(std::string& out, uint32_t cp) {
  char bytes[3];
  size_t length = 0;
  if (cp < 0x80) {
    bytes[length++] = static_cast<char>(cp);
  } else if (cp < 0x800) {
    bytes[length++] = static_cast<char>(0xC0 | (cp >> 6));
    bytes[length++] = static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    bytes[length++] = static_cast<char>(0xE0 | (cp >> 12));
    bytes[length++] = static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    bytes[length++] = static_cast<char>(0x80 | (cp & 0x3F));
  }
  out.append(bytes, length);
}

// The code point of the well-formed UTF-8 character at `pos` (advancing `pos`), or kUnmapped.
uint32_t NextCodePoint(std::string_view text, size_t& pos) {
  const size_t length = Utf8CharLength(text, pos);
  if (length == 0) return kUnmapped;
  const auto b0 = static_cast<unsigned char>(text[pos]);
  uint32_t value = length == 1 ? b0 : b0 & (0x7Fu >> length);
  for (size_t i = 1; i < length; ++i)
    value = (value << 6) | (static_cast<unsigned char>(text[pos + i]) & 0x3F);
  pos += length;
  return value;
}

struct Tables {
  std::array<uint32_t, 0x10000> toUnicode;  // by byte (0x00nn) or lead and trail byte (0xLLTT)
  std::array<uint32_t, kBmpSize> toCp932;   // by code point: 0x00nn or 0xLLTT
};

std::unique_ptr<Tables> ReadMapping() {
  auto tables = std::make_unique<Tables>();
  tables->toUnicode.fill(kUnmapped);
  tables->toCp932.fill(kUnmapped);
  Iconv decode("UTF-8", "CP932");
  Iconv encode("CP932", "UTF-8");
  const auto learn = [&](uint32_t code, std::string_view bytes) {
    const std::optional<std::string> utf8 = decode.Convert(bytes);
    const uint32_t cp = utf8 ? SingleCodePoint(*utf8) : kUnmapped;
    if (cp == kUnmapped || cp >= kBmpSize) return;
    tables->toUnicode[code] = cp;
    // Several byte pairs may decode to one code point; iconv's own choice is the one written.
    const std::optional<std::string> back = encode.Convert(*utf8);
    if (!back || back->empty() || back->size() > 2) return;
    const auto first = static_cast<unsigned char>((*back)[0]);
    const uint32_t backCode =
        back->size() == 1 ? first : (first << 8) | static_cast<unsigned char>((*back)[1]);
    if (backCode == code) tables->toCp932[cp] = code;
  };
  for (uint32_t b = 0; b < 0x100; ++b) {
    if (IsCp932LeadByte(static_cast<unsigned char>(b))) continue;
    const char byte = static_cast<char>(b);
    learn(b, std::string_view(&byte, 1));
  }
  for (uint32_t lead = 0x80; lead < 0x100; ++lead) {
    if (!IsCp932LeadByte(static_cast<unsigned char>(lead))) continue;
    for (uint32_t trail = 0; trail < 0x100; ++trail) {
      if (!IsCp932TrailByte(static_cast<unsigned char>(trail))) continue;
      const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      learn((lead << 8) | trail, std::string_view(pair, 2));
    }
  }
  return tables;
}

const Tables& Mapping() {
  static const std::unique_ptr<Tables> tables = ReadMapping();
  return *tables;
}

}  // namespace

std::optional<std::string> SystemCp932ToUtf8(std::string_view bytes) {
  const Tables& tables = Mapping();
  std::string out;
  out.reserve(bytes.size() * 3 / 2);
  for (size_t pos = 0; pos < bytes.size();) {
    uint32_t code = static_cast<unsigned char>(bytes[pos++]);
    if (IsCp932LeadByte(static_cast<unsigned char>(code))) {
      if (pos == bytes.size()) return std::nullopt;
      code = (code << 8) | static_cast<unsigned char>(bytes[pos++]);
    }
    const uint32_t cp = tables.toUnicode[code];
    if (cp == kUnmapped) return std::nullopt;
    AppendUtf8(out, cp);
  }
  return out;
}

std::optional<std::string> SystemUtf8ToCp932(std::string_view utf8) {
  const Tables& tables = Mapping();
  std::string out;
  out.reserve(utf8.size());
  for (size_t pos = 0; pos < utf8.size();) {
    const uint32_t cp = NextCodePoint(utf8, pos);
    if (cp >= kBmpSize) return std::nullopt;  // unmapped, malformed, or beyond the BMP
    const uint32_t code = tables.toCp932[cp];
    if (code == kUnmapped) return std::nullopt;
    if (code > 0xFF) out += static_cast<char>(code >> 8);
    out += static_cast<char>(code & 0xFF);
  }
  return out;
}

}  // namespace qr::detail
