#pragma once
// The main window `Quelm_Rask_M`: the start window, its skin and image store, the title-strip drag,
// help, and the three ways to leave. The other windows take their button faces, texture and pointer
// from it, so it stays loaded for the whole run.
#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "core/app_state.h"
#include "forms/forms.h"
#include "main_window/background_choice.h"
#include "main_window/wallpaper_list.h"

namespace qr {

// What the main window asks of the outside world; tests replace both.
struct MainWindowServices {
  // Ends the program at once (the real one posts WM_QUIT).
  std::function<void()> End_Program;
  // The platform's help viewer (the real one calls WinHelpW).
  std::function<void(HWND owner, const std::string& helpFile, UINT command, ULONG_PTR data)> Win_Help;
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
  // Widens `List_Kabe`'s scroll extent to its widest entry (never below `List_Extent`); call it after
  // entries are added, so that long paths can be scrolled into view.
  void Fit_List_Extent();
  // The custom pointer every clickable control of every window shows.
  HCURSOR MouseIcon() const { return mouseIcon_; }
  // The list (the create command adds saved wallpapers to it) and the windows the commands open (the
  // preview by default; the editor once set).
  WallpaperList& Wallpaper_List() { return list_; }
  ModalWindows& Modal_Windows() { return windows_; }

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
  void ImgExit_MouseDown(const forms::MouseEvent& e);
  void ImgExit_MouseUp(const forms::MouseEvent& e);
  void lbl_End_Action();
  void lbl_Can_Action();
  void lbl_Help_Action();

  std::string SettingsFile() const;

  AppState& state_;
  MainWindowServices services_;
  HCURSOR mouseIcon_ = nullptr;
  bool exitPressed_ = false;  // the close mark was pressed; its release leaves
  // After the controls they work on.
  ModalWindows windows_;
  WallpaperList list_{state_, List_Kabe, lbl_Cmd, windows_};
  BackgroundChoice choice_{
      state_, {Img_Kabe, lbl_Kabe, Img_Pos, lbl_Pos, Img_Opt, lbl_Path, lbl_Cmd}, windows_};
};

}  // namespace qr
