#pragma once
// The one way the windows build a button out of a face image and a caption laid over it (or an icon over
// a face), and the one way such a button answers the mouse and the keyboard.
#include <functional>
#include <string>

#include "forms/container.h"
#include "forms/picture.h"
#include "forms/windowless.h"

namespace qr {

// The two looks of a button face.
struct ButtonFaces {
  forms::Picture pressed;
  forms::Picture released;
};

// Where a button lies (design pixels). The caption covers the face, its text centred both ways; a
// `captionHeight` other than 0 gives the caption a height of its own (placed by the window's layout),
// its text then at the top.
struct FaceButtonPlace {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int captionHeight = 0;
};

// Creates the face and then the caption above it in `parent`: a push button for the keyboard (a tab
// stop) and for a screen reader (named by its caption).
void BuildFaceButton(forms::Container& parent, forms::Image& face, forms::Label& caption,
                     const FaceButtonPlace& place, const std::string& text);

// The face shows pressed while `trigger` (the caption, or an icon over the face) is held, and the
// release of that press runs `action` once, after the released face is painted. A release that had no
// press of its own runs nothing: the second button's release after the first one's command ran, or a
// release arriving after a dialog closed under the pointer.
void WireFaceButton(forms::Windowless& trigger, forms::Image& face, const ButtonFaces& faces,
                    std::function<void()> action);

}  // namespace qr
