// Windows bitmap files written beside their target and moved over it.
#include "win32/bitmap_file.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "win32/files.h"

namespace qr::win {

namespace {

constexpr size_t kChunkBytes = size_t{1} << 20;  // rows are gathered into writes of about this size

size_t RowBytes(int width) { return (static_cast<size_t>(width) * 3 + 3) & ~size_t{3}; }

template <typename T>
void Append(std::vector<BYTE>& out, const T& value) {
  const auto* bytes = reinterpret_cast<const BYTE*>(&value);
  out.insert(out.end(), bytes, bytes + sizeof(T));
}

std::vector<BYTE> Headers(int width, int height) {
  const size_t headerBytes = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  const size_t imageBytes = RowBytes(width) * static_cast<size_t>(height);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;  // "BM"
  file.bfSize = static_cast<DWORD>(headerBytes + imageBytes);
  file.bfOffBits = static_cast<DWORD>(headerBytes);
  BITMAPINFOHEADER info{};
  info.biSize = sizeof(BITMAPINFOHEADER);
  info.biWidth = width;
  info.biHeight = height;  // positive: bottom-up
  info.biPlanes = 1;
  info.biBitCount = 24;
  info.biCompression = BI_RGB;
  info.biSizeImage = static_cast<DWORD>(imageBytes);
  std::vector<BYTE> out;
  out.reserve(headerBytes);
  Append(out, file);
  Append(out, info);
  return out;
}

std::string_view Bytes(const std::vector<BYTE>& buffer) {
  return {reinterpret_cast<const char*>(buffer.data()), buffer.size()};
}

// Appends one image row as BGR triplets plus zero padding. Four pixels go as three 32-bit words.
void AppendRow(std::vector<BYTE>& out, const uint32_t* row, int width) {
  const size_t start = out.size();
  out.resize(start + RowBytes(width), 0);
  BYTE* dst = out.data() + start;
  int x = 0;
  for (; x + 4 <= width; x += 4, dst += 12) {
    const uint32_t p0 = row[x] & 0xFFFFFF, p1 = row[x + 1] & 0xFFFFFF;
    const uint32_t p2 = row[x + 2] & 0xFFFFFF, p3 = row[x + 3] & 0xFFFFFF;
    const uint32_t words[3] = {p0 | (p1 << 24), (p1 >> 8) | (p2 << 16), (p2 >> 16) | (p3 << 8)};
    std::memcpy(dst, words, sizeof(words));  // the bytes in file order on a little-endian machine
  }
  for (; x < width; ++x, dst += 3) {
    const uint32_t word = row[x];
    dst[0] = static_cast<BYTE>(word);
    dst[1] = static_cast<BYTE>(word >> 8);
    dst[2] = static_cast<BYTE>(word >> 16);
  }
}

bool WriteImage(const Surface& image, HANDLE file) {
  const int width = image.width();
  const size_t rowBytes = RowBytes(width);
  std::vector<BYTE> buffer = Headers(width, image.height());
  buffer.reserve(std::max(kChunkBytes, rowBytes) + rowBytes + buffer.size());
  GdiFlush();
  for (int y = image.height() - 1; y >= 0; --y) {
    AppendRow(buffer, image.Bits() + static_cast<size_t>(y) * width, width);
    if (buffer.size() >= kChunkBytes) {
      if (!WriteAll(file, Bytes(buffer))) return false;
      buffer.clear();
    }
  }
  return WriteAll(file, Bytes(buffer));
}

}  // namespace

bool WriteBitmapFile(const Surface& image, const std::string& path) {
  if (!image.ok() || image.width() <= 0 || image.height() <= 0 || path.empty()) return false;
  // The file size field is 32-bit.
  if (RowBytes(image.width()) * static_cast<uint64_t>(image.height()) > 0xFFFFFF00u) return false;
  return ReplaceFileWith(path, [&image](HANDLE file) { return WriteImage(image, file); });
}

}  // namespace qr::win
