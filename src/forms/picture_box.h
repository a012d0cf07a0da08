#pragma once
// A child window that contains windowless controls and child windows. With a persistent image
// (SetAutoRedraw(true)) whatever is drawn into Dc() stays and shows on every repaint; the windowless
// controls are painted over it.
#include <windows.h>

#include <optional>
#include <string>

#include "forms/container.h"
#include "forms/picture.h"
#include "win32/surface.h"

namespace qr::forms {

class PictureBox : public Container {
 public:
  // Design pixels (forms/scale.h), like every control's geometry.
  bool Create(Container& parent, int left, int top, int width, int height);
  Container* Parent() const { return parent_; }

  int Left() const;
  int Top() const;
  int Width() const;
  int Height() const;
  void Move(int left, int top, int width, int height);
  void Move(int left, int top) { Move(left, top, Width(), Height()); }
  bool Visible() const;
  void SetVisible(bool visible);
  bool Enabled() const;
  void SetEnabled(bool enabled);
  void SetToolTip(const std::string& text);

  // Setting the back colour clears the persistent image to it (and to the picture, if any).
  void SetBackColor(COLORREF colour);
  // A sunken 3-D border (inside the given size).
  void SetBorder(bool border);
  // Drawn at the top-left corner at the window's scale, under everything drawn later.
  const forms::Picture& Picture() const { return picture_; }
  void SetPicture(const forms::Picture& picture);

  // A new resolution: the box takes its design rectangle at it, the picture is drawn again.
  void ApplyDpi(int dpi);

  bool AutoRedraw() const { return image_.has_value(); }
  void SetAutoRedraw(bool persistent);
  // Where to draw: the persistent image, or else the window itself (drawing then goes straight to
  // the screen and is lost at the next repaint).
  HDC Dc();
  // The persistent image (device pixels; for saving or reading pixels); nullptr without AutoRedraw.
  const win::Surface* Image() const { return image_ ? &*image_ : nullptr; }
  // Clears the persistent image to the back colour and the picture.
  void Cls();
  // Shows what was drawn: repaints now.
  void Refresh();
  // What the box shows is decoration (a texture): in high contrast it shows the system's face colour
  // instead (forms/contrast.h).
  void SetContrastBackground(bool decoration) { contrastBackground_ = decoration; }

 protected:
  void PaintBackground(HDC dc, const RECT& area) override;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void FitImage();
  void PlaceWindow();
  void DrawPicture(HDC dc) const;

  Container* parent_ = nullptr;
  RECT design_{};
  forms::Picture picture_;
  std::optional<win::Surface> image_;
  bool contrastBackground_ = false;
};

// A plain panel with a back colour that holds labels.
class Frame : public PictureBox {};

}  // namespace qr::forms
