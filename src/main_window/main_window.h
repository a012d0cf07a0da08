#pragma once
// The main window `Quelm_Rask_M`: the start window, its skin and image store, the title-strip drag and
// menu, help, and the three ways to leave. The other windows take their button faces, texture and pointer
// from the one `Skin` value (shared/skin.h), loaded once at start-up and passed by const reference.
#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "forms/forms.h"
#include "main_window/background_choice.h"
#include "main_window/wallpaper_list.h"

namespace qr {

class Quelm_Rask_M;

// What the main window asks of the outside world; tests replace them. The program's wiring (src/app)
// gives the windows its commands open.
struct MainWindowServices {
  // Ends the program at once (the real one posts WM_QUIT).
  std::function<void()> End_Program;
  // Ends the process when the Windows session ends, after the window has closed: nothing of the program
  // may run on (the real one exits the process).
  std::function<void()> End_Session;
  // The platform's help viewer (the real one calls WinHelpW), used when "Quelm_Rask.hlp" lies beside the
  // program.
  std::function<void(HWND owner, const std::string& helpFile, UINT command, ULONG_PTR data)> Win_Help;
  // Opens a document in the user's default program for it (the real one asks the shell to "open" it);
  // false when it could not.
  std::function<bool(HWND owner, const std::string& path)> Open_Document;
  // Where the user's guide is written out when no copy lies beside the program (the real one: the local
  // application-data folder + "\Quelm_Rask").
  std::string Guide_Folder;
  // The table editor "壁紙作成" opens and the preview window; none: nothing opens.
  std::function<void(Quelm_Rask_M& main)> Show_Editor;
  std::function<void(Quelm_Rask_M& main)> Show_Preview;
  // Starting at log-on (the real ones: the user's Run value for this program): whether it is on, and
  // turning it on or off (false: the system refused). Without them the title strip has no menu.
  std::function<bool()> Autostart_Enabled;
  std::function<bool(bool on)> Set_Autostart;
};
MainWindowServices RealMainWindowServices();

class Quelm_Rask_M : public forms::Form {
 public:
  Quelm_Rask_M(AppState& state, MainWindowServices services);

  // Commands and choices (filled in by the background choice and the wallpaper list).
  void Select_Kabe(int index);
  void Select_Pos(int index);
  void Run_Command(int index);
  // Tiles `Pic_Mbl1` over the target's persistent image, column by column.
  void Paint_Texture(forms::PictureBox& target);
  // Widens `List_Kabe`'s scroll extent (never below `List_Extent`) to the widest of the entries just
  // added, so that long paths can be scrolled into view; the extent never shrinks.
  void Fit_List_Extent(const std::vector<std::string>& added);
  // The custom pointer every clickable control of every window shows.
  HCURSOR MouseIcon() const { return mouseIcon_; }
  // The list (the create command adds saved wallpapers to it).
  WallpaperList& Wallpaper_List() { return list_; }

  // Controls, as the other windows and the tests read them.
  forms::Image Image1;
  forms::Label Label1;
  forms::Image ImgExit;
  forms::PictureBox Pic_B, Pic_C;
  std::array<forms::PictureBox, 2> Pic_D;
  std::array<forms::Image, 2> Img_H;
  std::array<forms::Label, 10> lbl;  // 0, 1: section captions; 9: version
  forms::Image Img_Help;
  forms::Label lbl_Help;
  std::array<forms::Image, 8> Img_Cmd;
  std::array<forms::Label, 8> lbl_Cmd;
  forms::Image Img_End, Img_Can;
  forms::Label lbl_End, lbl_Can;
  // Inside Pic_D(0): the background and placement choice.
  std::array<forms::Image, 3> Img_Kabe, Img_Pos;
  std::array<forms::Label, 3> lbl_Kabe, lbl_Pos;
  forms::Label lbl_Path;
  // Inside Pic_D(1).
  forms::ListBox List_Kabe;

  // The image store (never shown).
  forms::Image Img_Off, Img_On, Img_TT;
  std::array<forms::Image, 2> Img_Opt, imgImages;
  forms::PictureBox Pic_Mbl1;

  // Window-level state.
  int16_t Drag_Flag = 0;
  int16_t Drag_Dx = 0;  // twips
  int16_t Drag_Dy = 0;
  int32_t List_Extent = 0;  // pixels

 protected:
  void Design() override;
  void Form_Load() override;
  void Form_DpiChanged() override;
  void Form_QueryUnload(forms::UnloadMode mode) override;
  void Form_Unload() override;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  // Alt+arrow keys move the window as dragging its title strip does; Ctrl+V in the list adds the files
  // copied in the shell.
  bool Form_KeyPreview(const forms::KeyEvent& e) override;

 private:
  void DesignTitleAndPanels();
  void DesignCommands();
  void DesignChoice();
  void DesignImageStore();
  void MakeButton(forms::PictureBox& parent, forms::Image& face, forms::Label& caption, int left, int top,
                  int width, const std::string& text);
  void WireButton(forms::Label& caption, forms::Image& face, std::function<void()> action);

  void Load_Wallpaper_List();
  void Save_Wallpaper_List();

  void Image1_MouseDown(const forms::MouseEvent& e);
  void Image1_MouseMove(const forms::MouseEvent& e);
  void Image1_MouseUp(const forms::MouseEvent& e);
  // The title strip's menu (right button, the menu key or Shift+F10) at a point of the screen: starting
  // at log-on, checked while it is on.
  void Title_Menu(POINT screenPoint);
  void ImgExit_MouseDown(const forms::MouseEvent& e);
  void ImgExit_MouseUp(const forms::MouseEvent& e);
  void lbl_End_Action();
  void lbl_Can_Action();
  void lbl_Help_Action();
  // Log-off or shutdown: the window closes as by "ｷｬﾝｾﾙ" (the windows over it close first, each in
  // its own way; the list file is written, the main settings are not), then the process ends.
  void Session_End();
  // The main settings as the settings file can hold them: a path it cannot hold goes in by its short
  // name, or is left out (its default applies next time) and the user is told.
  AppState Recordable_Main_Settings() const;

  std::string SettingsFile() const;

  AppState& state_;
  MainWindowServices services_;
  HCURSOR mouseIcon_ = nullptr;
  bool exitPressed_ = false;  // the close mark was pressed; its release leaves
  bool menuPressed_ =
      false;  // the right button was pressed on the title strip; its release there opens the menu
  // After the controls they work on.
  ModalWindows windows_;
  WallpaperList list_{state_, List_Kabe, lbl_Cmd, windows_};
  BackgroundChoice choice_{
      state_, {Img_Kabe, lbl_Kabe, Img_Pos, lbl_Pos, Img_Opt, lbl_Path, lbl_Cmd}, windows_};
};

}  // namespace qr
