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

void ShowEditor(AppState& state, ColourChooser& colours, Quelm_Rask_M& main) {
  ProfileKeyStore settings(FileInProgramFolder(state.Program_Folder, kSettingsFileName));
  const EditorSkin skin = EditorSkinWith(main.Img_On.Picture(), main.Img_Off.Picture(), main.MouseIcon());
  EditorHooks hooks;
  CreateWallpaperServices create;
  create.addToList = [&main](const std::string& path) { main.Wallpaper_List().Add_If_Absent(path); };
  hooks.create = CreateWallpaperHook(state, std::move(create));
  hooks.preview = PreviewWallpaperHook();
  hooks.backColour = BackColourHook(colours);
  hooks.font = FontChooserHook(
      {main.Img_On.Picture(), main.Img_Off.Picture(), main.Pic_Mbl1.Picture(), main.MouseIcon()});
  Quelm_Rask_S editor(state, settings, skin, std::move(hooks));
  editor.ShowModal(main.hwnd());
}

}  // namespace

MainWindowServices ProgramWiring(AppState& state) {
  MainWindowServices services = RealMainWindowServices();
  // The colour dialog remembers its last colour and custom colours for the whole run.
  auto colours = std::make_shared<ColourChooser>();
  services.Show_Editor = [&state, colours](Quelm_Rask_M& main) { ShowEditor(state, *colours, main); };
  services.Show_Preview = [&state](Quelm_Rask_M& main) {
    ShowPreviewWindow(state, main.hwnd(), PreviewOptions{main.MouseIcon(), {}});
  };
  return services;
}

}  // namespace qr
