#pragma once
// The one full-screen picture window that the canvas (`Quelm_Rask_C`) and the preview (`Quelm_Rask_V`)
// are: borderless, above every window, covering the primary screen or every monitor (`area`), showing a
// picture from its top-left corner, named "クリックで戻り" by its tool tip, and closed by Escape. Each
// kind adds what closes it otherwise.
#include <windows.h>

#include "core/geometry.h"
#include "forms/form.h"
#include "forms/picture_box.h"
#include "win32/surface.h"

namespace qr {

inline constexpr const char* kCanvasToolTip = "クリックで戻り";

struct FullScreenLook {
  const char* className = "";
  COLORREF background = 0;   // the picture box's colour where no picture lies
  HCURSOR cursor = nullptr;  // the pointer over the picture
  bool createdTopmost = false;
};

class FullScreenPicture : public forms::Form {
 public:
  forms::PictureBox& Display() { return Display_; }
  // The virtual-screen rectangle it covers, once loaded.
  const Rect& Covered() const { return covered_; }

 protected:
  // `area` empty: the primary screen.
  FullScreenPicture(const FullScreenLook& look, Rect area);
  void Design() override;
  // At loading: covers the area, above every window, with the tool tip.
  void CoverScreens();
  // Puts `picture` on the display from its top-left corner (nothing for an empty one).
  void ShowPicture(const win::Surface& picture);
  bool Form_KeyPreview(const forms::KeyEvent& e) override;

 private:
  FullScreenLook look_;
  Rect area_;
  Rect covered_{};
  forms::PictureBox Display_;
};

}  // namespace qr
