// The program's fixed file names and the folders they live in.
#include "shared/fixed_files.h"

#include <windows.h>

#include "win32/files.h"
#include "win32/handles.h"
#include "win32/text.h"
#include "win32/user_folders.h"

namespace qr {

namespace {

struct FolderChoice {
  std::optional<FixedFileFolders> overridden;
  std::optional<std::string> chosen;
};

// One choice per process (the program has a single user-interface thread).
FolderChoice& Choice() {
  static FolderChoice choice;
  return choice;
}

std::string LocalAppDataFolder() { return win::UserFolderPath(win::UserFolder::LocalAppData); }

std::string Join(const std::string& folder, const char* name) { return folder + "\\" + name; }

// Creates the folder and the ones above it that are missing.
bool EnsureFolder(const std::string& folder) {
  if (folder.empty()) return false;
  const DWORD attributes = GetFileAttributesW(win::ApiPath(folder).c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  const size_t cut = folder.find_last_of('\\');
  if (cut != std::string::npos && cut > 0 && folder[cut - 1] != ':' && folder[cut - 1] != '\\')
    EnsureFolder(folder.substr(0, cut));
  return CreateDirectoryW(win::ApiPath(folder).c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

std::string ChooseFolder(const FixedFileFolders& folders) {
  if (FolderIsWritable(folders.preferred)) return folders.preferred;
  if (EnsureFolder(folders.fallback) && FolderIsWritable(folders.fallback)) return folders.fallback;
  return {};
}

}  // namespace

FixedFileFolders DefaultFixedFileFolders() {
  const std::string appData = LocalAppDataFolder();
  return {"C:", appData.empty() ? std::string() : appData + "\\Quelm_Rask"};
}

void OverrideFixedFileFolders(std::optional<FixedFileFolders> folders) {
  Choice().overridden = std::move(folders);
  Choice().chosen.reset();
}

bool FolderIsWritable(const std::string& folder) {
  if (folder.empty()) return false;
  const std::string probe = folder + "\\Quelm_Rask." + std::to_string(GetCurrentProcessId()) + "." +
                            std::to_string(GetTickCount()) + ".probe~";
  const std::wstring wide = win::ApiPath(probe);
  if (wide.empty()) return false;
  // Deleted by the system when closed, so nothing stays behind even if this process ends here.
  win::File file(CreateFileW(wide.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
  return static_cast<bool>(file);
}

std::string FixedFilesFolder() {
  FolderChoice& choice = Choice();
  if (choice.chosen) return *choice.chosen;
  const FixedFileFolders folders = choice.overridden ? *choice.overridden : DefaultFixedFileFolders();
  std::string folder = ChooseFolder(folders);
  // Nothing writable: the usual place, where writing will fail and the caller reports it. Not kept, so
  // a later call looks again.
  if (folder.empty()) return folders.preferred;
  choice.chosen = folder;
  return folder;
}

std::string WallpaperBitmapPath() { return Join(FixedFilesFolder(), kWallpaperBitmapName); }

std::string LastWallpaperPath() {
  const FolderChoice& choice = Choice();
  const std::string folder = (choice.overridden ? *choice.overridden : DefaultFixedFileFolders()).fallback;
  if (folder.empty()) return {};
  EnsureFolder(folder);
  return Join(folder, kLastWallpaperName);
}

}  // namespace qr
