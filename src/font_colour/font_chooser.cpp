// The font chooser window, which returns a font choice for the editor to apply.
#include "font_colour/font_chooser.h"

#include <charconv>
#include <utility>

#include "core/geometry.h"
#include "core/numeric.h"
#include "shared/face_button.h"
#include "shared/helpers.h"
#include "shared/skin.h"
#include "win32/fonts.h"
#include "win32/screen.h"
#include "win32/text.h"

namespace qr {

namespace {

constexpr int kFrameExtraWidth = 7;  // the window's frame around `Pic_C` at 100 %
constexpr int kFrameExtraHeight = 26;

// Design measures (pixels).
constexpr int kPicCWidth = 469;
constexpr int kPicCHeight = 297;
constexpr int kExtentMargin = 200;  // added to the name list's scroll extent
constexpr int kSwatchSize = 16;
constexpr int kSwatchPitch = 18;
constexpr int kSwatchLeft = 3;
constexpr int kCellHeight = Row_Pitch;
constexpr int kSmallestSize = 9;
constexpr COLORREF kPanelGrey = RGB(128, 128, 128);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// Tops of the nine swatch rows; the system colours stand apart below a gap.
constexpr std::array<int, 9> kSwatchRowTops = {21, 39, 57, 75, 93, 111, 135, 153, 171};

constexpr std::array<const char*, 4> kStyles = {"標準", "斜体", "太字", "斜体 太字"};
constexpr std::array<const char*, 3> kSizes = {"9", "10", "11"};

// The hourglass over the whole screen while the window is being built. The editor below stays enabled
// until the window is shown, and a message run meanwhile would let it put its own pointer back: the
// (still hidden) window holds the mouse until the load is over, and no WM_SETCURSOR is sent while the
// mouse is held.
class HourglassCursor {
 public:
  explicit HourglassCursor(HWND holder) : holder_(holder) {
    SetCapture(holder_);
    ::SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  }
  HourglassCursor(const HourglassCursor&) = delete;
  HourglassCursor& operator=(const HourglassCursor&) = delete;
  ~HourglassCursor() {
    if (GetCapture() == holder_) ReleaseCapture();
    ::SetCursor(LoadCursorW(nullptr, IDC_ARROW));
  }

 private:
  HWND holder_;
};

// The list is filled with one message per entry and drawn once at the end: a system may report
// thousands of faces.
void FillWithoutRedraw(forms::ListBox& list, const std::vector<std::string>& entries) {
  HWND box = list.hwnd();
  if (!box) return;
  SendMessageW(box, WM_SETREDRAW, FALSE, 0);
  SendMessageW(box, LB_INITSTORAGE, entries.size(), entries.size() * LF_FACESIZE * sizeof(wchar_t));
  for (const std::string& entry : entries) list.AddItem(entry);
  SendMessageW(box, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(box, nullptr, TRUE);
}

}  // namespace

Quelm_Rask_F::Quelm_Rask_F(std::optional<Cell> current, const Skin& skin, FontChooserServices services)
    : Form(forms::FormSpec{"Quelm_Rask_F", "ﾌｫﾝﾄの指定", forms::FormBorder::FixedSingle, kPicCWidth,
                           kPicCHeight, 0x80000000u | COLOR_BTNFACE, false, false}),
      skin_(skin),
      services_(std::move(services)),
      current_(std::move(current)) {
  if (!services_.screenFonts) services_.screenFonts = win::ScreenFontNames;
  if (!services_.cursorPos) services_.cursorPos = win::CursorPos;
}

// ---- Design: every control at its design place

void Quelm_Rask_F::Design() {
  Pic_C.Create(*this, 0, 0, kPicCWidth, kPicCHeight);
  Pic_C.SetAutoRedraw(true);
  Pic_C.SetBackColor(kPanelGrey);
  const std::array<std::pair<int, const char*>, 4> headings = {
      {{12, "ﾌｫﾝﾄ名"}, {316, "文字の色"}, {172, "ｽﾀｲﾙ"}, {256, "ｻｲｽﾞ"}}};
  for (size_t i = 0; i < headings.size(); ++i) {
    lbl_Button[i].Create(Pic_C, headings[i].first, 4, 0, 0);
    forms::TransparentCaption(lbl_Button[i], headings[i].second).SetAutoSize(true);
  }
  DesignLists();
  DesignPalette();
  DesignPreviewAndButtons();
  ConnectEvents();
}

void Quelm_Rask_F::DesignLists() {
  LstFontName.Create(Pic_C, 8, 20, 153, 225);
  SetStartFocus(LstFontName.hwnd());
  LstFontStyle.Create(Pic_C, 168, 20, 77, 186);
  LstFontSize.Create(Pic_C, 252, 20, 53, 186);
  LstFontName.SetAccessibleName("ﾌｫﾝﾄ名");
  LstFontStyle.SetAccessibleName("ｽﾀｲﾙ");
  LstFontSize.SetAccessibleName("ｻｲｽﾞ");
}

void Quelm_Rask_F::DesignPalette() {
  fraPalette.Create(Pic_C, 312, 20, 148, 190);
  fraPalette.SetBackColor(kPanelGrey);
  lblColorSample[0].Create(fraPalette, 3, 3, 142, 16);
  lblColorSample[0].SetBackColor(RGB(0, 0, 0));
  lblColorSample[0].SetKeepsColours(true);
  lblColorSample[0].SetAccessibleRole(forms::AccessibleRole::Graphic);
  lblColorSample[0].SetAccessibleName("選んだ文字の色");
  for (int ring = 0; ring < 2; ++ring) {  // before the swatches: they lie above it
    swatchRing_[static_cast<size_t>(ring)].Create(fraPalette, 0, 0, 0, 0);
    swatchRing_[static_cast<size_t>(ring)].SetKeepsColours(true);  // black and white show on any scheme
    swatchRing_[static_cast<size_t>(ring)].SetAccessibleRole(forms::AccessibleRole::None);
    swatchRing_[static_cast<size_t>(ring)].SetBackColor(ring == 0 ? RGB(0, 0, 0) : RGB(255, 255, 255));
    swatchRing_[static_cast<size_t>(ring)].SetVisible(false);
  }
  focusWatch_.OnTimer = [this] { Show_Swatch_Ring(); };
  focusWatch_.SetInterval(50);
  focusWatch_.SetEnabled(true);
  for (int index = 1; index <= kPaletteColours; ++index) {
    forms::Label& swatch = lblColorSample[static_cast<size_t>(index)];
    const int row = (index - 1) / 8;
    const int column = (index - 1) % 8;
    swatch.Create(fraPalette, kSwatchLeft + kSwatchPitch * column, kSwatchRowTops[static_cast<size_t>(row)],
                  kSwatchSize, kSwatchSize);
    swatch.SetBackColor(*Palette_Color(index));
    swatch.SetKeepsColours(true);
    swatch.SetAccessibleRole(forms::AccessibleRole::RadioButton);
    swatch.SetAccessibleName(PaletteColourName(index));
  }
  lblColorSample[1].SetTabStop(true);
}

void Quelm_Rask_F::DesignPreviewAndButtons() {
  lbl[3].Create(Pic_C, 172, 212, 0, 0);
  forms::TransparentCaption(lbl[3], "ﾌﾟﾚﾋﾞｭｰ").SetAutoSize(true);
  lblViewer.Create(Pic_C, 168, 228, 289, kCellHeight);
  lblViewer.SetBackColor(kWhite);
  lblViewer.SetForeColor(RGB(0, 0, 0));
  lblViewer.SetFont(forms::CaptionFont());
  lblViewer.SetKeepsColours(true);  // the cell as it will look
  BuildFaceButton(Pic_C, Img_OK, lbl_OK, {270, 260, 92, 21}, "OK");
  BuildFaceButton(Pic_C, Img_Can, lbl_Can, {364, 260, 92, 21}, "ｷｬﾝｾﾙ");
}

void Quelm_Rask_F::ConnectEvents() {
  LstFontName.OnClick = [this] { LstFontName_Click(); };
  LstFontStyle.OnClick = [this] { LstFontStyle_Click(); };
  LstFontSize.OnClick = [this] { LstFontSize_Click(); };
  for (int index = 0; index <= kPaletteColours; ++index) {
    lblColorSample[static_cast<size_t>(index)].OnMouseDown = [this, index](const forms::MouseEvent&) {
      lblColorSample_MouseDown(index);
    };
  }
  const ButtonFaces faces{skin_.Img_On, skin_.Img_Off};
  WireFaceButton(lbl_OK, Img_OK, faces, [this] { lbl_OK_Click(); });
  WireFaceButton(lbl_Can, Img_Can, faces, [this] { lbl_Can_Click(); });
}

// ---- Loading

void Quelm_Rask_F::Form_Load() {
  HourglassCursor hourglass(hwnd());  // 1
  RunStep([&] {                       // 2
    // Around `Pic_C` as the screen shows it: at 100 % the window's own margins, at other scales the
    // frame as the system draws it there.
    const SIZE frame = FrameExtent();
    const bool designScale = Scale().Identity();
    SetWidth((Scale().Px(Pic_C.Width()) + (designScale ? kFrameExtraWidth : frame.cx)) * TwipsPerPixelX());
    SetHeight((Scale().Px(Pic_C.Height()) + (designScale ? kFrameExtraHeight : frame.cy)) * TwipsPerPixelY());
  });
  RunStep([&] {  // 3
    const win::ScreenMetrics screen = win::GetScreenMetrics();
    Move(CentredStart(screen.widthTwips, Width()), CentredStart(screen.heightTwips, Height()));
  });
  RunStep([&] { Paint_Texture(); });      // 4
  RunStep([&] { Copy_Current_Cell(); });  // 5
  RunStep([&] {                           // 6
    Img_OK.SetPicture(skin_.Img_Off);
    Img_Can.SetPicture(skin_.Img_Off);
    for (forms::ListBox* list : {&LstFontName, &LstFontStyle, &LstFontSize}) list->SetCursor(skin_.cursor);
    lbl_OK.SetCursor(skin_.cursor);
    lbl_Can.SetCursor(skin_.cursor);
  });
  RunStep([&] { Fill_Font_Names(); });  // 7, 8
  RunStep([&] {                         // 9
    const int64_t extent = RoundHalfEven(LstFontName.Width() / TwipsPerPixelX() + kExtentMargin);
    LstFontName.SetHorizontalExtent(static_cast<int>(extent));
  });
  RunStep([&] { Fill_Sizes_And_Styles(); });  // 10
  RunStep([&] {                               // 11
    for (int index = 1; index <= kPaletteColours; ++index)
      lblColorSample[static_cast<size_t>(index)].SetCursor(skin_.cursor);
    const std::optional<POINT> cursor = services_.cursorPos();
    Open_X = cursor ? SaturateInt16(cursor->x) : 0;
    Open_Y = cursor ? SaturateInt16(cursor->y) : 0;
    Open_Effect(hwnd(), Open_X, Open_Y);
  });
}

// The main window's tiling: column by column, one tile beyond the right and bottom edges.
void Quelm_Rask_F::Paint_Texture() {
  const forms::Picture tile = skin_.texture.ForDpi(Scale().dpi);  // the tile as the screen shows it
  TileTexture(Pic_C, tile.Dc(), tile.Width(), tile.Height());
}

void Quelm_Rask_F::Copy_Current_Cell() {
  if (!current_) return;
  const Cell& cell = *current_;
  // The preview asks for its font exactly as the cells do (the character set follows the face name), so
  // where the face is missing both fall back to the same one.
  lblViewer.SetFont(win::CellFontSpec(cell.font.name, cell.font.size, cell.font.bold, cell.font.italic));
  lblViewer.SetForeColor(cell.foreColor);
  Check_Swatch(cell.foreColor);
  lblViewer.SetBackColor(cell.backColor);
  lblViewer.SetCaption(cell.text.empty() ? kPreviewSample : cell.text);
}

void Quelm_Rask_F::Fill_Font_Names() {
  fontNames_ = services_.screenFonts();
  FillWithoutRedraw(LstFontName, fontNames_);
  const std::string& current = lblViewer.Font().name;
  for (size_t i = 0; i < fontNames_.size(); ++i) {
    if (fontNames_[i] != current) continue;
    LstFontName.SetListIndex(static_cast<int>(i));
    return;
  }
}

void Quelm_Rask_F::Fill_Sizes_And_Styles() {
  for (const char* size : kSizes) LstFontSize.AddItem(size);
  const int64_t sizeIndex = RoundHalfEven(lblViewer.Font().size - kSmallestSize);
  if (sizeIndex >= 0 && sizeIndex < static_cast<int64_t>(kSizes.size()))
    LstFontSize.SetListIndex(static_cast<int>(sizeIndex));
  for (const char* style : kStyles) LstFontStyle.AddItem(style);
  const forms::FontSpec& font = lblViewer.Font();
  LstFontStyle.SetListIndex((font.bold ? 2 : 0) + (font.italic ? 1 : 0));
}

// ---- Choosing

void Quelm_Rask_F::LstFontName_Click() {
  const int index = LstFontName.ListIndex();
  if (index < 0) return;
  const forms::FontSpec& font = lblViewer.Font();
  lblViewer.SetFont(win::CellFontSpec(LstFontName.List(index), font.size, font.bold, font.italic));
  lblViewer.Refresh();
}

void Quelm_Rask_F::LstFontStyle_Click() {
  const int index = LstFontStyle.ListIndex();
  if (index < 0 || index > 3) return;
  forms::FontSpec font = lblViewer.Font();
  font.italic = index == 1 || index == 3;
  font.bold = index >= 2;
  lblViewer.SetFont(font);
  lblViewer.Refresh();
}

void Quelm_Rask_F::LstFontSize_Click() {
  const std::string text = LstFontSize.List(LstFontSize.ListIndex());
  int points = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), points);
  if (error != std::errc() || end == text.data()) return;
  forms::FontSpec font = lblViewer.Font();
  font.size = points;
  lblViewer.SetFont(font);
  lblViewer.Refresh();
}

void Quelm_Rask_F::lblColorSample_MouseDown(int index) {
  const COLORREF colour = lblColorSample[static_cast<size_t>(index)].BackColor();
  lblColorSample[0].SetBackColor(colour);
  lblViewer.SetForeColor(colour);
  Check_Swatch(colour);
}

// The palette's one tab stop is the chosen swatch: Tab arrives at the current colour, not at 白.
void Quelm_Rask_F::Check_Swatch(uint32_t colour) {
  int chosen = 0;
  for (int index = 1; index <= kPaletteColours; ++index) {
    forms::Label& swatch = lblColorSample[static_cast<size_t>(index)];
    swatch.SetChecked(swatch.BackColor() == colour);
    if (swatch.Checked() && chosen == 0) chosen = index;
  }
  if (chosen == 0) return;
  for (int index = 1; index <= kPaletteColours; ++index)
    lblColorSample[static_cast<size_t>(index)].SetTabStop(index == chosen);
}

int Quelm_Rask_F::FocusedSwatch() const {
  const forms::FocusTarget focus = forms::CurrentFocus();
  for (int index = 1; index <= kPaletteColours; ++index) {
    if (focus.control == &lblColorSample[static_cast<size_t>(index)]) return index;
  }
  return 0;
}

void Quelm_Rask_F::FocusSwatch(int index) {
  for (int other = 1; other <= kPaletteColours; ++other)
    lblColorSample[static_cast<size_t>(other)].SetTabStop(other == index);
  forms::MoveFocus({fraPalette.hwnd(), &lblColorSample[static_cast<size_t>(index)]});
  Show_Swatch_Ring();
}

void Quelm_Rask_F::Show_Swatch_Ring() {
  const int index = FocusedSwatch();
  for (int ring = 0; ring < 2; ++ring) {
    forms::Label& frame = swatchRing_[static_cast<size_t>(ring)];
    if (index == 0) {
      if (frame.Visible()) frame.SetVisible(false);
      continue;
    }
    const forms::Label& swatch = lblColorSample[static_cast<size_t>(index)];
    const int margin = 2 - ring;  // the gap between swatches holds both rings
    const RECT around{swatch.Left() - margin, swatch.Top() - margin, swatch.Left() + swatch.Width() + margin,
                      swatch.Top() + swatch.Height() + margin};
    if (frame.Left() != around.left || frame.Top() != around.top ||
        frame.Width() != around.right - around.left)
      frame.Move(around.left, around.top, around.right - around.left, around.bottom - around.top);
    if (!frame.Visible()) frame.SetVisible(true);
  }
}

bool Quelm_Rask_F::Form_KeyPreview(const forms::KeyEvent& e) {
  const int index = FocusedSwatch();
  if (index == 0 || (e.shift & (forms::kCtrlKey | forms::kAltKey))) return false;
  constexpr int kColumns = 8;
  const int column = (index - 1) % kColumns;
  int next = index;
  switch (e.keyCode) {
    case VK_LEFT:
      next = column > 0 ? index - 1 : index;
      break;
    case VK_RIGHT:
      next = column < kColumns - 1 ? index + 1 : index;
      break;
    case VK_UP:
      next = index > kColumns ? index - kColumns : index;
      break;
    case VK_DOWN:
      next = index + kColumns <= kPaletteColours ? index + kColumns : index;
      break;
    default:
      return false;
  }
  if (next != index) FocusSwatch(next);
  return true;  // at the palette's edge the key is spent without a move
}

// ---- OK and cancel

void Quelm_Rask_F::lbl_OK_Click() {
  if (!Loaded()) return;
  RunStep([&] {
    const forms::FontSpec& chosen = lblViewer.Font();
    choice_ =
        FontChoice{CellFont{chosen.name, chosen.size, chosen.bold, chosen.italic}, lblViewer.ForeColor()};
  });
  Unload();
}

void Quelm_Rask_F::lbl_Can_Click() { Unload(); }

void Quelm_Rask_F::Form_QueryUnload(forms::UnloadMode) { Close_Effect(hwnd(), Open_X, Open_Y); }

std::optional<FontChoice> ChooseFont(HWND owner, const std::optional<Cell>& current, const Skin& skin,
                                     const FontChooserServices& services) {
  Quelm_Rask_F chooser(current, skin, services);
  chooser.ShowModal(owner);
  return chooser.Choice();
}

EditorHooks::Command FontChooserHook(Skin skin, FontChooserServices services) {
  return [skin = std::move(skin), services = std::move(services)](Quelm_Rask_S& editor) {
    // The cell the chooser starts from: closing it gives the focus back, which may move the current cell.
    const int row = editor.State().Cur_Row;
    const int col = editor.State().Cur_Col;
    if (const std::optional<FontChoice> choice =
            ChooseFont(editor.hwnd(), editor.CurrentCell(), skin, services))
      editor.Apply_Font(choice->font, choice->colour, row, col);
  };
}

}  // namespace qr
