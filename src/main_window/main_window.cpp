// The main window `Quelm_Rask_M`: its design, skin, title strip and menu.
#include "main_window/main_window.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "core/geometry.h"
#include "core/numeric.h"
#include "core/settings.h"
#include "core/version.h"
#include "main_window/command_dispatch.h"
#include "main_window/help_guide.h"
#include "shared/face_button.h"
#include "shared/fixed_files.h"
#include "shared/helpers.h"
#include "shared/keyboard_move.h"
#include "shared/profile_store.h"
#include "shared/record_paths.h"
#include "shared/skin.h"
#include "win32/autostart.h"
#include "win32/files.h"
#include "win32/handles.h"
#include "win32/lazy_libraries.h"
#include "win32/message_box.h"
#include "win32/screen.h"
#include "win32/text.h"

namespace qr {

namespace {

constexpr int kClientWidth = 541;
constexpr int kClientHeight = 469;
constexpr int kTitleStripHeight = 20;  // the strip above Pic_B
constexpr int kStoreTop = 480;         // the image store lies below the visible area
constexpr COLORREF kTitleText = RGB(255, 255, 128);
constexpr COLORREF kHeaderText = RGB(255, 255, 255);
constexpr COLORREF kPathBack = RGB(255, 255, 255);
constexpr UINT kAutostartItem = 1;
constexpr UINT kFillListMessage = WM_APP + 1;  // the wallpaper list's entries past its first screenful
// Entries checked and listed per message: about 10 ms under Wine, so that the window answers keys and
// clicks while a long list fills (1,000 entries in one message held it for 40 to 50 ms).
constexpr size_t kFillListRecords = 250;
constexpr const char* kAutostartCaption = "ログオン時に壁紙を保つ(&A)";
constexpr const char* kAutostartNotChanged = "ログオン時の設定を変えられませんでした！";

// A value stored into a 16-bit variable: rounded half to even; a value that does not fit leaves the
// variable as it was (the statement fails and is skipped).
void StoreInt16(int16_t& target, double value) {
  if (auto v = ToInt16(RoundHalfEven(value))) target = *v;
}

}  // namespace

MainWindowServices RealMainWindowServices() {
  MainWindowServices services;
  services.End_Program = [] { PostQuitMessage(0); };
  services.End_Session = [] { ExitProcess(0); };
  services.Win_Help = [](HWND owner, const std::string& helpFile, UINT command, ULONG_PTR data) {
    WinHelpW(owner, win::Wide(helpFile).c_str(), command, data);
  };
  services.Open_Document = [](HWND owner, const std::string& path) {
    const auto result = reinterpret_cast<INT_PTR>(win::lazy::ShellExecuteW(
        owner, L"open", win::ApiPath(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL));
    return result > 32;
  };
  services.Guide_Folder = DefaultFixedFileFolders().fallback;
  services.Autostart_Enabled = [] { return win::AutostartEnabled(); };
  services.Set_Autostart = [](bool on) { return win::SetAutostart(on, win::ExecutablePath()); };
  return services;
}

Quelm_Rask_M::Quelm_Rask_M(AppState& state, MainWindowServices services)
    : Form(forms::FormSpec{"Quelm_Rask_M", "Quelm_Rask ( Main )", forms::FormBorder::None, kClientWidth,
                           kClientHeight}),
      state_(state),
      services_(std::move(services)),
      mouseIcon_(skin::Pointer()) {
  if (services_.Show_Preview) windows_.showPreview = [this] { services_.Show_Preview(*this); };
  if (services_.Show_Editor) windows_.showEditor = [this] { services_.Show_Editor(*this); };
  list_.OnEntriesAdded = [this](const std::vector<std::string>& added) { Fit_List_Extent(added); };
}

std::string Quelm_Rask_M::SettingsFile() const {
  return FileInProgramFolder(DataFolder(state_), kSettingsFileName);
}

// ---- design: every control at its design position

void Quelm_Rask_M::Design() {
  DesignImageStore();
  DesignTitleAndPanels();
  DesignChoice();
  DesignCommands();
}

void Quelm_Rask_M::DesignImageStore() {
  const std::pair<forms::Image*, int> store[] = {
      {&Img_Off, IDB_IMG_OFF},         {&Img_On, IDB_IMG_ON}, {&Img_Opt[0], IDB_IMG_OPT0},
      {&Img_Opt[1], IDB_IMG_OPT1},     {&Img_TT, IDB_IMG_TT}, {&imgImages[0], IDB_IMG_IMAGES0},
      {&imgImages[1], IDB_IMG_IMAGES1}};
  int left = 0;
  for (auto [image, id] : store) {
    image->Create(*this, left, kStoreTop, 0, 0);
    image->SetVisible(false);
    image->SetPicture(skin::Picture(id));
    left += image->Width() + 4;
  }
  Pic_Mbl1.Create(*this, 0, kStoreTop + 30, 541, 22);
  Pic_Mbl1.SetVisible(false);
  Pic_Mbl1.SetAutoRedraw(true);
  Pic_Mbl1.SetPicture(skin::Picture(IDB_PIC_MBL1));
}

void Quelm_Rask_M::DesignTitleAndPanels() {
  Image1.Create(*this, 0, 0, 539, 22);
  Image1.SetPicture(skin::Picture(IDB_TITLE_STRIP));
  Image1.OnMouseDown = [this](const forms::MouseEvent& e) { Image1_MouseDown(e); };
  Image1.OnMouseMove = [this](const forms::MouseEvent& e) { Image1_MouseMove(e); };
  Image1.OnMouseUp = [this](const forms::MouseEvent& e) { Image1_MouseUp(e); };
  Image1.SetAccessibleRole(forms::AccessibleRole::TitleBar);
  Image1.SetContrastLook(forms::ContrastLook::Face);
  Image1.SetAccessibleName("Quelm_Rask(Main)");

  Label1.Create(*this, 12, 4, 86, 12);
  forms::TransparentCaption(Label1, "Quelm_Rask(Main)").SetForeColor(kTitleText);
  Label1.SetAutoSize(true);  // the design size is a little small for the caption font
  Label1.SetAccessibleRole(forms::AccessibleRole::None);  // the title strip bears its name

  ImgExit.Create(*this, 520, 4, 15, 15);
  ImgExit.SetPicture(imgImages[0].Picture());
  ImgExit.OnMouseDown = [this](const forms::MouseEvent& e) { ImgExit_MouseDown(e); };
  ImgExit.OnMouseUp = [this](const forms::MouseEvent& e) { ImgExit_MouseUp(e); };
  ImgExit.SetAccessibleRole(forms::AccessibleRole::PushButton);
  ImgExit.SetAccessibleName("閉じる");
  ImgExit.SetContrastLook(forms::ContrastLook::CloseMark);

  Pic_B.Create(*this, 0, 20, 541, 449);
  Pic_B.SetAutoRedraw(true);
  Pic_B.SetBorder(true);
  Pic_C.Create(Pic_B, 12, 12, 513, 389);
  Pic_C.SetAutoRedraw(true);
  Pic_C.SetBorder(true);

  const int headerTops[2] = {8, 140};
  const char* headers[2] = {"新規作成", "作成履歴"};
  for (size_t i = 0; i < 2; ++i) {
    Img_H[i].Create(Pic_C, 8, headerTops[i], 95, 20);
    Img_H[i].SetStretch(true);
    Img_H[i].SetContrastLook(forms::ContrastLook::Face);
    lbl[i].Create(Pic_C, 8, headerTops[i], 95, 20);
    forms::TransparentCaption(lbl[i], headers[i]).SetForeColor(kHeaderText);
    lbl[i].SetAlignment(forms::Alignment::Center);
    lbl[i].SetVerticalCentre(true);
  }
  Pic_D[0].Create(Pic_C, 8, 32, 489, 93);
  Pic_D[1].Create(Pic_C, 8, 164, 489, 181);
  for (auto& box : Pic_D) {
    box.SetAutoRedraw(true);
    box.SetBorder(true);
  }
  List_Kabe.Create(Pic_D[1], 20, 8, 457, 160);
  List_Kabe.SetAccessibleName("作成履歴");
  list_.Attach();

  lbl[9].Create(Pic_B, 12, 412, 168, 13);
  forms::TransparentCaption(lbl[9], VersionLabel());
}

void Quelm_Rask_M::DesignChoice() {
  struct Option {
    int markLeft, top, labelWidth;
    const char* caption;
  };
  const Option kabe[3] = {{8, 24, 164, "現在の壁紙に貼り付け"},
                          {8, 40, 164, "壁紙ﾌｧｲﾙを指定して貼り付け"},
                          {8, 8, 164, "壁紙なしで貼り付け"}};
  const Option pos[3] = {{264, 32, 32, "中央"}, {316, 32, 44, "並べて"}, {264, 48, 60, "ﾌﾙｽｸﾘｰﾝ"}};
  for (int i = 0; i < 3; ++i) {
    const auto idx = static_cast<size_t>(i);
    Img_Kabe[idx].Create(Pic_D[0], kabe[i].markLeft, kabe[i].top, 12, 12);
    lbl_Kabe[idx].Create(Pic_D[0], kabe[i].markLeft + 16, kabe[i].top, kabe[i].labelWidth, 13);
    forms::TransparentCaption(lbl_Kabe[idx], kabe[i].caption);
    Img_Pos[idx].Create(Pic_D[0], pos[i].markLeft, pos[i].top, 12, 12);
    lbl_Pos[idx].Create(Pic_D[0], pos[i].markLeft + 16, pos[i].top, pos[i].labelWidth, 13);
    forms::TransparentCaption(lbl_Pos[idx], pos[i].caption);
    lbl_Kabe[idx].SetTabStop(true);  // the keyboard chooses with Tab and Space
    lbl_Pos[idx].SetTabStop(true);
    lbl_Kabe[idx].SetAccessibleRole(forms::AccessibleRole::RadioButton);
    lbl_Pos[idx].SetAccessibleRole(forms::AccessibleRole::RadioButton);
    Img_Kabe[idx].SetContrastLook(forms::ContrastLook::RadioMark);
    Img_Pos[idx].SetContrastLook(forms::ContrastLook::RadioMark);
    auto kabeDown = [this, i](const forms::MouseEvent&) { Select_Kabe(i); };
    auto posDown = [this, i](const forms::MouseEvent&) { Select_Pos(i); };
    Img_Kabe[idx].OnMouseDown = kabeDown;
    lbl_Kabe[idx].OnMouseDown = kabeDown;
    Img_Pos[idx].OnMouseDown = posDown;
    lbl_Pos[idx].OnMouseDown = posDown;
  }
  lbl_Path.Create(Pic_D[0], 24, 64, 453, 17);
  lbl_Path.SetBackColor(kPathBack);
  lbl_Path.SetBorderStyle(forms::BorderStyle::FixedSingle);
  lbl_Path.SetVerticalCentre(true);
}

void Quelm_Rask_M::MakeButton(forms::PictureBox& parent, forms::Image& face, forms::Label& caption, int left,
                              int top, int width, const std::string& text) {
  BuildFaceButton(parent, face, caption, {left, top, width, 22}, text);
}

void Quelm_Rask_M::WireButton(forms::Label& caption, forms::Image& face, std::function<void()> action) {
  WireFaceButton(caption, face, {Img_On.Picture(), Img_Off.Picture()}, std::move(action));
}

void Quelm_Rask_M::DesignCommands() {
  MakeButton(Pic_D[0], Img_Cmd[0], lbl_Cmd[0], 192, 36, 51, "参照...");
  MakeButton(Pic_D[0], Img_Cmd[1], lbl_Cmd[1], 384, 36, 91, "壁紙ﾌﾟﾚﾋﾞｭｰ");
  lbl_Cmd[1].SetToolTip("ｲﾝﾌﾟｯﾄﾌｧｲﾙの再生");
  MakeButton(Pic_C, Img_Cmd[2], lbl_Cmd[2], 396, 132, 91, "壁紙作成");
  const char* listCaptions[5] = {"壁紙ﾌﾟﾚﾋﾞｭｰ", "ﾘｽﾄから削除", "ﾘｽﾄ全部ｸﾘｱ", "ﾌｧｲﾙ削除", "壁紙変更"};
  for (size_t i = 3; i <= 7; ++i) {
    MakeButton(Pic_C, Img_Cmd[i], lbl_Cmd[i], 28 + 92 * static_cast<int>(i - 3), 352, 91,
               listCaptions[i - 3]);
  }
  lbl_Cmd[3].SetToolTip("結合ﾌｧｲﾙﾘｽﾄの再生");
  // The two captions are the same: a screen reader, which hears no place on the window, tells them apart
  // by what each previews.
  lbl_Cmd[1].SetAccessibleName("壁紙ﾌﾟﾚﾋﾞｭｰ (指定したﾌｧｲﾙ)");
  lbl_Cmd[3].SetAccessibleName("壁紙ﾌﾟﾚﾋﾞｭｰ (ﾘｽﾄで選んだ壁紙)");
  for (size_t i = 0; i < lbl_Cmd.size(); ++i) {
    WireButton(lbl_Cmd[i], Img_Cmd[i], [this, i] { Run_Command(static_cast<int>(i)); });
  }
  MakeButton(Pic_C, Img_Help, lbl_Help, 392, 8, 91, "ﾍﾙﾌﾟ");
  WireButton(lbl_Help, Img_Help, [this] { lbl_Help_Action(); });
  MakeButton(Pic_B, Img_End, lbl_End, 316, 412, 91, "終了");
  WireButton(lbl_End, Img_End, [this] { lbl_End_Action(); });
  MakeButton(Pic_B, Img_Can, lbl_Can, 408, 412, 91, "ｷｬﾝｾﾙ");
  WireButton(lbl_Can, Img_Can, [this] { lbl_Can_Action(); });
}

// ---- start-up

void Quelm_Rask_M::Form_Load() {
  const double tppX = TwipsPerPixelX();
  const double tppY = TwipsPerPixelY();
  RunStep([&] {  // 1: exactly Pic_B plus the title strip, as the screen shows them
    SetWidth(Scale().Px(Pic_B.Width()) * tppX);
    SetHeight(Scale().Px(Pic_B.Height() + kTitleStripHeight) * tppY);
  });
  RunStep([&] {  // first position: centred on the screen
    const win::ScreenMetrics screen = win::GetScreenMetrics();
    Move((screen.widthTwips - Width()) / 2, (screen.heightTwips - Height()) / 2);
  });
  RunStep([&] {  // 2
    List_Extent = static_cast<int32_t>(RoundHalfEven(List_Kabe.Width() / tppX + 600));
    List_Kabe.SetHorizontalExtent(List_Extent);
  });
  RunStep([&] {  // 3
    Paint_Texture(Pic_B);
    Paint_Texture(Pic_C);
    Paint_Texture(Pic_D[0]);
    Paint_Texture(Pic_D[1]);
  });
  RunStep([&] {  // 4
    ProfileKeyStore store(SettingsFile());
    Load_Main_Settings(store, state_, File_Exists);
  });
  RunStep([&] { lbl_Path.SetCaption(state_.Chosen_File); });
  RunStep([&] {  // 5
    for (auto& header : Img_H) header.SetPicture(Img_TT.Picture());
  });
  RunStep([&] { choice_.Show_Option_Marks(); });  // 6
  RunStep([&] {                                   // 7
    for (size_t i = 0; i < 3; ++i) {
      Img_Kabe[i].SetCursor(mouseIcon_);
      lbl_Kabe[i].SetCursor(mouseIcon_);
      Img_Pos[i].SetCursor(mouseIcon_);
      lbl_Pos[i].SetCursor(mouseIcon_);
    }
    for (size_t i = 0; i < lbl_Cmd.size(); ++i) {
      lbl_Cmd[i].SetCursor(mouseIcon_);
      Img_Cmd[i].SetPicture(Img_Off.Picture());
    }
  });
  RunStep([&] {  // 8
    Img_Help.SetPicture(Img_Off.Picture());
    lbl_Help.SetCursor(mouseIcon_);
    Img_Help.SetLeft(394);
    lbl_Help.SetLeft(394);
  });
  RunStep([&] { choice_.Apply_Kabe_Enabling(); });  // 9
  RunStep([&] {                                     // 10
    Img_End.SetPicture(Img_Off.Picture());
    Img_Can.SetPicture(Img_Off.Picture());
    lbl_End.SetCursor(mouseIcon_);
    lbl_Can.SetCursor(mouseIcon_);
  });
  RunStep([&] {  // 11
    Drag_Flag = 0;
    List_Kabe.SetCursor(mouseIcon_);
  });
  RunStep([&] {  // 12
    for (size_t i = 3; i <= 7; ++i) lbl_Cmd[i].SetEnabled(false);
  });
  RunStep([&] {  // 13 (the extent then fits the entries, Fit_List_Extent)
    Load_Wallpaper_List();
    // The entries past the first screenful follow once the window is shown (the message loop runs).
    if (list_.Filling()) PostMessageW(hwnd(), kFillListMessage, 0, 0);
  });
  RunStep([&] {  // 14
    if (List_Kabe.ListCount() >= 1) lbl_Cmd[5].SetEnabled(true);
  });
}

void Quelm_Rask_M::Fit_List_Extent(const std::vector<std::string>& added) {
  // The extent grows to the widest entry, so that a long path can be scrolled fully into view. Only the
  // new entries are measured: reading entries back from the list box costs more than measuring them.
  int widest = 0;
  {
    const win::WindowDc windowDc(List_Kabe.hwnd());
    if (!windowDc) return;
    const HDC dc = windowDc.get();
    win::Font font = forms::CreateFontFor(List_Kabe.Font(), Scale().dpi);
    win::Selection select(dc, font.get());
    for (const std::string& entry : added) {
      const std::wstring text = win::Wide(entry);
      SIZE size{};
      if (GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size)) {
        widest = std::max(widest, static_cast<int>(size.cx));
      }
    }
  }
  List_Kabe.SetHorizontalExtent(
      std::max({List_Extent, List_Kabe.HorizontalExtent(), Scale().Design(widest) + 8}));
}

void Quelm_Rask_M::Paint_Texture(forms::PictureBox& target) {
  TileTexture(target, Pic_Mbl1.Dc(), Pic_Mbl1.ScaleWidth(), Pic_Mbl1.ScaleHeight());
}

// ---- the wallpaper list and the commands

void Quelm_Rask_M::Load_Wallpaper_List() { list_.Load_List(); }
void Quelm_Rask_M::Save_Wallpaper_List() { list_.Save_List(); }
void Quelm_Rask_M::Select_Kabe(int index) { choice_.Select_Kabe(index); }
void Quelm_Rask_M::Select_Pos(int index) { choice_.Select_Pos(index); }
void Quelm_Rask_M::Run_Command(int index) { qr::Run_Command(index, choice_, list_); }

// The panels' texture, painted again at the new scale.
void Quelm_Rask_M::Form_DpiChanged() {
  for (forms::PictureBox* box : {&Pic_B, &Pic_C, &Pic_D[0], &Pic_D[1]}) Paint_Texture(*box);
}

// ---- dragging by the title strip

void Quelm_Rask_M::Image1_MouseDown(const forms::MouseEvent& e) {
  if (e.button == forms::kRightButton) menuPressed_ = true;
  if (e.button != forms::kLeftButton) return;
  Drag_Flag = 1;
  const auto cursor = win::CursorPos();
  if (!cursor) return;
  StoreInt16(Drag_Dx, cursor->x * TwipsPerPixelX() - Left());
  StoreInt16(Drag_Dy, cursor->y * TwipsPerPixelY() - Top());
}

void Quelm_Rask_M::Image1_MouseMove(const forms::MouseEvent&) {
  if (Drag_Flag != 1) return;
  const auto cursor = win::CursorPos();
  if (!cursor) return;
  SetTop(cursor->y * TwipsPerPixelY() - Drag_Dy);
  SetLeft(cursor->x * TwipsPerPixelX() - Drag_Dx);
}

void Quelm_Rask_M::Image1_MouseUp(const forms::MouseEvent& e) {
  Drag_Flag = 0;
  if (e.button != forms::kRightButton || !std::exchange(menuPressed_, false)) return;
  // As a context menu: where the right button, pressed on the strip, is released on it too.
  if (e.x < 0 || e.y < 0 || e.x >= Image1.Width() || e.y >= Image1.Height()) return;
  const RECT strip = Image1.Bounds();
  POINT at{strip.left + e.deviceX, strip.top + e.deviceY};
  ClientToScreen(hwnd(), &at);
  Title_Menu(at);
}

void Quelm_Rask_M::Title_Menu(POINT screenPoint) {
  if (!services_.Autostart_Enabled || !services_.Set_Autostart) return;
  const win::Menu menu(CreatePopupMenu());
  if (!menu) return;
  const bool on = services_.Autostart_Enabled();
  AppendMenuW(menu.get(), MF_STRING | (on ? MF_CHECKED : MF_UNCHECKED), kAutostartItem,
              win::Wide(kAutostartCaption).c_str());
  const UINT chosen =
      static_cast<UINT>(TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON,
                                       screenPoint.x, screenPoint.y, 0, hwnd(), nullptr));
  if (chosen == kAutostartItem && !services_.Set_Autostart(!on))
    win::ShowMessage(hwnd(), kAutostartNotChanged, win::kWarningStyle);
}

bool Quelm_Rask_M::Form_KeyPreview(const forms::KeyEvent& e) {
  if (MoveByArrowKey(*this, e)) return true;
  const int modifiers = e.shift & (forms::kCtrlKey | forms::kAltKey | forms::kShiftKey);
  if ((e.keyCode == VK_APPS && modifiers == 0) || (e.keyCode == VK_F10 && modifiers == forms::kShiftKey)) {
    const RECT strip = Image1.Bounds();  // the menu opens below the title strip's left end
    POINT below{strip.left, strip.bottom};
    ClientToScreen(hwnd(), &below);
    Title_Menu(below);
    return true;
  }
  const bool ctrlOnly = (e.shift & (forms::kCtrlKey | forms::kAltKey | forms::kShiftKey)) == forms::kCtrlKey;
  if (!ctrlOnly || e.keyCode != 'V' || e.focus != List_Kabe.hwnd()) return false;
  list_.Paste_Files();
  return true;
}

// ---- leaving, and help

void Quelm_Rask_M::ImgExit_MouseDown(const forms::MouseEvent&) {
  exitPressed_ = true;
  ImgExit.SetPicture(imgImages[1].Picture());
}

void Quelm_Rask_M::ImgExit_MouseUp(const forms::MouseEvent&) {
  ImgExit.SetPicture(imgImages[0].Picture());
  if (!std::exchange(exitPressed_, false)) return;  // a stray release does not end the program
  forms::DoEvents();
  Unload();
}

void Quelm_Rask_M::lbl_End_Action() {
  RunStep([&] {
    state_.Chosen_File = lbl_Path.Caption();
    const AppState saved = Recordable_Main_Settings();
    ProfileKeyStore store(SettingsFile());
    Save_Main_Settings(store, saved);
  });
  Unload();
}

AppState Quelm_Rask_M::Recordable_Main_Settings() const {
  AppState saved = state_;
  std::string lost;
  for (std::string* path :
       {&saved.Chosen_File, &saved.Get_File_Path, &saved.Get_Data_Path, &saved.Get_Kabe_Path}) {
    if (path->empty()) continue;
    // The same short-name lookup as the list's (tests replace it there).
    const std::optional<std::string> recordable = RecordablePath(*path, list_.ShortPathOf);
    if (!recordable) lost += "\n" + *path;
    *path = recordable.value_or("");
  }
  if (!lost.empty()) win::ShowMessage(hwnd(), std::string(kPathNotRecordable) + lost, win::kWarningStyle);
  return saved;
}

void Quelm_Rask_M::lbl_Can_Action() { Unload(); }

// The classic help file when one is supplied; otherwise the HTML guide in the user's browser (current
// systems have no viewer for ".hlp" files).
void Quelm_Rask_M::lbl_Help_Action() {
  const std::string helpFile = FileInProgramFolder(state_.Program_Folder, "Quelm_Rask.hlp");
  if (File_Exists(helpFile)) {
    if (services_.Win_Help) services_.Win_Help(hwnd(), helpFile, HELP_FINDER, 0);
    return;
  }
  const std::string guide =
      Locate_User_Guide(state_.Program_Folder, services_.Guide_Folder, Embedded_User_Guide());
  if (!guide.empty() && services_.Open_Document && services_.Open_Document(hwnd(), guide)) return;
  win::ShowMessage(hwnd(),
                   guide.empty() ? std::string(kGuideNotOpened) : kGuideNotOpened + std::string("\n") + guide,
                   win::kWarningStyle);
}

void Quelm_Rask_M::Form_QueryUnload(forms::UnloadMode) {
  RunStep([&] { Save_Wallpaper_List(); });
}

LRESULT Quelm_Rask_M::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  // The session's end is never refused (WM_QUERYENDSESSION keeps its default, TRUE). When it really
  // comes (wParam TRUE) the process may be ended at any moment after this message: close now.
  if (msg == WM_ENDSESSION) {
    if (wp) Session_End();
    return 0;
  }
  if (msg == kFillListMessage) {
    RunStep([&] {
      if (list_.Fill_Part(kFillListRecords)) PostMessageW(hwnd(), kFillListMessage, 0, 0);
    });
    return 0;
  }
  return Form::HandleMessage(msg, wp, lp);
}

void Quelm_Rask_M::Session_End() {
  UnloadBy(forms::UnloadMode::AppWindows);
  if (services_.End_Session) services_.End_Session();
}

void Quelm_Rask_M::Form_Unload() {
  // Closing the main window, however it happens, ends the program.
  if (services_.End_Program) services_.End_Program();
}

}  // namespace qr
