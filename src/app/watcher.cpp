// "/watch": the resident watcher that makes the remembered wallpaper again when the display changes.
#include "app/watcher.h"

#include <algorithm>
#include <utility>

#include "shared/helpers.h"
#include "wallpaper/refresh.h"
#include "wallpaper/remember.h"
#include "win32/display.h"
#include "win32/files.h"
#include "win32/handles.h"
#include "win32/run_time_function.h"
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
template <typename Pointer>
Pointer SessionFunction(const char* name) {
  return win::RunTimeFunction<std::remove_pointer_t<Pointer>>(L"wtsapi32.dll", name);
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
  // A second watcher in the same process finds the class there.
  if (!RegisterClassOnce(kClassName, 0)) return;
  CreateWindowInstance(WS_EX_TOOLWINDOW, kClassName, L"Quelm_Rask", WS_POPUP, 0, 0, 0, 0, nullptr);
  if (const auto reg = SessionFunction<RegisterFn>("WTSRegisterSessionNotification"); reg && hwnd())
    sessionNotified_ = reg(hwnd(), 0 /* NOTIFY_FOR_THIS_SESSION */) != FALSE;
}

Watcher::~Watcher() {
  if (!hwnd()) return;
  if (const auto unreg = SessionFunction<UnregisterFn>("WTSUnRegisterSessionNotification");
      unreg && sessionNotified_)
    unreg(hwnd());
  DestroyWindowInstance();
}

LRESULT Watcher::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
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
      KillTimer(hwnd(), kSettleTimer);  // idle again: no timer until the next change
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
  return WindowBase::HandleMessage(msg, wp, lp);
}

// A burst of changes moves the look to a second after the last of them.
void Watcher::Soon() { SetTimer(hwnd(), kSettleTimer, services_.settleMs, nullptr); }

void Watcher::WallpaperChanged() {
  const WallpaperReports now = services_.wallpapers();
  const WallpaperReports before = std::exchange(reports_, now);
  const auto last = services_.loadLast();
  if (!last) return;
  ShownWallpaper shown = JudgeShownWallpaper(before, now, last->installed, win::SamePath);
  // A new file's installation is announced before its snapshot is saved: judged then against the old
  // snapshot, it paused the watcher. Judged again from the look before that pause, the snapshot saved
  // since tells whether the change was the program's own.
  if (shown == ShownWallpaper::Unchanged && paused_)
    shown = JudgeShownWallpaper(beforePause_, now, last->installed, win::SamePath);
  if (shown == ShownWallpaper::NotOurs && !paused_) beforePause_ = before;
  if (shown != ShownWallpaper::Unchanged) paused_ = shown == ShownWallpaper::NotOurs;
}

void Watcher::Start() {
  WallpaperChanged();
  Check();
}

void Watcher::Check() {
  if (paused_) WallpaperChanged();  // its snapshot may have been saved since
  const auto last = services_.loadLast();
  if (!last || paused_) return;
  const bool fileGone = std::any_of(last->installed.begin(), last->installed.end(),
                                    [&](const std::string& file) { return !services_.fileExists(file); });
  if (fileGone || services_.readDisplay() != last->renderedFor) services_.refresh();
}

int RunWatch() {
  const win::KernelObject mutex(CreateMutexW(nullptr, FALSE, kMutexName));
  if (!mutex) return 1;
  if (GetLastError() == ERROR_ALREADY_EXISTS) return 0;  // one watcher in a session is enough
  Watcher watcher;
  if (!watcher.hwnd()) return 1;
  watcher.Start();  // the log-on: made for another display, or its file gone
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
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
