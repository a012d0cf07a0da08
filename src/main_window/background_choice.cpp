// The main window's background choice and its commands.
#include "main_window/background_choice.h"

#include "core/app_state.h"
#include "core/paths.h"
#include "core/wallpaper_job.h"
#include "shared/helpers.h"
#include "win32/file_dialog.h"
#include "win32/message_box.h"

namespace qr {

namespace {

constexpr int kOptionCount = 3;
constexpr const char* kNoFileMessage = "壁紙ﾌｧｲﾙを指定してください！";
constexpr const char* kMissingFileMessage = "指定した壁紙ﾌｧｲﾙが存在しません！";

bool IsOption(int index) { return index >= 0 && index < kOptionCount; }

}  // namespace

BackgroundChoice::BackgroundChoice(AppState& state, ChoiceControls controls, const ModalWindows& windows)
    : state_(state), c_(controls), windows_(windows) {}

void BackgroundChoice::Attach() {
  for (int i = 0; i < kOptionCount; ++i) {
    const size_t at = static_cast<size_t>(i);
    auto kabe = [this, i](const forms::MouseEvent&) { Select_Kabe(i); };
    auto pos = [this, i](const forms::MouseEvent&) { Select_Pos(i); };
    c_.Img_Kabe[at].OnMouseDown = kabe;
    c_.lbl_Kabe[at].OnMouseDown = kabe;
    c_.Img_Pos[at].OnMouseDown = pos;
    c_.lbl_Pos[at].OnMouseDown = pos;
  }
}

void BackgroundChoice::Show_Option_Marks() {
  ShowMark(c_.Img_Kabe, c_.lbl_Kabe, state_.G_Kabe, c_.Img_Opt);
  ShowMark(c_.Img_Pos, c_.lbl_Pos, state_.G_Pos, c_.Img_Opt);
}

void BackgroundChoice::Show_Marks() {
  Show_Option_Marks();
  Apply_Kabe_Enabling();
}

void BackgroundChoice::Apply_Kabe_Enabling() {
  const bool imageFile = state_.G_Kabe != 0 && state_.G_Kabe != 2;
  EnableCommands(c_.lbl_Cmd, 0, 1, imageFile);
  for (size_t i = 0; i < kOptionCount; ++i) {
    c_.Img_Pos[i].SetEnabled(imageFile);
    c_.lbl_Pos[i].SetEnabled(imageFile);
  }
}

void BackgroundChoice::Select_Kabe(int index) {
  if (!IsOption(index)) return;
  state_.G_Kabe = static_cast<int16_t>(index);
  ShowMark(c_.Img_Kabe, c_.lbl_Kabe, index, c_.Img_Opt);
  Apply_Kabe_Enabling();
}

void BackgroundChoice::Select_Pos(int index) {
  if (!IsOption(index)) return;
  state_.G_Pos = static_cast<int16_t>(index);
  ShowMark(c_.Img_Pos, c_.lbl_Pos, index, c_.Img_Opt);
}

void BackgroundChoice::Browse_Kabe_File() {
  win::FileDialogSpec request;
  request.owner = Owner();
  request.filterName = "壁紙ﾌｧｲﾙ (bmp jpg)";
  request.filterPattern = "*.bmp;*.jpg";
  request.moreFilters = {{PictureFilterName(), PictureFilterPattern()}};
  request.title = "ﾌｧｲﾙの参照";
  request.flags = 0;  // a typed name that does not exist is accepted; command 1 reports it
  request.initialFolder = state_.Get_File_Path;
  const auto path = win::ShowOpenDialog(request);
  if (!path) return;
  state_.Get_File_Path = Get_Folder(*path);
  if (File_Exists(*path) && !UsablePicture(Owner(), *path)) return;
  SetChosenFile(*path);
}

void BackgroundChoice::Preview_Chosen_File() {
  const std::string path = ChosenFile();
  if (path.empty()) {
    win::ShowMessage(Owner(), kNoFileMessage, win::kWarningStyle);
    return;
  }
  if (!File_Exists(path)) {
    win::ShowMessage(Owner(), kMissingFileMessage, win::kWarningStyle);
    return;
  }
  if (!UsablePicture(Owner(), path)) return;
  state_.Kabe_File = path;
  OpenPreview(windows_, state_, Owner());
}

void BackgroundChoice::OpenEditor() {
  const std::string path = ChosenFile();
  if (path.empty() && BackgroundKindOf(state_.G_Kabe) == BackgroundKind::ImageFile) {
    win::ShowMessage(Owner(), kNoFileMessage, win::kWarningStyle);
    return;
  }
  // A picture that cannot be decoded would give a wallpaper of the desktop colour alone.
  if (BackgroundKindOf(state_.G_Kabe) == BackgroundKind::ImageFile && File_Exists(path) &&
      !UsablePicture(Owner(), path))
    return;
  state_.Kabe_File = path;
  if (windows_.showEditor) windows_.showEditor();
}

std::string BackgroundChoice::ChosenFile() const { return c_.lbl_Path.Caption(); }

void BackgroundChoice::SetChosenFile(const std::string& path) {
  c_.lbl_Path.SetCaption(path);
  state_.Chosen_File = path;
}

void BackgroundChoice::ShowMark(std::span<forms::Image, 3> marks, std::span<forms::Label, 3> captions,
                                int selected, std::span<forms::Image, 2> Img_Opt) {
  for (forms::Image& mark : marks) mark.SetPicture(Img_Opt[0].Picture());
  if (IsOption(selected)) marks[static_cast<size_t>(selected)].SetPicture(Img_Opt[1].Picture());
  // The chosen option is checked for screen readers and for the high-contrast drawing of its mark.
  for (size_t i = 0; i < marks.size(); ++i) {
    marks[i].SetChecked(static_cast<int>(i) == selected);
    captions[i].SetChecked(static_cast<int>(i) == selected);
  }
}

HWND BackgroundChoice::Owner() const { return OwnerOf(c_.lbl_Path); }

}  // namespace qr
