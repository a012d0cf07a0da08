#include "app/watcher.h"

#include <algorithm>
#include <utility>

#include "shared/helpers.h"
#include "wallpaper/refresh.h"
#include "wallpaper/remember.h"
#include "win32/display.h"
#include "win32/wallpaper.h"

namespace qr {

namespace {

constexpr wchar_t kClassName[] = L"Quelm_Rask_Watch";
constexpr wchar_t kMutexName[] = L"Local\\Quelm_Rask_Watch";
constexpr UINT_PTR kSettleTimer = 1;
constexpr UINT kDpiChanged = 0x02E0;     // WM_DPICHANGED
constexpr UINT kSessionChange = 0x02B1;  // WM_WTSSESSION_CHANGE
constexpr WPARAM kConsoleConnect = 0x1, kRemoteConnect = 0x3, kSessionLogon = 0x5, kSessionUnlock = 0x8;

// WTSRegisterSessionNotification and its pair, looked up at run time (wtsapi32 is not always there).
using RegisterFn = BOOL(WINAPI*)(HWND, DWORD);
using UnregisterFn = BOOL(WINAPI*)(HWND);
template <typename Fn>
Fn SessionFunction(const char* name) {
  static HMODULE wtsapi = LoadLibraryW(L"wtsapi32.dll");
  return wtsapi ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(wtsapi, name))) : nullptr;
}

WatcherServices WithDefaults(WatcherServices s) {
  if (!s.readDisplay)
    s.readDisplay = [] {
      win::InvalidateDisplay();
      return win::CurrentDisplay();
    };
  if (!s.loadLast) s.loadLast = [] { return LoadLastWallpaper(); };
  if (!s.wallpapers) s.wallpapers = [] { return win::ReportedWallpapers(); };
  if (!s.refresh) s.refresh = [] { RefreshLastWallpaper(nullptr); };
  if (!s.fileExists) s.fileExists = [](const std::string& path) { return File_Exists(path); };
  return s;
}

}  // namespace

Watcher::Watcher(WatcherServices services) : services_(WithDefaults(std::move(services))) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(wc);
  wc.lpfnWndProc = Procedure;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kClassName;
  RegisterClassExW(&wc);  // a second watcher in the same process finds the class there
  hwnd_ = CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, L"Quelm_Rask", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                          wc.hInstance, this);
  if (const auto reg = SessionFunction<RegisterFn>("WTSRegisterSessionNotification"); reg && hwnd_)
    sessionNotified_ = reg(hwnd_, 0 /* NOTIFY_FOR_THIS_SESSION */) != FALSE;
}

Watcher::~Watcher() {
  if (!hwnd_) return;
  if (const auto unreg = SessionFunction<UnregisterFn>("WTSUnRegisterSessionNotification");
      unreg && sessionNotified_)
    unreg(hwnd_);
  DestroyWindow(hwnd_);
}

LRESULT CALLBACK Watcher::Procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE)
    SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams));
  auto* self = reinterpret_cast<Watcher*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  return self && self->hwnd_ == hwnd ? self->Handle(msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT Watcher::Handle(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_DISPLAYCHANGE:
    case kDpiChanged:
      Soon();
      return 0;
    case kSessionChange:
      if (wp == kConsoleConnect || wp == kRemoteConnect || wp == kSessionLogon || wp == kSessionUnlock)
        Soon();
      return 0;
    case WM_SETTINGCHANGE:
      if (wp == SPI_SETDESKWALLPAPER) WallpaperChanged();
      return 0;
    case WM_TIMER:
      if (wp != kSettleTimer) break;
      KillTimer(hwnd_, kSettleTimer);  // idle again: no timer until the next change
      Check();
      return 0;
    case WM_ENDSESSION:
      if (wp) PostQuitMessage(0);
      return 0;
    case WM_CLOSE:
      PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

// A burst of changes moves the look to a second after the last of them.
void Watcher::Soon() { SetTimer(hwnd_, kSettleTimer, services_.settleMs, nullptr); }

void Watcher::WallpaperChanged() {
  const WallpaperReports now = services_.wallpapers();
  const WallpaperReports before = std::exchange(reports_, now);
  const auto last = services_.loadLast();
  if (!last) return;
  const ShownWallpaper shown = JudgeShownWallpaper(before, now, last->installed);
  if (shown != ShownWallpaper::Unchanged) paused_ = shown == ShownWallpaper::NotOurs;
}

void Watcher::Start() {
  WallpaperChanged();
  Check();
}

void Watcher::Check() {
  const auto last = services_.loadLast();
  if (!last || paused_) return;
  const bool fileGone = std::any_of(last->installed.begin(), last->installed.end(),
                                    [&](const std::string& file) { return !services_.fileExists(file); });
  if (fileGone || services_.readDisplay() != last->renderedFor) services_.refresh();
}

int RunWatch() {
  HANDLE mutex = CreateMutexW(nullptr, FALSE, kMutexName);
  if (!mutex) return 1;
  if (GetLastError() == ERROR_ALREADY_EXISTS) {  // one watcher in a session is enough
    CloseHandle(mutex);
    return 0;
  }
  int code = 0;
  {
    Watcher watcher;
    if (!watcher.hwnd()) {
      code = 1;
    } else {
      watcher.Start();  // the log-on: made for another display, or its file gone
      MSG msg;
      while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    }
  }
  CloseHandle(mutex);
  return code;
}

bool StopRunningWatchers(DWORD timeoutMs) {
  // A watcher that does not end within the time is left; the caller reports it.
  for (int attempt = 0; attempt < 16; ++attempt) {
    HWND window = FindWindowW(kClassName, nullptr);
    if (!window) return true;
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, processId);
    PostMessageW(window, WM_CLOSE, 0, 0);
    const DWORD waited = process ? WaitForSingleObject(process, timeoutMs) : WAIT_FAILED;
    if (process) CloseHandle(process);
    if (waited != WAIT_OBJECT_0) return false;
  }
  return FindWindowW(kClassName, nullptr) == nullptr;
}

}  // namespace qr
