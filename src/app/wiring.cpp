#include "app/wiring.h"

#include <utility>

#include "core/settings.h"
#include "preview/preview_window.h"
#include "shared/profile_store.h"
#include "table_editor/editor_window.h"
#include "wallpaper_creation/create_wallpaper.h"

namespace qr {

namespace {

void ShowEditor(AppState& state, Quelm_Rask_M& main) {
  ProfileKeyStore settings(FileInProgramFolder(state.Program_Folder, kSettingsFileName));
  const EditorSkin skin = EditorSkinWith(main.Img_On.Picture(), main.Img_Off.Picture(), main.MouseIcon());
  EditorHooks hooks;
  CreateWallpaperServices create;
  create.addToList = [&main](const std::string& path) { main.Wallpaper_List().Add_If_Absent(path); };
  hooks.create = CreateWallpaperHook(state, std::move(create));
  Quelm_Rask_S editor(state, settings, skin, std::move(hooks));
  editor.ShowModal(main.hwnd());
}

}  // namespace

MainWindowServices ProgramWiring(AppState& state) {
  MainWindowServices services = RealMainWindowServices();
  services.Show_Editor = [&state](Quelm_Rask_M& main) { ShowEditor(state, main); };
  services.Show_Preview = [&state](Quelm_Rask_M& main) {
    ShowPreviewWindow(state, main.hwnd(), PreviewOptions{main.MouseIcon(), {}});
  };
  return services;
}

}  // namespace qr
