// Windows bitmap files written beside their target and moved over it.
#include "win32/bitmap_file.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "win32/files.h"

namespace qr::win {

namespace {

constexpr size_t kChunkBytes = size_t{1} << 20;  // rows are gathered into writes of about this size

template <typename T>
void Append(std::vector<BYTE>& out, const T& value) {
  const auto* bytes = reinterpret_cast<const BYTE*>(&value);
  out.insert(out.end(), bytes, bytes + sizeof(T));
}

std::vector<BYTE> Headers(int width, int height) {
  const size_t headerBytes = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
  const size_t imageBytes = BitmapRowBytes(width) * static_cast<size_t>(height);
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
  out.resize(start + BitmapRowBytes(width), 0);
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
  const size_t rowBytes = BitmapRowBytes(width);
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

// Rows to a band: about a chunk of the file, at least one row.
int BandRows(size_t rowBytes) { return static_cast<int>(std::clamp<size_t>(kChunkBytes / rowBytes, 1, 256)); }

}  // namespace

size_t BitmapRowBytes(int width) { return (static_cast<size_t>(width) * 3 + 3) & ~size_t{3}; }

bool WriteBitmapFile(const Surface& image, const std::string& path) {
  if (!image.ok() || image.width() <= 0 || image.height() <= 0 || path.empty()) return false;
  // The file size field is 32-bit.
  if (BitmapRowBytes(image.width()) * static_cast<uint64_t>(image.height()) > 0xFFFFFF00u) return false;
  return ReplaceFileWith(path, [&image](HANDLE file) { return WriteImage(image, file); });
}

bool WriteBitmapFileInBands(const std::string& path, int width, int height, const BandFiller& fill) {
  if (width <= 0 || height <= 0 || path.empty()) return false;
  const size_t rowBytes = BitmapRowBytes(width);
  if (rowBytes * static_cast<uint64_t>(height) > 0xFFFFFF00u) return false;
  const int bandRows = BandRows(rowBytes);
  return ReplaceFileWith(path, [&](HANDLE file) {
    if (!WriteAll(file, Bytes(Headers(width, height)))) return false;
    std::vector<BYTE> band(rowBytes * static_cast<size_t>(bandRows));
    std::vector<BYTE> bottomUp(band.size());
    for (int end = height; end > 0; end -= bandRows) {
      const int top = std::max(0, end - bandRows), count = end - top;
      if (!fill(top, count, band.data(), rowBytes)) return false;
      for (int i = 0; i < count; ++i)  // the file holds the lowest row first
        std::memcpy(bottomUp.data() + static_cast<size_t>(i) * rowBytes,
                    band.data() + static_cast<size_t>(count - 1 - i) * rowBytes, rowBytes);
      if (!WriteAll(file, std::string_view(reinterpret_cast<const char*>(bottomUp.data()),
                                           rowBytes * static_cast<size_t>(count))))
        return false;
    }
    return true;
  });
}

FileLayoutBitmap::FileLayoutBitmap(int width, int height) {
  void* bits = nullptr;
  // Positive height: bottom-up, as the file.
  Bitmap bitmap(width > 0 && height > 0 ? CreateDibSection(width, height, 24, &bits) : nullptr);
  MemoryDc dc(CreateCompatibleDC(nullptr));
  if (!bitmap || !dc || !bits) return;
  old_ = SelectObject(dc.get(), bitmap.get());
  bitmap_ = std::move(bitmap);
  dc_ = std::move(dc);
  bits_ = static_cast<BYTE*>(bits);
  width_ = width;
  height_ = height;
}

FileLayoutBitmap::~FileLayoutBitmap() {
  if (old_) SelectObject(dc_.get(), old_);
}

std::string_view FileLayoutBitmap::TopRows(int count) {
  if (!ok() || count <= 0 || count > height_) return {};
  GdiFlush();
  const size_t rowBytes = BitmapRowBytes(width_), used = static_cast<size_t>(width_) * 3;
  BYTE* first = bits_ + static_cast<size_t>(height_ - count) * rowBytes;
  if (used < rowBytes)
    for (int r = 0; r < count; ++r)
      std::fill(first + r * rowBytes + used, first + (r + 1) * rowBytes, BYTE{0});
  return {reinterpret_cast<const char*>(first), rowBytes * static_cast<size_t>(count)};
}

bool WriteBitmapFilePainted(const std::string& path, int width, int height, const BandPainter& paint) {
  if (width <= 0 || height <= 0 || path.empty()) return false;
  const size_t rowBytes = BitmapRowBytes(width);
  if (rowBytes * static_cast<uint64_t>(height) > 0xFFFFFF00u) return false;
  const int bandRows = std::min(BandRows(rowBytes), height);
  FileLayoutBitmap band(width, bandRows);
  if (!band.ok()) return false;
  return ReplaceFileWith(path, [&](HANDLE file) {
    if (!WriteAll(file, Bytes(Headers(width, height)))) return false;
    for (int end = height; end > 0; end -= bandRows) {
      const int top = std::max(0, end - bandRows), count = end - top;
      if (!paint(band.dc(), top, count) || !WriteAll(file, band.TopRows(count))) return false;
    }
    return true;
  });
}

std::optional<BitmapFileRows> BitmapFileRows::Open(const std::string& path) {
  File file(CreateFileW(ApiPath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  BITMAPFILEHEADER head{};
  BITMAPINFOHEADER info{};
  DWORD read = 0;
  if (!ReadFile(file.get(), &head, sizeof(head), &read, nullptr) || read != sizeof(head) ||
      !ReadFile(file.get(), &info, sizeof(info), &read, nullptr) || read != sizeof(info))
    return std::nullopt;
  if (head.bfType != 0x4D42 || info.biBitCount != 24 || info.biCompression != BI_RGB || info.biWidth <= 0 ||
      info.biHeight <= 0)
    return std::nullopt;
  return BitmapFileRows(std::move(file), info.biWidth, info.biHeight, head.bfOffBits);
}

bool BitmapFileRows::Read(int top, int count, uint8_t* rows, size_t rowBytes) const {
  if (top < 0 || count <= 0 || top + count > height_ || rowBytes < BitmapRowBytes(width_)) return false;
  const size_t own = BitmapRowBytes(width_);
  std::vector<BYTE> chunk(own * static_cast<size_t>(count));
  // Bottom-up: rows top .. top + count - 1 lie together, the lowest first.
  LARGE_INTEGER at{};
  at.QuadPart = static_cast<LONGLONG>(offset_) + static_cast<LONGLONG>(own) * (height_ - top - count);
  DWORD read = 0;
  if (!SetFilePointerEx(file_.get(), at, nullptr, FILE_BEGIN) ||
      !ReadFile(file_.get(), chunk.data(), static_cast<DWORD>(chunk.size()), &read, nullptr) ||
      read != chunk.size())
    return false;
  for (int i = 0; i < count; ++i)
    std::memcpy(rows + static_cast<size_t>(i) * rowBytes,
                chunk.data() + static_cast<size_t>(count - 1 - i) * own, own);
  return true;
}

}  // namespace qr::win
