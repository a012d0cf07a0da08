// The desktop-wallpaper interface is declared for Windows 8 and later; the program asks for it at run
// time and does without it on older systems.
#ifndef NTDDI_VERSION
#define NTDDI_VERSION 0x06020000
#endif
#include "win32/wallpaper.h"

#include <windows.h>

#include <atomic>
// after windows.h
#include <shobjidl.h>

#include <array>
#include <charconv>
#include <cstring>

#include "win32/com.h"
#include "win32/lazy_libraries.h"
#include "win32/run_time_function.h"
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
  std::array<BYTE, 2048> data{};  // a path of MAX_PATH characters fits
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

bool SetDesktopSetting(const wchar_t* name, const wchar_t* value) {
  const DWORD bytes = static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t));
  return RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", name, REG_SZ, value, bytes) ==
         ERROR_SUCCESS;
}

class SystemMonitorWallpapers : public MonitorWallpapers {
 public:
  SystemMonitorWallpapers(ComApartment apartment, ComPtr<IDesktopWallpaper> wallpaper)
      : apartment_(std::move(apartment)), wallpaper_(std::move(wallpaper)) {}
  ~SystemMonitorWallpapers() override { wallpaper_.Reset(); }

  std::vector<Monitor> Monitors() override {
    std::vector<Monitor> monitors;
    UINT count = 0;
    if (FAILED(wallpaper_->GetMonitorDevicePathCount(&count))) return monitors;
    for (UINT i = 0; i < count; ++i) {
      LPWSTR id = nullptr;
      RECT r{};
      if (FAILED(wallpaper_->GetMonitorDevicePathAt(i, &id)) || !id) continue;
      if (SUCCEEDED(wallpaper_->GetMonitorRECT(id, &r)))
        monitors.push_back({Utf8(id), {r.left, r.top, r.right - r.left, r.bottom - r.top}});
      lazy::CoTaskMemFree(id);
    }
    return monitors;
  }
  bool SetWallpaper(const std::string& monitorId, const std::string& path) override {
    return SUCCEEDED(wallpaper_->SetWallpaper(Wide(monitorId).c_str(), Wide(path).c_str()));
  }
  std::string Wallpaper(const std::string& monitorId) override {
    LPWSTR path = nullptr;
    if (FAILED(wallpaper_->GetWallpaper(Wide(monitorId).c_str(), &path)) || !path) return {};
    std::string file = Utf8(path);
    lazy::CoTaskMemFree(path);
    return file;
  }
  bool ShowCentred() override { return SUCCEEDED(wallpaper_->SetPosition(DWPOS_CENTER)); }

 private:
  ComApartment apartment_;
  ComPtr<IDesktopWallpaper> wallpaper_;
};

}  // namespace

std::unique_ptr<MonitorWallpapers> OpenMonitorWallpapers() {
  // A system without the object (Windows 7, Wine) stays without it: asked once a process, as every failed
  // attempt costs (under Wine each leaked registry handles, hundreds in a watcher's day).
  static std::atomic<bool> missing = false;
  if (missing) return nullptr;
  ComApartment apartment;
  if (!apartment.ok()) return nullptr;
  ComPtr<IDesktopWallpaper> wallpaper;
  const HRESULT made = lazy::CoCreateInstance(CLSID_DesktopWallpaper, nullptr,
                                              CLSCTX_LOCAL_SERVER | CLSCTX_INPROC_SERVER, IID_IDesktopWallpaper,
                                              reinterpret_cast<void**>(wallpaper.GetAddressOf()));
  if (made == REGDB_E_CLASSNOTREG || made == E_NOINTERFACE) missing = true;
  if (FAILED(made)) return nullptr;
  return std::make_unique<SystemMonitorWallpapers>(std::move(apartment), std::move(wallpaper));
}

SpanStyle SpanStyleOfThisSystem() {
  // Spanning came with Windows 8 (6.2); the version function answers truthfully only to programs whose
  // manifest names the system, so the kernel's own record is read.
  using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
  const auto getVersion =
      RunTimeFunction<std::remove_pointer_t<RtlGetVersionFn>>(L"ntdll.dll", "RtlGetVersion");
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
  if (!getVersion || getVersion(&info) != 0) return SpanStyle::TileFromPrimary;
  const bool eightOrLater = info.dwMajorVersion > 6 || (info.dwMajorVersion == 6 && info.dwMinorVersion >= 2);
  return eightOrLater ? SpanStyle::Span : SpanStyle::TileFromPrimary;
}

bool SetSpannedWallpaper(const std::string& path, SpanStyle style) {
  const bool span = style == SpanStyle::Span;
  if (!SetDesktopSetting(L"WallpaperStyle", span ? L"22" : L"0") ||
      !SetDesktopSetting(L"TileWallpaper", span ? L"0" : L"1"))
    return false;
  return SetDesktopWallpaper(path);
}

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

WallpaperReports ReportedWallpapers() {
  WallpaperReports reports;
  std::array<wchar_t, MAX_PATH + 1> buffer{};
  const bool asked = SystemParametersInfoW(SPI_GETDESKWALLPAPER, MAX_PATH, buffer.data(), 0) != FALSE;
  reports.push_back(asked ? Utf8(buffer.data()) : std::string());
  reports.push_back(DesktopSetting(L"Wallpaper"));
  if (const auto perMonitor = OpenMonitorWallpapers())
    for (const MonitorWallpapers::Monitor& monitor : perMonitor->Monitors())
      reports.push_back(perMonitor->Wallpaper(monitor.id));
  return reports;
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
