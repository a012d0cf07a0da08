// The table editor window `Quelm_Rask_S`: its grid, sliders and commands.
#include "table_editor/editor_window.h"

#include <windowsx.h>

#include <algorithm>
#include <string>
#include <utility>

#include "core/block_text.h"
#include "core/geometry.h"
#include "core/numeric.h"
#include "core/settings.h"
#include "core/wallpaper_job.h"
#include "shared/helpers.h"
#include "shared/keyboard_move.h"
#include "table_editor/data_files.h"
#include "win32/clipboard.h"
#include "win32/display.h"
#include "win32/fonts.h"
#include "win32/handles.h"
#include "win32/lazy_libraries.h"
#include "win32/message_box.h"
#include "win32/screen.h"
#include "win32/text.h"

namespace qr {

namespace {

// Design measures (pixels).
constexpr int kToolbarLeft = 4;
constexpr int kToolbarPitch = 26;
constexpr int kToolbarFaceTop = 4;
constexpr int kToolbarFaceSize = 26;  // the faces touch; the 18-pixel pictures sit 4 pixels inside
constexpr int kToolbarPictureInset = 4;
constexpr int kToolbarPictureSize = 18;
constexpr int kRowColPitch = 20;
constexpr int kRowColInset = 2;
constexpr int kRowColTop = 8;
constexpr int kRowColSize = 18;
constexpr int kSliderTop = 36;
constexpr int kSliderWidth = 33;
constexpr int kSliderHeight = 13;
constexpr int kSliderSmallStep = 8;
constexpr int kSliderLargeStep = 50;
constexpr int kCellHeight = Row_Pitch;
constexpr int kCellDesignLeft = 8;
constexpr int kLargeFaceWidth = 88;
constexpr int kLargeFaceHeight = 22;
constexpr int kLargeLabelHeight = 14;
constexpr int kOptionTop = 11;
constexpr int kOptionBoxSize = 13;
constexpr int kOptionLabelWidth = 28;
constexpr int kTransLeft = 222;
constexpr int kCommonLeft = 268;
constexpr int kOptionLabelGap = 16;
// The editor before its first layout: the size the layout gives for the default table.
constexpr int kDesignClientWidth = 323;
constexpr int kDesignClientHeight = 301;

constexpr const char* kToolbarTips[7] = {"",
                                         "",
                                         "データの読み込み",
                                         "名前を付けてデータの保存",
                                         "壁紙に貼り付け後のプレビュー",
                                         "背景色の設定",
                                         "フォントの設定"};
constexpr const char* kRowColTips[4] = {"行数（Max.34）", "行数（Min.1）", "列数（Min.1）", "列数（Max.5）"};
constexpr const char* kButtonCaptions[2] = {"壁紙貼り付け", "ｷｬﾝｾﾙ"};

// The editor's menu: item ids are a base plus the value the item stores.
constexpr UINT kEffectItem = 100;   // + `Text_Effect` 0..3
constexpr UINT kOpacityItem = 200;  // + `Panel_Alpha` 25, 50, 75
constexpr const char* kEffectCaptions[4] = {"文字の効果なし", "文字の縁取り", "文字の影", "半透明の下地"};
constexpr int16_t kOpacities[3] = {25, 50, 75};

void AppendItem(HMENU menu, UINT id, const std::string& caption) {
  AppendMenuW(menu, MF_STRING, id, win::Wide(caption).c_str());
}

win::Menu EffectMenu(const AppState& state) {
  win::Menu menu(CreatePopupMenu());
  if (!menu) return menu;
  for (UINT effect = 0; effect < 4; ++effect)
    AppendItem(menu.get(), kEffectItem + effect, kEffectCaptions[effect]);
  AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
  for (const int16_t opacity : kOpacities)
    AppendItem(menu.get(), kOpacityItem + opacity, "下地の濃さ " + std::to_string(opacity) + "%");
  CheckMenuRadioItem(menu.get(), kEffectItem, kEffectItem + 3,
                     kEffectItem + static_cast<UINT>(TextEffectOf(state.Text_Effect)), MF_BYCOMMAND);
  CheckMenuRadioItem(menu.get(), kOpacityItem + kOpacities[0], kOpacityItem + kOpacities[2],
                     kOpacityItem + PanelAlphaOf(state.Panel_Alpha), MF_BYCOMMAND);
  return menu;
}

forms::FontSpec ToFontSpec(const CellFont& font) {
  return win::CellFontSpec(font.name, font.size, font.bold, font.italic);
}

forms::FormSpec EditorFormSpec() {
  forms::FormSpec design;
  design.className = "Quelm_Rask_S";
  design.caption = "Quelm_Rask";
  design.border = forms::FormBorder::None;
  design.clientWidth = kDesignClientWidth;
  design.clientHeight = kDesignClientHeight;
  design.showInTaskbar = false;
  return design;
}

}  // namespace

Quelm_Rask_S::Quelm_Rask_S(AppState& state, KeyStore& settings, const EditorSkin& skin, EditorHooks hooks)
    : forms::Form(EditorFormSpec()),
      state_(state),
      settings_(settings),
      skin_(skin),
      hooks_(std::move(hooks)) {}

Quelm_Rask_S::~Quelm_Rask_S() = default;

// ---- Controls

forms::TextBox& Quelm_Rask_S::txt_Item(int col, int row) {
  return cells_[static_cast<size_t>(std::clamp(col, 1, kMaxCols) - 1)]
               [static_cast<size_t>(std::clamp(row, 1, kMaxRows) - 1)];
}
forms::HScrollBar& Quelm_Rask_S::S_Wide(int index) {
  return S_Wide_[static_cast<size_t>(std::clamp(index, 1, kMaxCols))];
}
forms::CommandButton& Quelm_Rask_S::Cmd_Ya(int index) {
  return Cmd_Ya_[static_cast<size_t>(std::clamp(index, 0, 3))];
}
forms::Image& Quelm_Rask_S::Img_Button(int index) {
  return Img_Button_[static_cast<size_t>(std::clamp(index, 0, 6))];
}
forms::Image& Quelm_Rask_S::Img_SS(int index) {
  return Img_SS_[static_cast<size_t>(std::clamp(index, 2, 6))];
}
forms::Label& Quelm_Rask_S::lbl_Button(int index) {
  return lbl_Button_[static_cast<size_t>(std::clamp(index, 0, 1))];
}

// ---- Design: the controls at their design places; the load lays them out.

void Quelm_Rask_S::Design() {
  model_ = TableModel{};
  DesignToolbar();
  DesignOptions();
  DesignSliders();
  DesignCells();
  DesignButtons();
  ConnectEvents();
}

void Quelm_Rask_S::DesignToolbar() {
  for (int i = 2; i <= 6; ++i) {  // faces first: the pictures lie above them
    Img_Button(i).SetStretch(true);
    Img_Button(i).Create(*this, 0, kToolbarFaceTop, kToolbarFaceSize, kToolbarFaceSize);
  }
  for (int i = 2; i <= 6; ++i) {
    Img_SS(i).Create(*this, 0, kToolbarFaceTop + kToolbarPictureInset, kToolbarPictureSize,
                     kToolbarPictureSize);
    Img_SS(i).SetPicture(skin_.toolbar[static_cast<size_t>(i)]);
    Img_SS(i).SetToolTip(kToolbarTips[i]);
    Img_SS(i).SetTabStop(true);
  }
  for (int i = 0; i <= 3; ++i) {
    Cmd_Ya(i).Create(*this, 0, kRowColTop, kRowColSize, kRowColSize);
    Cmd_Ya(i).SetPicture(skin_.rowsAndColumns[static_cast<size_t>(i)]);
    Cmd_Ya(i).SetToolTip(kRowColTips[i]);
  }
}

void Quelm_Rask_S::DesignOptions() {
  Img_Trns_.Create(*this, kTransLeft, kOptionTop, kOptionBoxSize, kOptionBoxSize);
  Img_Trns_.SetToolTip("壁紙にテキストを透過して張り付ける");
  lbl_Trns_.Create(*this, kTransLeft + kOptionLabelGap, kOptionTop, kOptionLabelWidth, kOptionBoxSize + 1);
  lbl_Trns_.SetCaption("透過");
  lbl_Trns_.SetBackStyle(forms::BackStyle::Transparent);
  Img_Comn_.Create(*this, kCommonLeft, kOptionTop, kOptionBoxSize, kOptionBoxSize);
  Img_Comn_.SetToolTip("背景色とフォントに対して共通指定");
  lbl_Comn_.Create(*this, kCommonLeft + kOptionLabelGap, kOptionTop, kOptionLabelWidth, kOptionBoxSize + 1);
  lbl_Comn_.SetCaption("共通");
  lbl_Comn_.SetBackStyle(forms::BackStyle::Transparent);
  lbl_Trns_.SetTabStop(true);
  lbl_Comn_.SetTabStop(true);
}

void Quelm_Rask_S::DesignSliders() {
  for (int i = 1; i <= kMaxCols; ++i) {
    forms::HScrollBar& slider = S_Wide(i);
    slider.Create(*this, 16, kSliderTop, kSliderWidth, kSliderHeight);
    slider.SetRange(0, kMaxColWidth);
    slider.SetSmallChange(kSliderSmallStep);
    slider.SetLargeChange(kSliderLargeStep);
  }
}

void Quelm_Rask_S::DesignCells() {
  Pic_Back_.Create(*this, kGridBoxLeft, kGridBoxTop, 180, 209);
  Pic_Back_.SetBorder(true);
  // Row by row, so that the cells follow each other in reading order.
  for (int row = 1; row <= kMaxRows; ++row) {
    for (int col = 1; col <= kMaxCols; ++col) {
      forms::TextBox& box = txt_Item(col, row);
      box.Create(Pic_Back_, kCellDesignLeft, kFirstRowTop, 80, kCellHeight);
      box.SetMargins(kCellTextMargin, kCellTextMargin);
      box.SetVisible(false);
      // The classic sunken edge: no theme draws a light ring inside it around the cell's colour, and
      // the grid box renders off the screen exactly as it shows.
      win::lazy::SetWindowTheme(box.hwnd(), L" ", L" ");
    }
  }
}

void Quelm_Rask_S::DesignButtons() {
  for (int i = 0; i <= 1; ++i) {
    Img_Button(i).SetStretch(true);
    Img_Button(i).Create(*this, 0, 0, kLargeFaceWidth, kLargeFaceHeight);
  }
  for (int i = 0; i <= 1; ++i) {
    forms::Label& label = lbl_Button(i);
    label.Create(*this, 0, 0, kLargeFaceWidth, kLargeLabelHeight);
    label.SetCaption(kButtonCaptions[i]);
    label.SetBackStyle(forms::BackStyle::Transparent);
    label.SetAlignment(forms::Alignment::Center);
    label.SetTabStop(true);
  }
}

void Quelm_Rask_S::ConnectEvents() {
  OnMouseDown = [this](const forms::MouseEvent& e) { Form_MouseDown(e); };
  OnMouseMove = [this](const forms::MouseEvent& e) { Form_MouseMove(e); };
  OnMouseUp = [this](const forms::MouseEvent& e) { Form_MouseUp(e); };
  for (int i = 2; i <= 6; ++i) {
    Img_SS(i).OnMouseDown = [this, i](const forms::MouseEvent&) { Img_SS_MouseDown(i); };
    Img_SS(i).OnMouseUp = [this, i](const forms::MouseEvent&) { Img_SS_MouseUp(i); };
  }
  for (int i = 0; i <= 3; ++i) Cmd_Ya(i).OnClick = [this, i] { Cmd_Ya_Click(i); };
  for (int i = 1; i <= kMaxCols; ++i) S_Wide(i).OnChange = [this, i] { S_Wide_Change(i); };
  for (int i = 0; i <= 1; ++i) {
    lbl_Button(i).OnMouseDown = [this, i](const forms::MouseEvent&) { lbl_Button_MouseDown(i); };
    lbl_Button(i).OnMouseUp = [this, i](const forms::MouseEvent&) { lbl_Button_MouseUp(i); };
  }
  Img_Trns_.OnMouseDown = [this](const forms::MouseEvent&) { Toggle_Trans(); };
  lbl_Trns_.OnMouseDown = [this](const forms::MouseEvent&) { Toggle_Trans(); };
  Img_Comn_.OnMouseDown = [this](const forms::MouseEvent&) { Toggle_Common(); };
  lbl_Comn_.OnMouseDown = [this](const forms::MouseEvent&) { Toggle_Common(); };
  for (int row = 1; row <= kMaxRows; ++row) {
    for (int col = 1; col <= kMaxCols; ++col) {
      txt_Item(col, row).OnChange = [this, row, col] { Cell_Change(row, col); };
      txt_Item(col, row).OnGotFocus = [this, row, col] { Cell_GotFocus(row, col); };
    }
  }
}

// ---- Opening

void Quelm_Rask_S::Form_Load() {
  // Settings.
  In_Load = true;
  Load_Editor_Settings(settings_, state_);
  Relayout_Only = false;
  // Sliders from the widths.
  for (int i = 1; i <= kMaxCols; ++i) S_Wide(i).SetValue(state_.G_Cols_w[static_cast<size_t>(i)]);
  // The screen in pixels.
  const win::ScreenMetrics screen = win::GetScreenMetrics();
  Screen_W_Px_ = SaturateInt16(screen.widthPx);
  Screen_H_Px_ = SaturateInt16(screen.heightPx);
  // Faces and cursors from the main window.
  for (forms::Image& face : Img_Button_) face.SetPicture(skin_.Img_Off);
  for (forms::Label& label : lbl_Button_) label.SetCursor(skin_.cursor);
  // Toolbar.
  int x = kToolbarLeft;
  for (int i = 2; i <= 6; ++i) {
    Img_Button(i).SetLeft(x);
    Img_SS(i).SetLeft(x + kToolbarPictureInset);
    Img_SS(i).SetCursor(skin_.cursor);
    x += kToolbarPitch;
  }
  for (int i = 0; i <= 3; ++i) {
    Cmd_Ya(i).SetLeft(x + kRowColInset);
    x += kRowColPitch;
  }
  // Slider cursors and the options.
  for (int i = 1; i <= kMaxCols; ++i) S_Wide(i).SetCursor(skin_.cursor);
  if (state_.Trans == 0 || state_.Trans == 1)
    Img_Trns_.SetPicture(skin_.Img_Ra[static_cast<size_t>(state_.Trans)]);
  if (state_.Common == 0 || state_.Common == 1)
    Img_Comn_.SetPicture(skin_.Img_Ra[static_cast<size_t>(state_.Common)]);
  for (forms::Windowless* option :
       std::initializer_list<forms::Windowless*>{&Img_Trns_, &Img_Comn_, &lbl_Trns_, &lbl_Comn_})
    option->SetCursor(skin_.cursor);
  // The cells exist already (Design), empty and hidden; then the layout.
  HideSliders();
  Build_Grid();
  // Position.
  PlaceWindow();
  // Current cell.
  state_.Cur_Row = 1;
  state_.Cur_Col = 1;
  SetStartFocus(txt_Item(1, 1).hwnd());  // typing starts in the current cell
  In_Load = false;
  // Opening effect from the cursor.
  const std::optional<POINT> cursor = CursorPosition();
  Open_X_ = cursor ? SaturateInt16(cursor->x) : 0;
  Open_Y_ = cursor ? SaturateInt16(cursor->y) : 0;
  Open_Effect(hwnd(), Open_X_, Open_Y_);
}

// At the saved place unless that lies on no monitor (a place saved on a larger or a removed screen could
// not be reached), else centred on the primary: where the wallpaper job puts the table.
void Quelm_Rask_S::PlaceWindow() {
  const EditorPlace place{state_.G_Left, state_.G_Top, state_.G_Rows, state_.G_Cols, state_.G_Cols_w};
  const Rect window = EditorWindowOnDisplay(place, win::CurrentDisplay());
  Move(window.x * TwipsPerPixelX(), window.y * TwipsPerPixelY());
}

// ---- Layout

CellFont Quelm_Rask_S::DefaultCellFont() const {
  const forms::FontSpec& font = lbl_Button_[0].Font();
  return CellFont{font.name, font.size, font.bold, font.italic};
}

void Quelm_Rask_S::Build_Grid() {
  const int16_t cols = state_.G_Cols;
  const int usedCols = std::clamp<int>(cols, 0, kMaxCols);
  // Row_Top is taken before the cells move, as the layout's first row.
  Row_Top = txt_Item(1, 1).Top();
  const GridLayout layout = LayoutGrid(state_.G_Rows, cols, state_.G_Cols_w, Row_Top);
  // Sliders.
  for (int c = usedCols; c >= 1; --c) S_Wide(c).SetLeft(layout.sliderLeft[static_cast<size_t>(c)]);
  // The full layout resets visibility and styles.
  if (!Relayout_Only) {
    for (int c = 1; c <= usedCols; ++c) S_Wide(c).SetVisible(true);
    model_.ResetStyles(DefaultCellFont());
    for (int row = 1; row <= kMaxRows; ++row) {
      for (int col = 1; col <= kMaxCols; ++col) {
        txt_Item(col, row).SetVisible(false);
        ApplyCellStyle(row, col);
      }
    }
  }
  // Cells in use.
  for (const CellPlacement& cell : layout.cells) {
    forms::TextBox& box = txt_Item(cell.col, cell.row);
    box.Move(cell.rect.x, cell.rect.y, cell.rect.w, cell.rect.h);
    if (!Relayout_Only) box.SetVisible(true);  // a width change leaves visibility as it is
  }
  // Grid box, then window.
  Pic_Back_.Move(kGridBoxLeft, kGridBoxTop, layout.gridBox.w, layout.gridBox.h);
  SetWidth(Scale().Px(layout.windowTwips.w / kFixedTwipsPerPixel) * TwipsPerPixelX());
  SetHeight(Scale().Px(layout.windowTwips.h / kFixedTwipsPerPixel) * TwipsPerPixelY());
  // The large buttons.
  Img_Button(0).Move(layout.button0Face.x, layout.button0Face.y);
  lbl_Button(0).Move(layout.button0Label.x, layout.button0Label.y);
  Img_Button(1).Move(layout.button1Face.x, layout.button1Face.y);
  lbl_Button(1).Move(layout.button1Label.x, layout.button1Label.y);
  if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);  // the frame moved with the window's edges
  // 8.
  Relayout_Only = false;
}

void Quelm_Rask_S::HideSliders() {
  for (int i = 1; i <= kMaxCols; ++i) S_Wide(i).SetVisible(false);
}

// ---- The table

void Quelm_Rask_S::ApplyCellStyle(int row, int col) {
  if (!TableModel::Valid(row, col)) return;
  const Cell& cell = model_.At(row, col);
  forms::TextBox& box = txt_Item(col, row);
  // Unchanged styles are left alone: the full layout restyles all 170 cells.
  const forms::FontSpec font = ToFontSpec(cell.font);
  if (!(box.Font() == font)) box.SetFont(font);
  if (box.ForeColor() != cell.foreColor) box.SetForeColor(cell.foreColor);
  if (box.BackColor() != cell.backColor) box.SetBackColor(cell.backColor);
}

std::optional<Cell> Quelm_Rask_S::CurrentCell() const {
  if (!TableModel::Valid(state_.Cur_Row, state_.Cur_Col)) return std::nullopt;
  return model_.At(state_.Cur_Row, state_.Cur_Col);
}

void Quelm_Rask_S::Apply_Font(const CellFont& font, uint32_t foreColor, int row, int col) {
  // Through the table model, so the text box, a save and the wallpaper follow.
  auto applyTo = [&](int row, int col) {
    Cell& cell = model_.At(row, col);
    cell.font = font;
    cell.foreColor = foreColor;
    ApplyCellStyle(row, col);
    txt_Item(col, row).SetHeight(Row_Pitch);
  };
  if (state_.Common == 1) {
    RememberForUndo();
    for (int r = 1; r <= kMaxRows; ++r) {
      for (int c = 1; c <= kMaxCols; ++c) RunStep([&] { applyTo(r, c); });
    }
    return;
  }
  ForgetUndo();
  if (TableModel::Valid(row, col)) applyTo(row, col);
}

void Quelm_Rask_S::ApplyAllCellStyles() {
  for (int row = 1; row <= kMaxRows; ++row) {
    for (int col = 1; col <= kMaxCols; ++col) ApplyCellStyle(row, col);
  }
}

void Quelm_Rask_S::SetCellText(int row, int col, const std::string& text) {
  if (!TableModel::Valid(row, col)) return;
  forms::TextBox& box = txt_Item(col, row);
  settingCells_ = true;
  box.SetText(text);
  settingCells_ = false;
  // The box may keep less than it is given (it ends a text at a NUL, which a foreign data file may pad
  // its fields with, and a single-line box at a line break): the model keeps what the box shows, so the
  // canvas and a save see the text the user sees.
  model_.At(row, col).text = box.hwnd() ? box.Text() : text;
}

void Quelm_Rask_S::SetCell(int row, int col, const Cell& cell) {
  if (!TableModel::Valid(row, col)) return;
  model_.At(row, col) = cell;
  SetCellText(row, col, cell.text);
  ApplyCellStyle(row, col);
}

void Quelm_Rask_S::Cell_Change(int row, int col) {
  if (settingCells_) return;
  ForgetUndo();
  model_.At(row, col).text = txt_Item(col, row).Text();
}

void Quelm_Rask_S::Cell_GotFocus(int row, int col) {
  state_.Cur_Row = static_cast<int16_t>(row);
  state_.Cur_Col = static_cast<int16_t>(col);
}

// ---- Moving between cells by the keyboard

std::pair<int, int> Quelm_Rask_S::CellOf(HWND wnd) {
  for (int row = 1; row <= kMaxRows; ++row) {
    for (int col = 1; col <= kMaxCols; ++col) {
      if (wnd && txt_Item(col, row).hwnd() == wnd) return {row, col};
    }
  }
  return {0, 0};
}

bool Quelm_Rask_S::CellInUse(int row, int col) {
  if (row < 1 || row > state_.G_Rows || col < 1 || col > state_.G_Cols) return false;
  const forms::TextBox& box = txt_Item(col, row);
  return box.Visible() && box.Width() > 0;
}

void Quelm_Rask_S::Focus_Cell(int row, int col) {
  if (CellInUse(row, col)) forms::MoveFocus({txt_Item(col, row).hwnd(), nullptr});
}

bool Quelm_Rask_S::Form_KeyPreview(const forms::KeyEvent& e) {
  const auto [row, col] = CellOf(e.focus);
  if (TableKey(e, row, col) || MoveByArrowKey(*this, e)) return true;
  if (row == 0 || (e.shift & (forms::kCtrlKey | forms::kAltKey))) return false;
  const bool shift = (e.shift & forms::kShiftKey) != 0;
  int step = 0;
  if (e.keyCode == VK_RETURN) step = shift ? -1 : 1;
  if (!shift && e.keyCode == VK_DOWN) step = 1;
  if (!shift && e.keyCode == VK_UP) step = -1;
  if (step == 0) return false;
  Focus_Cell(row + step, col);  // at the first or last row the key is spent without a move
  return true;
}

bool Quelm_Rask_S::TableKey(const forms::KeyEvent& e, int row, int col) {
  const bool ctrl = (e.shift & (forms::kCtrlKey | forms::kAltKey)) == forms::kCtrlKey;
  const bool shift = (e.shift & forms::kShiftKey) != 0;
  if (!ctrl) return false;
  if (e.keyCode == 'C' && shift) {
    win::SetClipboardText(hwnd(), VisibleTableText());
    return true;
  }
  if (e.keyCode == 'Z' && !shift) return Undo();  // without a block change, the cell's own undo
  if (e.keyCode != 'V' || shift || row == 0) return false;
  const std::optional<std::string> text = win::ClipboardText(hwnd());
  if (!text || !IsCellBlock(*text)) return false;  // one cell's text: the cell pastes it itself
  PasteBlock(row, col, *text);
  return true;
}

// ---- Block paste, copy and undo

void Quelm_Rask_S::RememberForUndo() {
  undo_ = TableSnapshot{model_, state_.G_Rows, state_.G_Cols, state_.G_Cols_w};
}

bool Quelm_Rask_S::Undo() {
  if (!undo_) return false;
  const auto [focusRow, focusCol] = CellOf(GetFocus());
  const TableSnapshot snapshot = std::move(*undo_);
  undo_.reset();
  state_.G_Cols_w = snapshot.widths;
  state_.G_Rows = snapshot.rows;
  state_.G_Cols = snapshot.cols;
  HideSliders();
  Build_Grid();
  for (int row = 1; row <= kMaxRows; ++row) {
    for (int col = 1; col <= kMaxCols; ++col) SetCell(row, col, snapshot.model.At(row, col));
  }
  Focus_Cell(focusRow, focusCol);
  return true;
}

void Quelm_Rask_S::ResizeKeepingStyles(int16_t rows, int16_t cols) {
  if (rows == state_.G_Rows && cols == state_.G_Cols) return;
  const TableModel styles = model_;
  state_.G_Rows = rows;
  state_.G_Cols = cols;
  HideSliders();
  Build_Grid();
  model_ = styles;
  ApplyAllCellStyles();
}

void Quelm_Rask_S::PasteBlock(int row, int col, const std::string& text) {
  const CellBlock block = ParseCellBlock(text);
  const BlockFit fit = FitCellBlock(block, row, col, state_.G_Rows, state_.G_Cols, kMaxRows, kMaxCols);
  RememberForUndo();
  ResizeKeepingStyles(static_cast<int16_t>(fit.rows), static_cast<int16_t>(fit.cols));
  for (size_t r = 0; r < block.size(); ++r) {
    for (size_t c = 0; c < block[r].size(); ++c)
      SetCellText(row + static_cast<int>(r), col + static_cast<int>(c), block[r][c]);
  }
  Focus_Cell(row, col);  // the new layout hid every cell for a moment, the focused one too
  if (fit.dropped > 0) win::ShowMessage(hwnd(), FormatDroppedCellsMessage(fit.dropped), win::kWarningStyle);
}

std::string Quelm_Rask_S::VisibleTableText() const {
  CellBlock block;
  for (int row = 1; row <= std::clamp<int>(state_.G_Rows, 0, kMaxRows); ++row) {
    std::vector<std::string>& cells = block.emplace_back();
    for (int col = 1; col <= std::clamp<int>(state_.G_Cols, 0, kMaxCols); ++col)
      cells.push_back(model_.At(row, col).text);
  }
  return FormatCellBlock(block);
}

std::string FormatDroppedCellsMessage(int dropped) {
  return "表に入りきらない " + std::to_string(dropped) + " 個のｾﾙは貼り付けませんでした！";
}

// ---- Rows, columns and widths

void Quelm_Rask_S::Cmd_Ya_Click(int index) {
  ForgetUndo();
  switch (index) {
    case 0:
      if (state_.G_Rows >= kMaxRows) return;
      ++state_.G_Rows;
      break;
    case 1:
      if (state_.G_Rows <= 1) return;
      --state_.G_Rows;
      break;
    case 2:
      if (state_.G_Cols <= 1) return;
      HideSliders();
      --state_.G_Cols;
      break;
    case 3:
      if (state_.G_Cols >= kMaxCols) return;
      HideSliders();
      ++state_.G_Cols;
      break;
    default:
      return;
  }
  Build_Grid();
}

void Quelm_Rask_S::S_Wide_Change(int index) {
  if (In_Load) return;
  ForgetUndo();
  state_.G_Cols_w[static_cast<size_t>(index)] = static_cast<int16_t>(S_Wide(index).Value());
  Relayout_Only = true;
  Build_Grid();
}

void Quelm_Rask_S::FocusFirstSlider() { S_Wide(1).SetFocus(); }

// ---- Toolbar, options and the large buttons

void Quelm_Rask_S::Img_SS_MouseDown(int index) { Img_Button(index).SetPicture(skin_.Img_On); }

void Quelm_Rask_S::Img_SS_MouseUp(int index) {
  Img_Button(index).SetPicture(skin_.Img_Off);
  forms::DoEvents();
  switch (index) {
    case 2:
      Load_Data_File(*this);
      break;
    case 3:
      Save_Data_File(*this);
      break;
    case 4:
      RunHook(hooks_.preview);
      break;
    case 5:
      RunHook(hooks_.backColour);
      break;
    case 6:
      RunHook(hooks_.font);
      break;
    default:
      break;
  }
}

void Quelm_Rask_S::lbl_Button_MouseDown(int index) { Img_Button(index).SetPicture(skin_.Img_On); }

// The released face is painted before the command, without running other pending messages.
void Quelm_Rask_S::lbl_Button_MouseUp(int index) {
  Img_Button(index).SetPicture(skin_.Img_Off);
  Img_Button(index).Refresh();
  if (index == 1) {
    Unload();
  } else {
    RunHook(hooks_.create);
  }
}

void Quelm_Rask_S::Toggle_Trans() {
  state_.Trans ^= 1;
  if (state_.Trans == 0 || state_.Trans == 1)
    Img_Trns_.SetPicture(skin_.Img_Ra[static_cast<size_t>(state_.Trans)]);
}

void Quelm_Rask_S::Toggle_Common() {
  state_.Common ^= 1;
  if (state_.Common == 0 || state_.Common == 1)
    Img_Comn_.SetPicture(skin_.Img_Ra[static_cast<size_t>(state_.Common)]);
}

// ---- The text effect's menu

bool Quelm_Rask_S::OnToolbarStrip(LPARAM clientPoint) const {
  return GET_Y_LPARAM(clientPoint) < Scale().Px(kSliderTop);
}

POINT Quelm_Rask_S::BelowToolbarStrip() const {
  POINT at{Scale().Px(kToolbarLeft), Scale().Px(kSliderTop)};
  ClientToScreen(hwnd(), &at);
  return at;
}

void Quelm_Rask_S::ShowEffectMenu(POINT at) {
  const win::Menu menu = EffectMenu(state_);
  if (!menu) return;
  const UINT item = hooks_.chooseFromMenu
                        ? hooks_.chooseFromMenu(menu.get(), at)
                        : static_cast<UINT>(TrackPopupMenuEx(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON,
                                                             at.x, at.y, hwnd(), nullptr));
  Choose_Effect(item);
}

void Quelm_Rask_S::Choose_Effect(UINT item) {
  if (item >= kEffectItem && item <= kEffectItem + 3)
    state_.Text_Effect = static_cast<int16_t>(item - kEffectItem);
  for (const int16_t opacity : kOpacities)
    if (item == kOpacityItem + opacity) state_.Panel_Alpha = opacity;
}

// A right press on the toolbar strip belongs to the menu, not to the icon or option under it.
LRESULT Quelm_Rask_S::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_RBUTTONDOWN:
      if (OnToolbarStrip(lp)) return 0;
      break;
    case WM_RBUTTONUP:
      if (OnToolbarStrip(lp)) {
        POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        ClientToScreen(hwnd(), &at);
        ShowEffectMenu(at);
        return 0;
      }
      break;
    case WM_CONTEXTMENU:  // from the keyboard, or passed up by a child control that has no menu of its own
      ShowEffectMenu(lp == -1 ? BelowToolbarStrip() : POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
      return 0;
    default:
      break;
  }
  return forms::Form::HandleMessage(msg, wp, lp);
}

void Quelm_Rask_S::RunHook(const EditorHooks::Command& hook) {
  if (!hook) return;
  EditorHooks::Command copy = hook;
  copy(*this);
}

// ---- Dragging by the background: the grabbed point in screen pixels, at the screen's twips per pixel

void Quelm_Rask_S::Form_MouseDown(const forms::MouseEvent& e) {
  if (e.button != forms::kLeftButton) return;
  Drag_State = 1;
  Drag_X = static_cast<float>(e.deviceX);
  Drag_Y = static_cast<float>(e.deviceY);
}

void Quelm_Rask_S::Form_MouseMove(const forms::MouseEvent&) {
  if (Drag_State != 1) return;
  const std::optional<POINT> cursor = CursorPosition();
  if (!cursor) return;
  const auto factorX = static_cast<float>(TwipsPerPixelX());
  const auto factorY = static_cast<float>(TwipsPerPixelY());
  const float top = static_cast<float>(cursor->y) * factorY - Drag_Y * factorY;
  const float left = static_cast<float>(cursor->x) * factorX - Drag_X * factorX;
  Move(left, top);
}

void Quelm_Rask_S::Form_MouseUp(const forms::MouseEvent& e) {
  if (e.button == forms::kLeftButton) Drag_State = 0;
}

std::optional<POINT> Quelm_Rask_S::CursorPosition() const {
  return hooks_.cursorPos ? hooks_.cursorPos() : win::CursorPos();
}

// ---- Closing

void Quelm_Rask_S::Form_QueryUnload(forms::UnloadMode) {
  Save_Editor_Settings(settings_, state_, Left(), Top());
  Close_Effect(hwnd(), Open_X_, Open_Y_);
}

// ---- Painting and the grid box

void Quelm_Rask_S::PaintBackground(HDC dc, const RECT& area) {
  forms::Form::PaintBackground(dc, area);
  RECT client{};
  GetClientRect(hwnd(), &client);
  DrawEdge(dc, &client, EDGE_RAISED, BF_RECT);  // the window has no frame of its own
}

RECT Quelm_Rask_S::PicBackRect() const {
  const int left = Pic_Back_.Left();
  const int top = Pic_Back_.Top();
  return RECT{left, top, left + Pic_Back_.Width(), top + Pic_Back_.Height()};
}

HWND Quelm_Rask_S::FirstCellWindow() const { return const_cast<Quelm_Rask_S*>(this)->txt_Item(1, 1).hwnd(); }

}  // namespace qr
