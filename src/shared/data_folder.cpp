// The data folder rule: beside the program when that folder is writable, else under %APPDATA%.
#include "shared/data_folder.h"

#include <windows.h>

#include "shared/fixed_files.h"
#include "win32/files.h"
#include "win32/text.h"
#include "win32/user_folders.h"

namespace qr {

namespace {

std::string RoamingAppDataFolder() { return win::UserFolderPath(win::UserFolder::RoamingAppData); }

}  // namespace

std::string DataFolderFor(const std::string& programFolder, bool programFolderWritable,
                          const std::string& roamingAppData) {
  if (programFolderWritable || roamingAppData.empty()) return programFolder;
  std::string folder = roamingAppData;
  if (folder.back() != '\\') folder += '\\';
  return folder + kDataFolderName;
}

std::string ChooseDataFolder(const std::string& programFolder) {
  // The roaming folder is asked for only when needed: a writable program folder (the usual case) costs
  // one probe file and no shell call.
  if (FolderIsWritable(programFolder)) return programFolder;
  return DataFolderFor(programFolder, false, RoamingAppDataFolder());
}

bool EnsureDataFolder(const std::string& folder) {
  const std::wstring path = win::ApiPath(folder);
  if (path.empty()) return false;
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
  return CreateDirectoryW(path.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

}  // namespace qr
