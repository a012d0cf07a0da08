#pragma once
// The colour chooser `Quelm_Rask_Color`: the system's colour dialog, opened centred over the window that
// asks for it (or on the screen), starting with the colour chosen last and keeping the sixteen custom
// colours for the rest of the run. One ColourChooser holds that memory; the program creates one and
// hands it to the commands that choose colours.
//
//   ColourChooser colours;
//   const Color_Result result = colours.Show_Color_Dialog(editor.hwnd(), kCentreOverOwner);
//   if (!result.Canceled) Use(result.Value);
#include <windows.h>
// after windows.h
#include <commdlg.h>

#include <array>
#include <cstdint>
#include <functional>

namespace qr {

struct Color_Result {
  COLORREF Value = 0;    // the chosen colour, 0x00BBGGRR; 0 when cancelled
  bool Canceled = true;  // cancelled, or the dialog could not be shown
};

// Placement modes: this one centres the dialog over its owner; any other value, on the screen.
inline constexpr int16_t kCentreOverOwner = -1;
inline constexpr int16_t kCentreOnScreen = 0;

// The dialog's flags: CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR, the custom-colour part opened and the
// starting colour selected.
inline constexpr DWORD kColourDialogFlags = 0x103;
// Every custom colour before the user has defined any.
inline constexpr COLORREF kUnsetCustomColour = 0xFEFEFEFE;

// The system calls the chooser makes. Empty members mean the real ones; tests wrap them to watch the
// record and the hook, or replace the dialog to make it fail.
struct ColourDialogCalls {
  std::function<BOOL(CHOOSECOLORW&)> chooseColor;  // ChooseColorW
  std::function<HHOOK(HOOKPROC)> setCbtHook;       // a WH_CBT hook for this thread
};

class ColourChooser {
 public:
  explicit ColourChooser(ColourDialogCalls calls = {});
  ColourChooser(const ColourChooser&) = delete;
  ColourChooser& operator=(const ColourChooser&) = delete;

  // Shows the dialog modally over `owner`, moved once, when it first becomes active, to the centre of the
  // owner's window (mode kCentreOverOwner) or of the screen (any other mode); halves round to even and
  // nothing keeps it on the screen. A colour chosen becomes the next call's starting colour; a cancelled
  // or failed call leaves it as it was. The centring hook never outlives the call.
  Color_Result Show_Color_Dialog(HWND owner, int16_t mode);

  // What the next call starts with: black before the first choice.
  COLORREF LastColour() const { return rgbResult_; }

 private:
  BOOL Choose(CHOOSECOLORW& record) const;
  HHOOK SetHook(HOOKPROC procedure) const;

  ColourDialogCalls calls_;
  COLORREF rgbResult_ = 0;
  std::array<COLORREF, 16> Cust_Colors_;
};

}  // namespace qr
