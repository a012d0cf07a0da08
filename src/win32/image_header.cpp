#include "win32/image_header.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "win32/files.h"
#include "win32/handles.h"

namespace qr::win {

namespace {

class Reader {
 public:
  explicit Reader(HANDLE file) : file_(file) {}
  // Exactly `count` bytes from `offset`, or false.
  bool Read(int64_t offset, void* buffer, DWORD count) const {
    LARGE_INTEGER position{};
    position.QuadPart = offset;
    DWORD read = 0;
    return SetFilePointerEx(file_, position, nullptr, FILE_BEGIN) &&
           ReadFile(file_, buffer, count, &read, nullptr) && read == count;
  }

 private:
  HANDLE file_;
};

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

// Walks the JPEG segments up to the frame header, which may follow large metadata segments.
std::optional<Size> JpegSize(const Reader& reader) {
  constexpr int kMaxSegments = 4096;
  int64_t offset = 2;
  for (int i = 0; i < kMaxSegments; ++i) {
    std::array<uint8_t, 4> head{};
    if (!reader.Read(offset, head.data(), 4) || head[0] != 0xFF) return std::nullopt;
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
      if (!reader.Read(offset + 4, frame.data(), 5)) return std::nullopt;
      return Checked(BigEndian16(&frame[3]), BigEndian16(&frame[1]));
    }
    offset += 2 + BigEndian16(&head[2]);
  }
  return std::nullopt;
}

}  // namespace

std::optional<Size> PictureSizeFromHeader(const std::string& path) {
  const std::wstring wide = ApiPath(path);
  if (wide.empty()) return std::nullopt;
  File file(CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  const Reader reader(file.get());
  std::array<uint8_t, 26> head{};
  if (!reader.Read(0, head.data(), static_cast<DWORD>(head.size()))) {
    // Short files can still be JPEG headers; other formats need all of these bytes.
    if (!reader.Read(0, head.data(), 2) || head[0] != 0xFF || head[1] != 0xD8) return std::nullopt;
  }
  if (head[0] == 0xFF && head[1] == 0xD8) return JpegSize(reader);
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

}  // namespace qr::win
