#pragma once
// A stand-in for the main window in the tests of the wallpaper list, the background choice and the
// command dispatcher: a hidden form with the controls they work on, laid out as in the main window.
#include <windows.h>
// after windows.h
#include <gtest/gtest.h>
#include <shlobj.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "forms/child_controls.h"
#include "forms/form.h"
#include "forms/picture_box.h"
#include "forms/windowless.h"
#include "main_window/background_choice.h"
#include "main_window/command_dispatch.h"
#include "main_window/wallpaper_list.h"
#include "win32/surface.h"
#include "win32/text.h"

namespace qr::test {

class MainHost : public forms::Form {
 public:
  explicit MainHost(std::string programFolder) : Form(Spec()) {
    state.Program_Folder = std::move(programFolder);
    state.Get_File_Path = state.Program_Folder;
    Load();
  }
  ~MainHost() override { Unload(); }

  bool Enabled(int command) const { return lbl_Cmd[static_cast<size_t>(command)].Enabled(); }
  // The enabled state of `lbl_Cmd`(3..7) as "10100" (3 first).
  std::string ListCommands() const {
    std::string s;
    for (int i = 3; i <= 7; ++i) s += Enabled(i) ? '1' : '0';
    return s;
  }
  void Command(int index) { Run_Command(index, choice, list); }

  AppState state;
  ModalWindows windows;
  forms::PictureBox Pic_D0, Pic_D1;
  std::array<forms::Image, 3> Img_Kabe, Img_Pos;
  std::array<forms::Label, 3> lbl_Kabe, lbl_Pos;
  std::array<forms::Image, 2> Img_Opt;
  std::array<forms::Label, 8> lbl_Cmd;
  forms::Label lbl_Path;
  forms::ListBox List_Kabe;
  WallpaperList list{state, List_Kabe, lbl_Cmd, windows};
  BackgroundChoice choice{state, {Img_Kabe, lbl_Kabe, Img_Pos, lbl_Pos, Img_Opt, lbl_Path, lbl_Cmd}, windows};

  static constexpr COLORREF kMarkOff = RGB(10, 20, 30);
  static constexpr COLORREF kMarkOn = RGB(200, 40, 40);

 protected:
  void Design() override {
    Pic_D0.Create(*this, 20, 64, 489, 93);
    Pic_D1.Create(*this, 20, 196, 489, 181);
    for (int i = 0; i < 2; ++i) {
      Img_Opt[static_cast<size_t>(i)].Create(*this, 0, 480, 13, 13);
      Img_Opt[static_cast<size_t>(i)].SetVisible(false);
      Img_Opt[static_cast<size_t>(i)].SetPicture(
          forms::Picture::FromSurface(win::Surface(13, 13, i == 0 ? kMarkOff : kMarkOn)));
    }
    const int kabeTop[3] = {24, 40, 8};
    const int posLeft[3] = {264, 316, 264};
    const int posTop[3] = {32, 32, 48};
    for (size_t i = 0; i < 3; ++i) {
      Img_Kabe[i].Create(Pic_D0, 8, kabeTop[i], 12, 12);
      lbl_Kabe[i].Create(Pic_D0, 24, kabeTop[i], 150, 12);
      Img_Pos[i].Create(Pic_D0, posLeft[i], posTop[i], 12, 12);
      lbl_Pos[i].Create(Pic_D0, posLeft[i] + 16, posTop[i], 40, 12);
    }
    lbl_Cmd[0].Create(Pic_D0, 192, 36, 51, 22);
    lbl_Cmd[1].Create(Pic_D0, 384, 36, 91, 22);
    lbl_Path.Create(Pic_D0, 24, 64, 453, 17);
    lbl_Cmd[2].Create(*this, 396, 132, 91, 22);
    for (size_t i = 3; i <= 7; ++i) lbl_Cmd[i].Create(*this, 28 + 92 * static_cast<int>(i - 3), 384, 91, 22);
    List_Kabe.Create(Pic_D1, 20, 8, 457, 160);
    list.Attach();
    choice.Attach();
  }

 private:
  static forms::FormSpec Spec() {
    forms::FormSpec design;
    design.className = "QrTestMainHost";
    design.caption = "Quelm_Rask ( Main )";
    design.clientWidth = 541;
    design.clientHeight = 500;
    return design;
  }
};

// Posts a shell drop of `names` to the window, as the shell does, and lets it be handled.
inline void DropOn(HWND target, const std::vector<std::string>& names) {
  std::wstring list;
  for (const std::string& name : names) {
    list += win::Wide(name);
    list += L'\0';
  }
  list += L'\0';
  const size_t listBytes = list.size() * sizeof(wchar_t);
  HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + listBytes);
  ASSERT_NE(block, nullptr);
  auto* drop = static_cast<DROPFILES*>(GlobalLock(block));
  drop->pFiles = sizeof(DROPFILES);
  drop->pt = POINT{30, 20};
  drop->fWide = TRUE;
  std::memcpy(reinterpret_cast<char*>(drop) + sizeof(DROPFILES), list.data(), listBytes);
  GlobalUnlock(block);
  ASSERT_TRUE(PostMessageW(target, WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0));
  forms::DoEvents();
}

// A left click on the entry, by mouse messages to the list box.
inline void ClickEntry(forms::ListBox& box, int index) {
  const int itemHeight = static_cast<int>(SendMessageW(box.hwnd(), LB_GETITEMHEIGHT, 0, 0));
  const LPARAM at = MAKELPARAM(10, itemHeight * index + itemHeight / 2);
  PostMessageW(box.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(box.hwnd(), WM_LBUTTONUP, 0, at);
  forms::DoEvents();
}

}  // namespace qr::test
