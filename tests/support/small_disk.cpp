#include "support/small_disk.h"

#include <windows.h>

#include <string>

#include "support/temp_folder.h"
#include "win32/handles.h"
#include "win32/text.h"

namespace qr::test {

namespace {

std::string DiskRoot() {
  wchar_t value[16] = {};
  const DWORD n = GetEnvironmentVariableW(L"QR_SMALL_DISK", value, 16);
  if (n == 0 || n >= 16) return {};
  const std::string root = win::Utf8(value);
  return GetFileAttributesW(win::Wide(root + "\\").c_str()) == INVALID_FILE_ATTRIBUTES ? std::string() : root;
}

bool OneMoreByteFits(const std::string& folder) {
  const std::wstring probe = win::Wide(folder + "\\probe.bin");
  bool fits = false;
  {
    win::File file(CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    fits = file && WriteFile(file.get(), "x", 1, &written, nullptr) && written == 1 &&
           FlushFileBuffers(file.get());
  }
  DeleteFileW(probe.c_str());
  return fits;
}

}  // namespace

SmallDisk::SmallDisk() {
  const std::string root = DiskRoot();
  if (root.empty()) return;
  const std::string folder =
      root + "\\t" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(GetTickCount());
  if (CreateDirectoryW(win::Wide(folder).c_str(), nullptr)) {
    folder_ = folder;
    filler_ = root + "\\filler" + std::to_string(GetCurrentProcessId()) + ".bin";
  }
}

SmallDisk::~SmallDisk() {
  if (folder_.empty()) return;
  RemoveTree(folder_);
  Free();
}

void SmallDisk::Free() { DeleteFileW(win::Wide(filler_).c_str()); }

bool SmallDisk::Fill(unsigned leave) {
  win::File file(CreateFileW(win::Wide(filler_).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr));
  if (!file) return false;
  SetFilePointer(file.get(), 0, nullptr, FILE_END);
  const std::string block(4096, 'f');
  for (int i = 0; i < 100000; ++i) {
    DWORD written = 0;
    if (!WriteFile(file.get(), block.data(), static_cast<DWORD>(block.size()), &written, nullptr) ||
        written < block.size()) {
      for (;;) {  // the last few bytes
        if (!WriteFile(file.get(), "f", 1, &written, nullptr) || written == 0) break;
      }
      break;
    }
  }
  if (leave > 0) {
    LARGE_INTEGER size{};
    GetFileSizeEx(file.get(), &size);
    size.QuadPart = size.QuadPart > leave ? size.QuadPart - leave : 0;
    SetFilePointerEx(file.get(), size, nullptr, FILE_BEGIN);
    SetEndOfFile(file.get());
  }
  FlushFileBuffers(file.get());
  file = win::File();
  return leave > 0 || !OneMoreByteFits(folder_);
}

}  // namespace qr::test
