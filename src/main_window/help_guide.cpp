// "ﾍﾙﾌﾟ": the user's guide opened in the help viewer or the browser.
#include "main_window/help_guide.h"

#include <windows.h>

#include "shared/resource_ids.h"
#include "core/settings.h"
#include "shared/helpers.h"
#include "win32/files.h"

namespace qr {

std::string_view Embedded_User_Guide() {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(IDR_USER_GUIDE), RT_RCDATA);
  if (!found) return {};
  HGLOBAL loaded = LoadResource(module, found);
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) return {};
  // Resources stay mapped for the life of the module.
  return {static_cast<const char*>(bytes), SizeofResource(module, found)};
}

std::string Locate_User_Guide(const std::string& programFolder, const std::string& writeFolder,
                              std::string_view embedded) {
  const std::string shipped = FileInProgramFolder(programFolder, kGuideFileName);
  if (File_Exists(shipped)) return shipped;
  if (embedded.empty() || writeFolder.empty()) return {};
  const std::string written = writeFolder + "\\" + kGuideFileName;
  // An older program's page is replaced, so the guide always matches the program that opens it.
  if (win::ReadFileBytes(written) == std::string(embedded)) return written;
  CreateDirectoryW(win::ApiPath(writeFolder).c_str(), nullptr);
  return win::ReplaceFileContents(written, embedded) ? written : std::string();
}

}  // namespace qr
