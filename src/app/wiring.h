#pragma once
// The program's wiring: which window opens which, with which hooks. The main window asks for its
// editor and preview through its services; the editor's commands that belong to other subsystems
// (create, preview, background colour, font) are connected here.
#include "core/app_state.h"
#include "main_window/main_window.h"
#include "shared/skin.h"

namespace qr {

// The real services of the main window (ending the program, help) and the windows it opens, which show
// `skin`. The state and the skin must outlive the services.
MainWindowServices ProgramWiring(AppState& state, const Skin& skin);

}  // namespace qr
