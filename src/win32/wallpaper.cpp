#include "win32/wallpaper.h"

#include <windows.h>

#include <array>
#include <charconv>
#include <cstring>

#include "win32/text.h"

namespace qr::win {

namespace {

int ParseInt(const std::string& text, int fallback) {
  int value = fallback;
  const char* begin = text.data();
  while (begin != text.data() + text.size() && *begin == ' ') ++begin;
  std::from_chars(begin, text.data() + text.size(), value);
  return value;
}

// A value of HKCU\Control Panel\Desktop as text: strings as they are, numbers in decimal.
std::string DesktopSetting(const wchar_t* name) {
  std::array<BYTE, 512> data{};
  DWORD type = 0;
  DWORD size = static_cast<DWORD>(data.size() - sizeof(wchar_t));
  if (RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", name, RRF_RT_REG_SZ | RRF_RT_REG_DWORD,
                   &type, data.data(), &size) != ERROR_SUCCESS)
    return {};
  if (type == REG_DWORD) {
    DWORD number = 0;
    std::memcpy(&number, data.data(), sizeof(number));
    return std::to_string(number);
  }
  return Utf8(reinterpret_cast<const wchar_t*>(data.data()));
}

}  // namespace

bool SetDesktopWallpaper(const std::string& path) {
  std::wstring wide = Wide(path);
  return SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, wide.data(),
                               SPIF_UPDATEINIFILE | SPIF_SENDWININICHANGE) != FALSE;
}

CurrentWallpaper::Style WallpaperStyleFromSettings(const std::string& wallpaperStyle,
                                                   const std::string& tileWallpaper) {
  using Style = CurrentWallpaper::Style;
  switch (ParseInt(wallpaperStyle, 0)) {
    case 2:
      return Style::Stretch;
    case 6:
      return Style::Fit;
    case 10:
    case 22:  // span: one picture over all screens; on one screen it fills
      return Style::Fill;
    case 0:
      return ParseInt(tileWallpaper, 0) == 1 ? Style::Tile : Style::Centre;
    default:
      return Style::Centre;
  }
}

std::optional<CurrentWallpaper> GetCurrentWallpaper() {
  std::array<wchar_t, MAX_PATH + 1> buffer{};
  if (!SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, buffer.data(), 0) || buffer[0] == L'\0')
    return std::nullopt;
  CurrentWallpaper wallpaper;
  wallpaper.path = Utf8(buffer.data());
  wallpaper.style =
      WallpaperStyleFromSettings(DesktopSetting(L"WallpaperStyle"), DesktopSetting(L"TileWallpaper"));
  return wallpaper;
}

}  // namespace qr::win
