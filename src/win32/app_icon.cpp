// The program's icon at a dpi, from the executable's resources.
#include "win32/app_icon.h"

#include <map>
#include <utility>

#include "win32/app_icon_id.h"

namespace qr::win {

HICON AppIcon(bool large, int dpi) {
  // The user-interface thread alone sets icons; the icons live as long as the program.
  static std::map<std::pair<bool, int>, HICON> loaded;
  if (dpi <= 0) dpi = 96;
  const int size = MulDiv(large ? 32 : 16, dpi, 96);
  const auto key = std::make_pair(large, size);
  if (const auto found = loaded.find(key); found != loaded.end()) return found->second;
  auto* icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_QR_APP),
                                             IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
  loaded[key] = icon;
  return icon;
}

void SetWindowIcons(HWND window, int dpi) {
  if (!window) return;
  if (HICON big = AppIcon(true, dpi))
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
  if (HICON small = AppIcon(false, dpi))
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
}

}  // namespace qr::win
