// The colour chooser: the system's colour dialog, centred, remembering its colours.
#include "font_colour/colour_chooser.h"

#include <optional>
#include <utility>

#include "core/geometry.h"
#include "win32/handles.h"
#include "win32/lazy_libraries.h"
#include "win32/screen.h"

namespace qr {

namespace {

// One call of the dialog, as its centring hook sees it. The hook procedure cannot be given a context, so
// it finds the call of its thread through tCurrentCall, which lives exactly as long as the call.
struct CentringCall {
  HWND owner = nullptr;
  win::WindowsHook hook;  // removed at the first activation, at the latest when the call returns
};

thread_local CentringCall* tCurrentCall = nullptr;

class CurrentCallScope {
 public:
  explicit CurrentCallScope(CentringCall& call) : previous_(tCurrentCall) { tCurrentCall = &call; }
  CurrentCallScope(const CurrentCallScope&) = delete;
  CurrentCallScope& operator=(const CurrentCallScope&) = delete;
  ~CurrentCallScope() { tCurrentCall = previous_; }

 private:
  CentringCall* previous_;
};

Size OuterSize(const RECT& r) { return {r.right - r.left, r.bottom - r.top}; }

// Where the dialog goes: over the owner's window, or on the screen. Nothing when it cannot be told.
std::optional<Point> CentredPlace(HWND dialog, HWND owner, bool overOwner) {
  RECT dialogRect{};
  if (!GetWindowRect(dialog, &dialogRect)) return std::nullopt;
  if (overOwner) {
    RECT ownerRect{};
    if (!GetWindowRect(owner, &ownerRect)) return std::nullopt;
    const Size ownerSize = OuterSize(ownerRect);
    return CentreOver(Rect{ownerRect.left, ownerRect.top, ownerSize.w, ownerSize.h}, OuterSize(dialogRect));
  }
  const win::ScreenMetrics screen = win::GetScreenMetrics();
  return CentreOnScreen(screen.widthTwips / screen.twipsPerPixelX, screen.heightTwips / screen.twipsPerPixelY,
                        OuterSize(dialogRect));
}

// The first activation is the dialog's: it is moved once and the hook goes, so the user may move it.
LRESULT CentreAtFirstActivation(int code, WPARAM wp, LPARAM lp, bool overOwner) {
  CentringCall* call = tCurrentCall;
  if (code != HCBT_ACTIVATE || !call || !call->hook) return CallNextHookEx(nullptr, code, wp, lp);
  const HWND dialog = reinterpret_cast<HWND>(wp);
  if (const std::optional<Point> place = CentredPlace(dialog, call->owner, overOwner))
    SetWindowPos(dialog, nullptr, place->x, place->y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  const LRESULT result = CallNextHookEx(nullptr, code, wp, lp);
  call->hook.reset();
  return result;
}

LRESULT CALLBACK Center_Owner_Hook(int code, WPARAM wp, LPARAM lp) {
  return CentreAtFirstActivation(code, wp, lp, true);
}

LRESULT CALLBACK Center_Screen_Hook(int code, WPARAM wp, LPARAM lp) {
  return CentreAtFirstActivation(code, wp, lp, false);
}

}  // namespace

ColourChooser::ColourChooser(ColourDialogCalls calls) : calls_(std::move(calls)) {
  Cust_Colors_.fill(kUnsetCustomColour);
}

BOOL ColourChooser::Choose(CHOOSECOLORW& record) const {
  return calls_.chooseColor ? calls_.chooseColor(record) : win::lazy::ChooseColorW(&record);
}

HHOOK ColourChooser::SetHook(HOOKPROC procedure) const {
  if (calls_.setCbtHook) return calls_.setCbtHook(procedure);
  return SetWindowsHookExW(WH_CBT, procedure, nullptr, GetCurrentThreadId());
}

Color_Result ColourChooser::Show_Color_Dialog(HWND owner, int16_t mode) {
  CHOOSECOLORW record{};
  record.lStructSize = sizeof record;
  record.hwndOwner = owner;
  record.rgbResult = rgbResult_;
  record.lpCustColors = Cust_Colors_.data();  // the dialog leaves the user's custom colours there
  record.Flags = kColourDialogFlags;

  CentringCall call;
  call.owner = owner;
  const CurrentCallScope current(call);
  call.hook.reset(SetHook(mode == kCentreOverOwner ? Center_Owner_Hook : Center_Screen_Hook));
  const BOOL chosen = Choose(record);
  call.hook.reset();  // the dialog may have ended without ever becoming active
  // Only a positive result is a choice: the dialog reports -1 when it could not be created.
  if (chosen <= 0) return {};
  rgbResult_ = record.rgbResult;
  return {record.rgbResult, false};
}

}  // namespace qr
