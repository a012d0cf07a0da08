#pragma once
// The desktop canvas `Quelm_Rask_C`: a borderless window above all others that covers the screen. Once
// it is on the screen its one-shot timer composes the wallpaper off the screen (the background chosen by
// `G_Kabe`, and with `Trans` = 1 the table as transparent text at `Table_X`, `Table_Y`) and shows it.
// Then, with `Trans` = 1 and `Capture_Mode` = 1, it writes that same picture as the wallpaper bitmap and
// closes; with `Trans` = 1 otherwise it stays as a preview until a mouse button is pressed over the
// background (not over a cell); with `Trans` other than 1 it hands the bare background to the caller and
// closes. The screen itself is never photographed, so nothing else on it can get into the wallpaper.
//
// One object serves one showing: construct it, ShowModal(nullptr), read the results, let it go.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/geometry.h"
#include "core/table_model.h"
#include "forms/forms.h"
#include "win32/surface.h"

namespace qr {

struct AppState;

inline constexpr const char* kCanvasToolTip = "クリックで戻り";

struct CanvasOptions {
  HCURSOR cursor = nullptr;  // the pointer over the picture (the main window's); nullptr: the arrow
  std::string bitmapPath;    // where the capture writes; empty: WallpaperBitmapPath()
};

class Quelm_Rask_C : public forms::Form {
 public:
  // `state` gives the background, the options and the table's size and place, and receives the advanced
  // `Table_Y`; `table` gives the cells' texts, fonts and colours. Both must outlive the canvas.
  Quelm_Rask_C(AppState& state, const TableModel& table, CanvasOptions options = {});

  // Results of the showing.
  // The capture wrote the bitmap file (false when it could not be written or no capture was asked for).
  bool BitmapWritten() const { return bitmapWritten_; }
  const std::string& BitmapPath() const { return bitmapPath_; }
  // The bare background of the opaque path, handed over once; an empty surface on the other paths.
  win::Surface TakeBackground();

  // Whether a point of `Display` (which lies at the screen's origin, so screen pixels) is on a cell of
  // the table laid out on the canvas.
  bool OverTableCell(POINT p) const;

  forms::PictureBox& Display() { return Display_; }
  forms::Timer& Timer1() { return Timer1_; }
  int32_t Screen_W_Px() const { return Screen_W_Px_; }
  int32_t Screen_H_Px() const { return Screen_H_Px_; }
  // What the canvas shows (and the capture writes).
  const win::Surface& Composed() const { return composed_; }

 protected:
  void Design() override;
  void Form_Load() override;

 private:
  void Compose_Canvas();
  void Layout_Table();
  void ShowComposed();
  void Capture();
  void Display_MouseDown(const forms::MouseEvent& e);

  AppState& state_;
  const TableModel& table_;
  CanvasOptions options_;
  forms::PictureBox Display_;
  forms::Timer Timer1_;
  int32_t Screen_W_Px_ = 0;
  int32_t Screen_H_Px_ = 0;
  win::Surface composed_;
  std::vector<Rect> cellRects_;  // the cells laid out, in `Display` pixels
  bool bitmapWritten_ = false;
  std::string bitmapPath_;
  win::Surface background_;
};

// What one showing of the canvas produced.
struct CanvasResult {
  bool bitmapWritten = false;  // capture path: the bitmap file was written
  std::string bitmapPath;
  win::Surface background;  // opaque path: the composed background
};

// Loads a fresh canvas, shows it modally with no owner and returns when it has unloaded itself.
CanvasResult ShowCanvas(AppState& state, const TableModel& table, const CanvasOptions& options = {});

}  // namespace qr
