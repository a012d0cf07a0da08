// Moving a borderless window with the keyboard.
#include "shared/keyboard_move.h"

namespace qr {

bool MoveByArrowKey(forms::Form& form, const forms::KeyEvent& e) {
  if ((e.shift & (forms::kCtrlKey | forms::kAltKey)) != forms::kAltKey) return false;
  int dx = 0, dy = 0;
  if (e.keyCode == VK_LEFT) dx = -1;
  if (e.keyCode == VK_RIGHT) dx = 1;
  if (e.keyCode == VK_UP) dy = -1;
  if (e.keyCode == VK_DOWN) dy = 1;
  if (dx == 0 && dy == 0) return false;
  const int step = form.Scale().Px(e.repeat ? 8 : 1);
  form.Move(form.Left() + dx * step * forms::Form::TwipsPerPixelX(),
            form.Top() + dy * step * forms::Form::TwipsPerPixelY());
  return true;
}

}  // namespace qr
