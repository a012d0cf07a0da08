// Shared routines: file existence, the recycle bin, and the zoom effect of opening windows.
#include "shared/helpers.h"

#include "win32/files.h"
#include "win32/handles.h"
#include "win32/lazy_libraries.h"
#include "win32/text.h"

namespace qr {

namespace {

void ZoomBetween(HWND wnd, const RECT& from, const RECT& to) {
  DrawAnimatedRects(wnd, IDANI_CAPTION, &from, &to);
}

RECT PointRect(int16_t x, int16_t y) { return RECT{x, y, x, y}; }

RECT WindowRect(HWND wnd) {
  RECT r{};
  GetWindowRect(wnd, &r);
  return r;
}

}  // namespace

bool File_Exists(const std::string& path) {
  std::string name = path;
  if (!name.empty() && name.back() == '\\') name.pop_back();
  if (name.empty()) return false;
  const std::wstring wide = win::ApiPath(name);
  if (wide.empty()) return false;
  const win::File file(CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  BY_HANDLE_FILE_INFORMATION info{};
  return GetFileInformationByHandle(file.get(), &info) && !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

int Recycle_Files(const std::vector<std::string>& paths) {
  std::wstring list;
  for (const std::string& path : paths) {
    // An empty name would end the list early; no file has a name with a NUL in it.
    if (path.empty() || path.find('\0') != std::string::npos) continue;
    list += win::FullPath(win::Wide(path));
    list += L'\0';
  }
  list += L'\0';  // with the string's own terminator: the double-NUL end of the list
  SHFILEOPSTRUCTW op{};
  op.hwnd = nullptr;
  op.wFunc = FO_DELETE;
  op.pFrom = list.c_str();
  op.pTo = nullptr;
  op.fFlags = FOF_ALLOWUNDO;
  const int result = win::lazy::SHFileOperationW(&op);
  return Recycle_Result(result, op.fAnyOperationsAborted != FALSE);
}

int Recycle_Result(int shellResult, bool anyOperationsAborted) {
  constexpr int kShellCancelled = 0x75;  // DE_OPCANCELLED, the shell's own code for a declined operation
  if (anyOperationsAborted || shellResult == kShellCancelled || shellResult == ERROR_CANCELLED)
    return ERROR_CANCELLED;
  return shellResult;
}

void Open_Effect(HWND wnd, int16_t x, int16_t y) { ZoomBetween(wnd, PointRect(x, y), WindowRect(wnd)); }

void Close_Effect(HWND wnd, int16_t x, int16_t y) { ZoomBetween(wnd, WindowRect(wnd), PointRect(x, y)); }

}  // namespace qr
