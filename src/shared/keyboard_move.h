#pragma once
// Moving a window from the keyboard, for the windows that are otherwise moved by dragging: Alt+arrow
// keys move it one design pixel a press, eight while the key is held down.
#include "forms/events.h"
#include "forms/form.h"

namespace qr {

// Moves `form` when `e` is an Alt+arrow key; true when it was one (the key is then spent).
bool MoveByArrowKey(forms::Form& form, const forms::KeyEvent& e);

}  // namespace qr
