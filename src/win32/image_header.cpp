// Picture headers read from files.
#include "win32/image_header.h"

#include <windows.h>

#include "core/exif_orientation.h"
#include "core/image_header.h"
#include "win32/files.h"
#include "win32/handles.h"

namespace qr::win {

std::optional<Size> PictureSizeFromHeader(const std::string& path) {
  const std::wstring wide = ApiPath(path);
  if (wide.empty()) return std::nullopt;
  File file(CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  const HANDLE handle = file.get();
  return qr::PictureSizeFromHeader([handle](int64_t offset, uint8_t* buffer, size_t count) {
    LARGE_INTEGER position{};
    position.QuadPart = offset;
    DWORD read = 0;
    return SetFilePointerEx(handle, position, nullptr, FILE_BEGIN) &&
           ReadFile(handle, buffer, static_cast<DWORD>(count), &read, nullptr) && read == count;
  });
}

int JpegOrientationFromHeader(const std::string& path) {
  constexpr DWORD kHeaderBytes = 128 * 1024;
  const std::wstring wide = ApiPath(path);
  if (wide.empty()) return 1;
  File file(CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return 1;
  std::string bytes(kHeaderBytes, '\0');
  DWORD read = 0;
  if (!ReadFile(file.get(), bytes.data(), kHeaderBytes, &read, nullptr)) return 1;
  bytes.resize(read);
  return JpegExifOrientation(bytes);
}

}  // namespace qr::win
