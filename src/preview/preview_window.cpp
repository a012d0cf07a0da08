// The full-screen preview window and the picture it shows for the main window's background choice.
#include "preview/preview_window.h"

#include <cmath>
#include <utility>

#include "core/app_state.h"
#include "wallpaper/composer.h"
#include "wallpaper/job_inputs.h"
#include "win32/display.h"
#include "win32/screen.h"
#include "win32/surface.h"

namespace qr {

namespace {

constexpr COLORREF kBlack = RGB(0, 0, 0);

FullScreenLook PreviewLook(HCURSOR cursor) {
  return {"Quelm_Rask_V", kBlack, cursor ? cursor : LoadCursorW(nullptr, IDC_HAND), true};
}

// The main window's preview covers every monitor unless told otherwise.
PreviewOptions WithArea(PreviewOptions options) {
  if (options.area.w <= 0) {
    const DisplayLayout& display = win::CurrentDisplay();
    if (display.monitors.size() > 1) options.area = display.VirtualScreen();
  }
  return options;
}

// The picture file's preview names the file, without its folder.
PreviewOptions WithName(PreviewOptions options, const AppState& state) {
  if (options.name.empty()) options.name = PictureFilePreviewName(state.Kabe_File);
  return options;
}

}  // namespace

std::string PictureFilePreviewName(const std::string& path) {
  const size_t slash = path.find_last_of("\\/");
  const std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
  return file.empty() ? "壁紙ﾌｧｲﾙのﾌﾟﾚﾋﾞｭｰ" : "壁紙ﾌｧｲﾙのﾌﾟﾚﾋﾞｭｰ: " + file;
}

Quelm_Rask_V::Quelm_Rask_V(win::Surface picture, PreviewOptions options)
    : FullScreenPicture(PreviewLook(options.cursor), options.area),
      picture_(std::move(picture)),
      name_(options.name.empty() ? kWallpaperPreviewName : options.name) {}

Quelm_Rask_V::Quelm_Rask_V(const AppState& state, PreviewOptions options)
    : Quelm_Rask_V(PreviewPicture(state), WithName(WithArea(std::move(options)), state)) {}

// Named by what it shows, for the window list and screen readers alike; the picture too, as it is the
// window's only child.
void Quelm_Rask_V::Design() {
  FullScreenPicture::Design();
  SetCaption(name_);
  for (forms::Container* shown :
       {static_cast<forms::Container*>(this), static_cast<forms::Container*>(&Display())}) {
    shown->SetAccessibleName(name_);
    shown->SetAccessibleDescription(kPreviewDescription);
  }
  Display().OnClick = [this] { Unload(); };
}

// Everything is drawn before the window appears.
void Quelm_Rask_V::Form_Load() {
  CoverScreens();
  ShowPicture(picture_);
}

namespace {

// The picture placed on each monitor as on one screen, laid where the monitor lies in the virtual screen.
win::Surface PreviewOnEveryMonitor(const JobBackground& background, const DisplayLayout& display) {
  const Rect whole = display.VirtualScreen();
  win::Surface view(whole.w, whole.h, kBlack);
  for (const MonitorInfo& monitor : display.monitors) {
    win::Surface own(monitor.rect.w, monitor.rect.h, kBlack);
    ComposePreview(own, background, monitor.rect.w, monitor.rect.h);
    BitBlt(view.dc(), monitor.rect.x - whole.x, monitor.rect.y - whole.y, monitor.rect.w, monitor.rect.h,
           own.dc(), 0, 0, SRCCOPY);
  }
  GdiFlush();
  return view;
}

}  // namespace

win::Surface PreviewPicture(const AppState& state) {
  // The preview always places the picture file.
  const JobBackground background{BackgroundKind::ImageFile, state.Kabe_File, PlacementOf(state.G_Pos),
                                 DesktopColour()};
  const DisplayLayout& display = win::CurrentDisplay();
  if (display.monitors.size() > 1) return PreviewOnEveryMonitor(background, display);
  const win::ScreenMetrics screen = win::GetScreenMetrics();
  const double screenW = screen.widthPx;
  const double screenH = screen.heightPx;
  win::Surface view(static_cast<int>(std::lround(screenW)), static_cast<int>(std::lround(screenH)), kBlack);
  ComposePreview(view, background, screenW, screenH);
  return view;
}

void ShowPreviewWindow(win::Surface picture, HWND owner, const PreviewOptions& options) {
  Quelm_Rask_V preview(std::move(picture), options);
  preview.ShowModal(owner);
}

void ShowPreviewWindow(const AppState& state, HWND owner, const PreviewOptions& options) {
  ShowPreviewWindow(PreviewPicture(state), owner, WithName(WithArea(options), state));
}

}  // namespace qr
