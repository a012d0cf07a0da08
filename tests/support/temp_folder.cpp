#include "support/temp_folder.h"

#include <windows.h>

#include <atomic>

#include "win32/files.h"
#include "win32/handles.h"
#include "win32/text.h"

namespace qr::test {

namespace {

std::string TempRoot() {
  wchar_t buffer[MAX_PATH + 1] = {};
  const DWORD n = GetTempPathW(MAX_PATH + 1, buffer);
  std::string root = win::Utf8(std::wstring_view(buffer, n));
  while (!root.empty() && root.back() == '\\') root.pop_back();
  return root;
}

bool MakeFolders(const std::string& path) {
  const std::wstring wide = win::ApiPath(path);
  if (CreateDirectoryW(wide.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS) return true;
  const size_t cut = path.find_last_of('\\');
  if (cut == std::string::npos || cut == 0) return false;
  return MakeFolders(path.substr(0, cut)) && CreateDirectoryW(wide.c_str(), nullptr);
}

}  // namespace

TempFolder::TempFolder() {
  static std::atomic<unsigned> counter{0};
  const std::string root = TempRoot();
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string candidate = root + "\\qr_test_" + std::to_string(GetCurrentProcessId()) + "_" +
                                  std::to_string(counter++) + "_" + std::to_string(GetTickCount());
    if (CreateDirectoryW(win::ApiPath(candidate).c_str(), nullptr)) {
      path_ = candidate;
      return;
    }
  }
}

TempFolder::~TempFolder() {
  if (!path_.empty()) RemoveTree(path_);
}

std::string TempFolder::File(std::string_view name) const { return path_ + "\\" + std::string(name); }

std::string TempFolder::Write(std::string_view name, std::string_view bytes) const {
  const std::string full = File(name);
  win::File file(CreateFileW(win::ApiPath(full).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return {};
  DWORD written = 0;
  if (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != bytes.size())
    return {};
  return full;
}

std::string TempFolder::MakeFolder(std::string_view name) const {
  const std::string full = File(name);
  return MakeFolders(full) ? full : std::string();
}

bool RemoveTree(const std::string& path) {
  const std::wstring wide = win::ApiPath(path);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  if (attributes & FILE_ATTRIBUTE_READONLY)
    SetFileAttributesW(wide.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY);
  if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return DeleteFileW(wide.c_str());

  WIN32_FIND_DATAW found{};
  HANDLE search = FindFirstFileW(win::ApiPath(path + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring_view name = found.cFileName;
      if (name != L"." && name != L"..") RemoveTree(path + "\\" + win::Utf8(name));
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  return RemoveDirectoryW(wide.c_str());
}

}  // namespace qr::test
