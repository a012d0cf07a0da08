// Buttons made of a face image and a caption (or icon) over it.
#include "shared/face_button.h"

#include <memory>
#include <utility>

namespace qr {

void BuildFaceButton(forms::Container& parent, forms::Image& face, forms::Label& caption,
                     const FaceButtonPlace& place, const std::string& text) {
  face.SetStretch(true);
  face.Create(parent, place.left, place.top, place.width, place.height);
  face.SetAccessibleRole(forms::AccessibleRole::None);  // the caption speaks for the button
  face.SetContrastLook(forms::ContrastLook::Face);
  const bool ownHeight = place.captionHeight > 0;
  caption.Create(parent, place.left, place.top, place.width, ownHeight ? place.captionHeight : place.height);
  forms::TransparentCaption(caption, text);
  caption.SetAlignment(forms::Alignment::Center);
  caption.SetVerticalCentre(!ownHeight);
  caption.SetTabStop(true);
  caption.SetAccessibleRole(forms::AccessibleRole::PushButton);
}

void WireFaceButton(forms::Windowless& trigger, forms::Image& face, const ButtonFaces& faces,
                    std::function<void()> action) {
  auto pressed = std::make_shared<bool>(false);
  trigger.OnMouseDown = [&face, faces, pressed](const forms::MouseEvent&) {
    *pressed = true;
    face.SetPicture(faces.pressed);
  };
  trigger.OnMouseUp = [&face, faces, pressed, action = std::move(action)](const forms::MouseEvent&) {
    face.SetPicture(faces.released);
    if (!std::exchange(*pressed, false)) return;
    face.Refresh();  // painted now, without running other pending messages
    action();
  };
}

}  // namespace qr
