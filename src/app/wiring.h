#pragma once
// The program's wiring: which window opens which, with which hooks. The main window asks for its
// editor and preview through its services; the editor's commands that belong to other subsystems
// (create, preview, background colour, font) are connected here.
#include "core/app_state.h"
#include "main_window/main_window.h"

namespace qr {

// The real services of the main window (ending the program, help) and the windows it opens.
MainWindowServices ProgramWiring(AppState& state);

}  // namespace qr
