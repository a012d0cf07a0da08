#pragma once
// The preview window `Quelm_Rask_V`: the whole screen, above every other window, showing either the
// editor's composed bitmap unscaled on black (`Capture_Mode` = 1) or `Kabe_File` placed by `G_Pos` on
// the desktop colour, until it is clicked. Everything is drawn before the window appears.
#include <windows.h>

#include <string>

#include "forms/form.h"
#include "forms/picture_box.h"

namespace qr {

struct AppState;

struct PreviewOptions {
  HCURSOR cursor = nullptr;    // the pointer over the picture; nullptr: the system's hand
  std::string tempBitmapPath;  // what `Capture_Mode` = 1 shows; empty: the program's "Quelm_Temp.bmp"
};

class Quelm_Rask_V : public forms::Form {
 public:
  explicit Quelm_Rask_V(const AppState& state, PreviewOptions options = {});

  forms::PictureBox& Display() { return Display_; }
  // The screen's size in pixels, unrounded (twips over twips per pixel).
  double Screen_W_Px() const { return Screen_W_Px_; }
  double Screen_H_Px() const { return Screen_H_Px_; }

 protected:
  void Design() override;
  void Form_Load() override;

 private:
  void Draw();

  const AppState& state_;
  PreviewOptions options_;
  forms::PictureBox Display_;
  double Screen_W_Px_ = 0;
  double Screen_H_Px_ = 0;
};

// Loads a fresh preview window, shows it modally over `owner` and returns when it has been clicked away.
void ShowPreviewWindow(const AppState& state, HWND owner, const PreviewOptions& options = {});

}  // namespace qr
