// The program's wiring: which window opens which, with which hooks and services.
#include "app/wiring.h"

#include <memory>
#include <utility>

#include "core/settings.h"
#include "font_colour/back_colour_command.h"
#include "font_colour/colour_chooser.h"
#include "font_colour/font_chooser.h"
#include "preview/preview_window.h"
#include "shared/profile_store.h"
#include "table_editor/editor_window.h"
#include "wallpaper_creation/create_wallpaper.h"
#include "wallpaper_creation/preview_command.h"

namespace qr {

namespace {

// What the editor needs for the whole run: its pictures and the colour dialog, which remembers its last
// colour and custom colours.
struct EditorParts {
  explicit EditorParts(EditorSkin editorSkin) : skin(std::move(editorSkin)) {}
  EditorSkin skin;
  ColourChooser colours;
};

void ShowEditor(AppState& state, const Skin& shared, EditorParts& parts, Quelm_Rask_M& main) {
  ProfileKeyStore settings(FileInProgramFolder(DataFolder(state), kSettingsFileName));
  EditorHooks hooks;
  CreateWallpaperServices create;
  create.addToList = [&main](const std::string& path) { main.Wallpaper_List().Add_If_Absent(path); };
  hooks.create = CreateWallpaperHook(state, std::move(create));
  hooks.preview = PreviewWallpaperHook();
  hooks.backColour = BackColourHook(parts.colours);
  hooks.font = FontChooserHook(shared);
  Quelm_Rask_S editor(state, settings, parts.skin, std::move(hooks));
  editor.ShowModal(main.hwnd());
}

}  // namespace

MainWindowServices ProgramWiring(AppState& state, const Skin& skin) {
  MainWindowServices services = RealMainWindowServices();
  auto parts = std::make_shared<EditorParts>(EditorSkinWith(skin));
  services.Show_Editor = [&state, &skin, parts](Quelm_Rask_M& main) {
    ShowEditor(state, skin, *parts, main);
  };
  services.Show_Preview = [&state, &skin](Quelm_Rask_M& main) {
    ShowPreviewWindow(state, main.hwnd(), PreviewOptions{skin.cursor});
  };
  return services;
}

}  // namespace qr
