// Functions of system libraries looked up at run time, from the system folder alone.
#include "win32/run_time_function.h"

#include <string>

namespace qr::win {

namespace {

// The library from the system folder. Systems without the search flags (Windows 7 before its 2011
// loader update) refuse the flag as an invalid parameter: there the whole path names the same file.
HMODULE LoadFromSystemFolder(const wchar_t* library) {
  if (HMODULE module = LoadLibraryExW(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) return module;
  if (GetLastError() != ERROR_INVALID_PARAMETER) return nullptr;
  wchar_t folder[MAX_PATH];
  const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return nullptr;
  const std::wstring path = std::wstring(folder, length) + L"\\" + library;
  return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace

void LoadLibrariesFromSystemFolderOnly() {
  // kernel32 is always in the process; the function is missing only where the flags are (see above).
  using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
  const auto restrict = reinterpret_cast<SetDefaultDllDirectoriesFn>(reinterpret_cast<void (*)()>(
      GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "SetDefaultDllDirectories")));
  if (restrict) restrict(LOAD_LIBRARY_SEARCH_SYSTEM32);
}

FARPROC RunTimeAddress(const wchar_t* library, const char* name) {
  HMODULE module = GetModuleHandleW(library);
  if (!module) module = LoadFromSystemFolder(library);
  return module ? GetProcAddress(module, name) : nullptr;
}

}  // namespace qr::win
