#pragma once
// What the background choice and the wallpaper list share: the eight command labels of the main window
// (`lbl_Cmd`(0..7)), and how the main window's commands open the other windows.
#include <windows.h>

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "forms/windowless.h"

namespace qr {

using CommandLabels = std::span<forms::Label, 8>;

// Enables or disables `lbl_Cmd`(first..last).
inline void EnableCommands(CommandLabels lbl_Cmd, int first, int last, bool enabled) {
  for (int i = first; i <= last; ++i) lbl_Cmd[static_cast<size_t>(i)].SetEnabled(enabled);
}

// The modal windows the main window's commands open. Each returns when its window has closed. An empty
// preview hook shows the preview window with its default cursor; an empty editor hook does nothing.
struct ModalWindows {
  std::function<void()> showPreview;  // `Quelm_Rask_V` for `Kabe_File`
  std::function<void()> showEditor;   // `Quelm_Rask_S`
};

struct AppState;

// Shows the preview through the hook, or else a fresh preview window modal to `owner`.
void OpenPreview(const ModalWindows& windows, const AppState& state, HWND owner);

// A picture the system cannot decode (its codec is not installed): the file follows on the next line.
inline constexpr std::string_view kMissingCodecMessage = "この画像ﾌｧｲﾙを読み込むｺｰﾃﾞｯｸがありません！";

// The picture entry of the file dialogs: every type the system decodes (win32/image.h).
std::string PictureFilterName();
std::string PictureFilterPattern();

// True when an existing file can serve as a picture. A type the system decodes is taken as it is, a
// type whose codec is installed separately (HEIC, WebP...) or an unknown one only when its first pixel
// decodes; otherwise the codec message names the file and the result is false.
bool UsablePicture(HWND owner, const std::string& path);

// Tells the user, in one message, of the files whose codec is missing (none: nothing is shown).
void WarnMissingCodec(HWND owner, const std::vector<std::string>& paths);

// The top-level window that holds a control (the owner of the message boxes and dialogs); nullptr when
// the control has no window yet.
HWND OwnerOf(const forms::Windowless& control);
HWND OwnerOf(HWND control);

}  // namespace qr
