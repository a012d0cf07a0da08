#include "main_window/main_commands.h"

#include "core/app_state.h"
#include "forms/container.h"
#include "preview/preview_window.h"

namespace qr {

void OpenPreview(const ModalWindows& windows, const AppState& state, HWND owner) {
  if (windows.showPreview) {
    windows.showPreview();
    return;
  }
  ShowPreviewWindow(state, owner);
}

HWND OwnerOf(const forms::Windowless& control) {
  const forms::Container* container = control.Parent();
  return container ? OwnerOf(container->hwnd()) : nullptr;
}

HWND OwnerOf(HWND control) { return control ? GetAncestor(control, GA_ROOT) : nullptr; }

}  // namespace qr
