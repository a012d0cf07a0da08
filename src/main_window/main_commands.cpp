// The main window's command labels and how its commands open the other windows.
#include "main_window/main_commands.h"

#include "core/app_state.h"
#include "core/picture_types.h"
#include "forms/container.h"
#include "preview/preview_window.h"
#include "win32/image.h"
#include "win32/message_box.h"

namespace qr {

void OpenPreview(const ModalWindows& windows, const AppState& state, HWND owner) {
  if (windows.showPreview) {
    windows.showPreview();
    return;
  }
  ShowPreviewWindow(state, owner);
}

std::string PictureFilterName() {
  std::string name = "画像ﾌｧｲﾙ (";
  const std::vector<std::string>& extensions = win::DecodablePictureExtensions();
  for (size_t i = 0; i < extensions.size(); ++i) name += (i > 0 ? " " : "") + extensions[i];
  return name + ")";
}

std::string PictureFilterPattern() { return ExtensionPattern(win::DecodablePictureExtensions()); }

// The picture is decoded whatever its extension says: a truncated file or a text file renamed ".png" has
// a picture's extension. A codec may list a type and still fail on its pixels (HEIC without the video
// codec): such a type is reported as lacking its codec.
bool UsablePicture(HWND owner, const std::string& path) {
  const win::PictureProblem problem = win::CheckPicture(path);
  if (problem == win::PictureProblem::None || problem == win::PictureProblem::Missing) return true;
  if (problem == win::PictureProblem::Undecodable && IsCodecDependentPicture(path)) {
    WarnMissingCodec(owner, {path});
  } else {
    win::ShowMessage(owner, win::PictureProblemMessage(problem, path), win::kWarningStyle);
  }
  return false;
}

void WarnMissingCodec(HWND owner, const std::vector<std::string>& paths) {
  if (paths.empty()) return;
  std::string text(kMissingCodecMessage);
  for (const std::string& path : paths) text += "\n" + path;
  win::ShowMessage(owner, text, win::kWarningStyle);
}

HWND OwnerOf(const forms::Windowless& control) {
  const forms::Container* container = control.Parent();
  return container ? OwnerOf(container->hwnd()) : nullptr;
}

HWND OwnerOf(HWND control) { return control ? GetAncestor(control, GA_ROOT) : nullptr; }

}  // namespace qr
