// Files: reading, replacing, moving, deleting, and paths for the wide API.
#include "win32/files.h"

#include <windows.h>

#include <algorithm>
#include <limits>
#include <utility>

#include "win32/handles.h"
#include "win32/text.h"

namespace qr::win {

namespace {

// CreateDirectoryW stops short of MAX_PATH by the room for an 8.3 file name.
constexpr size_t kClassicPathLimit = MAX_PATH - 12;

bool HasLongPrefix(std::wstring_view path) { return path.substr(0, 4) == L"\\\\?\\"; }

File OpenForReading(const std::string& path) {
  const std::wstring wide = ApiPath(path);
  if (wide.empty()) return File();
  return File(CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
}

}  // namespace

std::wstring FullPath(const std::wstring& path) {
  std::wstring out(path.size() + MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetFullPathNameW(path.c_str(), static_cast<DWORD>(out.size()), out.data(), nullptr);
    if (n == 0) return path;
    if (n < out.size()) {
      out.resize(n);
      return out;
    }
    out.resize(n);
  }
}

std::wstring ApiPath(std::string_view utf8) {
  if (utf8.find('\0') != std::string_view::npos) return {};
  std::wstring wide = Wide(utf8);
  if (wide.size() < kClassicPathLimit || HasLongPrefix(wide)) return wide;
  wide = FullPath(wide);
  if (wide.substr(0, 2) == L"\\\\") return L"\\\\?\\UNC\\" + wide.substr(2);
  return L"\\\\?\\" + wide;
}

std::optional<std::string> ReadFileBytes(const std::string& path, size_t maxBytes) {
  std::optional<FileStart> start = ReadFileStart(path, maxBytes);
  if (!start || start->more) return std::nullopt;
  return std::move(start->bytes);
}

std::optional<FileStart> ReadFileStart(const std::string& path, size_t maxBytes) {
  File file = OpenForReading(path);
  if (!file) return std::nullopt;
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) return std::nullopt;
  FileStart start;
  start.more = static_cast<unsigned long long>(size.QuadPart) > maxBytes;
  std::string& bytes = start.bytes;
  bytes.resize(start.more ? maxBytes : static_cast<size_t>(size.QuadPart));
  size_t done = 0;
  while (done < bytes.size()) {
    const DWORD part = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
    DWORD got = 0;
    if (!ReadFile(file.get(), bytes.data() + done, part, &got, nullptr)) return std::nullopt;
    if (got == 0) break;  // the file shrank while it was read
    done += got;
  }
  bytes.resize(done);
  return start;
}

bool WriteAll(HANDLE file, std::string_view bytes) {
  constexpr size_t kChunk = 1u << 20;
  while (!bytes.empty()) {
    const DWORD part = static_cast<DWORD>(std::min(bytes.size(), kChunk));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), part, &written, nullptr) || written != part) return false;
    bytes.remove_prefix(part);
  }
  return true;
}

bool PathIsPresent(const std::string& path) {
  const std::wstring wide = ApiPath(path);
  return !wide.empty() && GetFileAttributesW(wide.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsReadOnlyFile(const std::string& path) {
  const std::wstring wide = ApiPath(path);
  const DWORD attributes = wide.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesW(wide.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

std::optional<FileStamp> FileStampOf(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  const std::wstring wide = ApiPath(path);
  if (wide.empty() || !GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  return FileStamp{
      (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow,
      (uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) | data.ftLastWriteTime.dwLowDateTime};
}

bool ReplaceFileWith(const std::string& path, const std::function<bool(HANDLE file)>& write) {
  const std::wstring target = ApiPath(path);
  const std::wstring temp = ApiPath(path + ".tmp~");
  if (target.empty() || temp.empty()) return false;
  // Windows refuses to replace a read-only file; so does this, everywhere.
  if (IsReadOnlyFile(path)) return false;
  bool written = false;
  {
    File file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) return false;
    written = write(file.get()) && FlushFileBuffers(file.get());
  }
  if (written &&
      MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return true;
  DeleteFileW(temp.c_str());
  return false;
}

bool ReplaceFileContents(const std::string& path, std::string_view bytes) {
  return ReplaceFileWith(path, [bytes](HANDLE file) { return WriteAll(file, bytes); });
}

bool DeletePath(const std::string& path) {
  const std::wstring wide = ApiPath(path);
  return !wide.empty() && DeleteFileW(wide.c_str());
}

bool RenamePath(const std::string& from, const std::string& to) {
  const std::wstring source = ApiPath(from);
  const std::wstring target = ApiPath(to);
  if (source.empty() || target.empty() || IsReadOnlyFile(to)) return false;
  if (MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
  if (GetLastError() != ERROR_NOT_SAME_DEVICE) return false;
  // Copying straight over the target would truncate it before the copy could fail (a full disk).
  const std::wstring temp = ApiPath(to + ".tmp~");
  if (temp.empty()) return false;
  if (!CopyFileW(source.c_str(), temp.c_str(), FALSE) ||
      !MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    DeleteFileW(temp.c_str());
    return false;
  }
  DeleteFileW(source.c_str());
  return true;
}

std::string ExecutablePath() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) return Utf8(std::wstring_view(buffer.data(), n));
    if (buffer.size() >= std::numeric_limits<DWORD>::max() / 2) return {};
    buffer.resize(buffer.size() * 2);
  }
}

std::wstring EnvironmentVariable(const wchar_t* name) {
  const DWORD size = GetEnvironmentVariableW(name, nullptr, 0);
  std::wstring value(size, L'\0');
  const DWORD length = size ? GetEnvironmentVariableW(name, value.data(), size) : 0;
  value.resize(length < size ? length : 0);
  return value;
}

bool SamePath(const std::string& a, const std::string& b) {
  const std::wstring fa = FullPath(ApiPath(a)), fb = FullPath(ApiPath(b));
  return CompareStringOrdinal(fa.c_str(), static_cast<int>(fa.size()), fb.c_str(),
                              static_cast<int>(fb.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace qr::win
