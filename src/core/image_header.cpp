// Picture headers read without decoding: type and size.
#include "core/image_header.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

namespace qr {

namespace {

uint32_t BigEndian16(const uint8_t* p) { return (uint32_t{p[0]} << 8) | p[1]; }
uint32_t BigEndian32(const uint8_t* p) { return (BigEndian16(p) << 16) | BigEndian16(p + 2); }
uint32_t LittleEndian16(const uint8_t* p) { return (uint32_t{p[1]} << 8) | p[0]; }
int32_t LittleEndian32(const uint8_t* p) {
  return static_cast<int32_t>((LittleEndian16(p + 2) << 16) | LittleEndian16(p));
}

std::optional<Size> Checked(int64_t w, int64_t h) {
  if (w < 0 || h < 0 || w > INT32_MAX || h > INT32_MAX) return std::nullopt;
  return Size{static_cast<int32_t>(w), static_cast<int32_t>(h)};
}

// Start-of-frame markers: baseline, extended, progressive, lossless and their arithmetic variants.
bool IsStartOfFrame(uint8_t marker) {
  return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// Walks the JPEG segments up to the frame header. The walk is bounded, so a file of fill bytes or
// empty segments cannot keep it going.
std::optional<Size> JpegSize(const HeaderReader& read) {
  constexpr int kMaxSegments = 4096;
  int64_t offset = 2;
  for (int i = 0; i < kMaxSegments; ++i) {
    std::array<uint8_t, 4> head{};
    if (!read(offset, head.data(), head.size()) || head[0] != 0xFF) return std::nullopt;
    const uint8_t marker = head[1];
    if (marker == 0xFF) {  // fill byte
      ++offset;
      continue;
    }
    if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {  // no length
      offset += 2;
      continue;
    }
    if (marker == 0xDA || marker == 0xD9) return std::nullopt;  // image data before any frame header
    if (IsStartOfFrame(marker)) {
      std::array<uint8_t, 5> frame{};  // precision, height, width
      if (!read(offset + 4, frame.data(), frame.size())) return std::nullopt;
      return Checked(BigEndian16(&frame[3]), BigEndian16(&frame[1]));
    }
    offset += 2 + BigEndian16(&head[2]);
  }
  return std::nullopt;
}

}  // namespace

bool JpegReachesItsEnd(std::string_view bytes) {
  if (bytes.substr(0, 2) != "\xFF\xD8") return false;
  const HeaderReader read = [&](int64_t offset, uint8_t* buffer, size_t count) {
    if (offset < 0 || static_cast<uint64_t>(offset) + count > bytes.size()) return false;
    std::copy_n(bytes.data() + offset, count, reinterpret_cast<char*>(buffer));
    return true;
  };
  constexpr int kMaxSegments = 4096;
  int64_t offset = 2;
  for (int i = 0; i < kMaxSegments; ++i) {
    std::array<uint8_t, 4> head{};
    if (!read(offset, head.data(), head.size()) || head[0] != 0xFF) return false;
    const uint8_t marker = head[1];
    if (marker == 0xFF || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
      offset += marker == 0xFF ? 1 : 2;
      continue;
    }
    if (marker == 0xD9) return false;  // the end before any scan
    if (marker == 0xDA) return bytes.find("\xFF\xD9", static_cast<size_t>(offset)) != std::string_view::npos;
    offset += 2 + BigEndian16(&head[2]);
  }
  return false;
}

std::optional<Size> PictureSizeFromHeader(const HeaderReader& read) {
  std::array<uint8_t, 26> head{};
  if (!read(0, head.data(), head.size())) {
    // Short files can still be JPEG headers; other formats need all of these bytes.
    head.fill(0);
    if (!read(0, head.data(), 2) || head[0] != 0xFF || head[1] != 0xD8) return std::nullopt;
  }
  if (head[0] == 0xFF && head[1] == 0xD8) return JpegSize(read);
  if (std::memcmp(head.data(), "\x89PNG\r\n\x1A\n", 8) == 0 && std::memcmp(&head[12], "IHDR", 4) == 0)
    return Checked(BigEndian32(&head[16]), BigEndian32(&head[20]));
  if (std::memcmp(head.data(), "GIF8", 4) == 0)
    return Checked(LittleEndian16(&head[6]), LittleEndian16(&head[8]));
  if (head[0] == 'B' && head[1] == 'M') {
    if (LittleEndian32(&head[14]) == 12)  // OS/2 core header: 16-bit sizes
      return Checked(LittleEndian16(&head[18]), LittleEndian16(&head[20]));
    return Checked(std::abs(int64_t{LittleEndian32(&head[18])}),
                   std::abs(int64_t{LittleEndian32(&head[22])}));
  }
  return std::nullopt;
}

std::optional<Size> PictureSizeFromHeaderBytes(std::string_view bytes) {
  return PictureSizeFromHeader([bytes](int64_t offset, uint8_t* buffer, size_t count) {
    if (offset < 0 || static_cast<uint64_t>(offset) > bytes.size()) return false;
    const std::string_view available = bytes.substr(static_cast<size_t>(offset), count);
    std::memcpy(buffer, available.data(), available.size());
    return available.size() == count;
  });
}

}  // namespace qr
