#pragma once
// The upper half of the main window: the background mode (`G_Kabe`) and the placement (`G_Pos`) shown by
// option marks, the chosen image file in `lbl_Path`, and commands 0 to 2 (browse, preview the chosen
// file, create a wallpaper).
#include <span>

#include "forms/windowless.h"
#include "main_window/main_commands.h"

namespace qr {

struct AppState;

// The main window's controls the choice works with; they must outlive the BackgroundChoice.
struct ChoiceControls {
  std::span<forms::Image, 3> Img_Kabe;
  std::span<forms::Label, 3> lbl_Kabe;
  std::span<forms::Image, 3> Img_Pos;
  std::span<forms::Label, 3> lbl_Pos;
  std::span<forms::Image, 2> Img_Opt;  // the image store's option marks: 0 off, 1 on
  forms::Label& lbl_Path;
  CommandLabels lbl_Cmd;
};

class BackgroundChoice {
 public:
  BackgroundChoice(AppState& state, ChoiceControls controls, const ModalWindows& windows);

  // A press with any button on a mark or on its label selects that option.
  void Attach();

  // The marks of `G_Kabe` and `G_Pos` (a value outside 0..2 marks nothing).
  void Show_Option_Marks();
  // The marks and the enabling that follows `G_Kabe`.
  void Show_Marks();
  // "参照...", the first "壁紙ﾌﾟﾚﾋﾞｭｰ" and the placement options are usable only for an image file
  // (`G_Kabe` neither 0 nor 2); their marks and the chosen path stay as they are.
  void Apply_Kabe_Enabling();

  void Select_Kabe(int index);
  void Select_Pos(int index);

  // Command 0: the open dialog; the chosen file goes to `lbl_Path` and its folder to `Get_File_Path`.
  void Browse_Kabe_File();
  // Command 1: checks the chosen file, then previews it.
  void Preview_Chosen_File();
  // Command 2: checks that mode 1 has a file, then opens the table editor.
  void OpenEditor();

  // The chosen file (the caption of `lbl_Path`); also kept in AppState::Chosen_File for the settings.
  std::string ChosenFile() const;
  void SetChosenFile(const std::string& path);

 private:
  static void ShowMark(std::span<forms::Image, 3> marks, std::span<forms::Label, 3> captions, int selected,
                       std::span<forms::Image, 2> Img_Opt);
  HWND Owner() const;

  AppState& state_;
  ChoiceControls c_;
  const ModalWindows& windows_;
};

}  // namespace qr
