// The user's folders: the session's environment first, the shell when that names no folder.
#include "win32/user_folders.h"

#include <windows.h>
// after windows.h
#include <knownfolders.h>
#include <shlobj.h>

#include "win32/files.h"
#include "win32/lazy_libraries.h"
#include "win32/text.h"

namespace qr::win {

namespace {

bool IsAbsoluteFolder(const std::wstring& path) {
  const bool drive = path.size() >= 3 && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/');
  const bool share = path.size() >= 3 && path[0] == L'\\' && path[1] == L'\\';
  if (!drive && !share) return false;
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::wstring WithoutTrailingSeparator(std::wstring path) {
  while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/')) path.pop_back();
  return path;
}

std::wstring ShellFolder(UserFolder folder) {
  const bool local = folder == UserFolder::LocalAppData;
  PWSTR path = nullptr;
  std::wstring result;
  const DWORD flags = local ? static_cast<DWORD>(KF_FLAG_CREATE) : 0;
  if (SUCCEEDED(lazy::SHGetKnownFolderPath(local ? FOLDERID_LocalAppData : FOLDERID_RoamingAppData, flags,
                                           nullptr, &path)) &&
      path)
    result = path;
  lazy::CoTaskMemFree(path);
  return result;
}

}  // namespace

std::string UserFolderPath(UserFolder folder) {
  // Windows sets both variables at log-on from the user's shell folders. Reading them spares loading
  // the shell and COM, which under Wine bring several libraries into a run that needs none of them; a
  // variable that is missing, relative or names no folder leaves the answer to the shell.
  std::wstring path = EnvironmentVariable(folder == UserFolder::LocalAppData ? L"LOCALAPPDATA" : L"APPDATA");
  if (!IsAbsoluteFolder(path)) path = ShellFolder(folder);
  return Utf8(WithoutTrailingSeparator(path));
}

}  // namespace qr::win
