#pragma once
// Saves the user's wallpaper and wallpaper style settings and puts them back when it goes out of scope,
// so that tests may install wallpapers and styles of their own.
#include <windows.h>

#include <optional>
#include <string>

#include "win32/wallpaper.h"

namespace qr::test {

class WallpaperSettingsGuard {
 public:
  WallpaperSettingsGuard() {
    const auto current = win::GetCurrentWallpaper();
    path_ = current ? current->path : "";
    style_ = Read(L"WallpaperStyle");
    tile_ = Read(L"TileWallpaper");
  }
  WallpaperSettingsGuard(const WallpaperSettingsGuard&) = delete;
  WallpaperSettingsGuard& operator=(const WallpaperSettingsGuard&) = delete;
  ~WallpaperSettingsGuard() {
    Write(L"WallpaperStyle", style_);
    Write(L"TileWallpaper", tile_);
    win::SetDesktopWallpaper(path_);
  }

  // Records the style values as the desktop's settings dialog would.
  static void SetStyle(const std::wstring& wallpaperStyle, const std::wstring& tileWallpaper) {
    Write(L"WallpaperStyle", wallpaperStyle);
    Write(L"TileWallpaper", tileWallpaper);
  }

  // A value of the desktop's settings as the registry holds it now.
  static std::optional<std::wstring> Read(const wchar_t* name) {
    wchar_t buffer[256] = {};
    DWORD size = sizeof(buffer);
    if (RegGetValueW(HKEY_CURRENT_USER, kKey, name, RRF_RT_REG_SZ, nullptr, buffer, &size) != ERROR_SUCCESS)
      return std::nullopt;
    return std::wstring(buffer);
  }
 private:
  static void Write(const wchar_t* name, const std::optional<std::wstring>& value) {
    if (!value) {
      RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, name);
      return;
    }
    RegSetKeyValueW(HKEY_CURRENT_USER, kKey, name, REG_SZ, value->c_str(),
                    static_cast<DWORD>((value->size() + 1) * sizeof(wchar_t)));
  }

  static constexpr const wchar_t* kKey = L"Control Panel\\Desktop";
  std::string path_;
  std::optional<std::wstring> style_, tile_;
};

}  // namespace qr::test
