// The table editor window: its design, layout, cells, keyboard moves, toolbar and dragging.
#include "table_editor/editor_window.h"

#include <windowsx.h>

#include <algorithm>
#include <string>
#include <utility>

#include "core/geometry.h"
#include "core/numeric.h"
#include "core/settings.h"
#include "core/wallpaper_job.h"
#include "shared/face_button.h"
#include "shared/helpers.h"
#include "shared/keyboard_move.h"
#include "table_editor/data_files.h"
#include "table_editor/editor_measures.h"
#include "win32/display.h"
#include "win32/fonts.h"
#include "win32/handles.h"
#include "win32/lazy_libraries.h"
#include "win32/screen.h"
#include "win32/text.h"

namespace qr {

namespace {

using namespace editor_design;

constexpr const char* kToolbarTips[7] = {"",
                                         "",
                                         "データの読み込み",
                                         "名前を付けてデータの保存",
                                         "壁紙に貼り付け後のプレビュー",
                                         "背景色の設定",
                                         "フォントの設定"};
// What a screen reader calls the toolbar's icons and the row and column buttons.
constexpr const char* kToolbarNames[7] = {"", "", "読み込み", "保存", "ﾌﾟﾚﾋﾞｭｰ", "背景色", "ﾌｫﾝﾄ"};
constexpr const char* kRowColNames[4] = {"行の追加", "行の削除", "列の削除", "列の追加"};
constexpr const char* kRowColTips[4] = {"行数（Max.34）", "行数（Min.1）", "列数（Min.1）", "列数（Max.5）"};
constexpr const char* kButtonCaptions[2] = {"壁紙貼り付け", "ｷｬﾝｾﾙ"};
constexpr const char* kButtonTips[2] = {"壁紙に貼り付けます (Ctrl+Enter)", "貼り付けずに閉じます (Alt+F4)"};

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
    Img_Button(i).SetContrastLook(forms::ContrastLook::Face);
  }
  for (int i = 2; i <= 6; ++i) {
    Img_SS(i).Create(*this, 0, kToolbarFaceTop + kToolbarPictureInset, kToolbarPictureSize,
                     kToolbarPictureSize);
    Img_SS(i).SetPicture(skin_.toolbar[static_cast<size_t>(i)]);
    Img_SS(i).SetToolTip(kToolbarTips[i]);
    Img_SS(i).SetTabStop(true);
    Img_SS(i).SetAccessibleName(kToolbarNames[i]);
  }
  for (int i = 0; i <= 3; ++i) {
    Cmd_Ya(i).Create(*this, 0, kRowColTop, kRowColSize, kRowColSize);
    Cmd_Ya(i).SetPicture(skin_.rowsAndColumns[static_cast<size_t>(i)]);
    Cmd_Ya(i).SetToolTip(kRowColTips[i]);
    Cmd_Ya(i).SetAccessibleName(kRowColNames[i]);
  }
}

void Quelm_Rask_S::DesignOptions() {
  Img_Trns_.Create(*this, kTransLeft, kOptionTop, kOptionBoxSize, kOptionBoxSize);
  Img_Trns_.SetToolTip("壁紙にテキストを透過して張り付ける");
  lbl_Trns_.Create(*this, kTransLeft + kOptionLabelGap, kOptionTop, kOptionLabelWidth, kOptionBoxSize + 1);
  forms::TransparentCaption(lbl_Trns_, "透過");
  Img_Comn_.Create(*this, kCommonLeft, kOptionTop, kOptionBoxSize, kOptionBoxSize);
  Img_Comn_.SetToolTip("背景色とフォントに対して共通指定");
  lbl_Comn_.Create(*this, kCommonLeft + kOptionLabelGap, kOptionTop, kOptionLabelWidth, kOptionBoxSize + 1);
  forms::TransparentCaption(lbl_Comn_, "共通");
  lbl_Trns_.SetTabStop(true);
  lbl_Comn_.SetTabStop(true);
  for (forms::Label* option : {&lbl_Trns_, &lbl_Comn_})
    option->SetAccessibleRole(forms::AccessibleRole::CheckBox);
  for (forms::Image* mark : {&Img_Trns_, &Img_Comn_}) mark->SetContrastLook(forms::ContrastLook::CheckMark);
}

void Quelm_Rask_S::DesignSliders() {
  for (int i = 1; i <= kMaxCols; ++i) {
    forms::HScrollBar& slider = S_Wide(i);
    slider.Create(*this, 16, kSliderTop, kSliderWidth, kSliderHeight);
    slider.SetRange(0, kMaxColWidth);
    slider.SetSmallChange(kSliderSmallStep);
    slider.SetLargeChange(kSliderLargeStep);
    slider.SetAccessibleName("列 " + std::to_string(i) + " の幅");
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
      box.SetAccessibleName("行 " + std::to_string(row) + " 列 " + std::to_string(col));
      // The classic sunken edge: no theme draws a light ring inside it around the cell's colour, and
      // the grid box renders off the screen exactly as it shows.
      win::lazy::SetWindowTheme(box.hwnd(), L" ", L" ");
    }
  }
}

void Quelm_Rask_S::DesignButtons() {
  for (int i = 0; i <= 1; ++i) {  // placed by the layout
    BuildFaceButton(*this, Img_Button(i), lbl_Button(i),
                    {0, 0, kLargeFaceWidth, kLargeFaceHeight, kLargeLabelHeight}, kButtonCaptions[i]);
    lbl_Button(i).SetToolTip(kButtonTips[i]);
  }
}

void Quelm_Rask_S::ConnectEvents() {
  OnMouseDown = [this](const forms::MouseEvent& e) { Form_MouseDown(e); };
  OnMouseMove = [this](const forms::MouseEvent& e) { Form_MouseMove(e); };
  OnMouseUp = [this](const forms::MouseEvent& e) { Form_MouseUp(e); };
  const ButtonFaces faces{skin_.Img_On, skin_.Img_Off};
  for (int i = 2; i <= 6; ++i)
    WireFaceButton(Img_SS(i), Img_Button(i), faces, [this, i] { Img_SS_Command(i); });
  for (int i = 0; i <= 3; ++i) Cmd_Ya(i).OnClick = [this, i] { Cmd_Ya_Click(i); };
  for (int i = 1; i <= kMaxCols; ++i) S_Wide(i).OnChange = [this, i] { S_Wide_Change(i); };
  for (int i = 0; i <= 1; ++i)
    WireFaceButton(lbl_Button(i), Img_Button(i), faces, [this, i] { lbl_Button_Command(i); });
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
  Show_Option_Marks();
  for (forms::Windowless* option :
       std::initializer_list<forms::Windowless*>{&Img_Trns_, &Img_Comn_, &lbl_Trns_, &lbl_Comn_})
    option->SetCursor(skin_.cursor);
  // The cells exist already (Design), empty and hidden; then the layout.
  HideSliders();
  Build_Grid();
  // Position, and the large buttons for the place the window now stands at.
  PlaceWindow();
  RefitLargeButtons();
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
  // The cells change without a redraw each: the grid box is drawn once, after the last of them (under
  // Wine a click on a row button took 106 ms with a redraw per cell, 78 ms without).
  const HWND gridBox = Pic_Back_.hwnd();
  const bool heldDrawing = gridBox && IsWindowVisible(gridBox);
  if (heldDrawing) SendMessageW(gridBox, WM_SETREDRAW, FALSE, 0);
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
  if (heldDrawing) {
    SendMessageW(gridBox, WM_SETREDRAW, TRUE, 0);
    RedrawWindow(gridBox, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
  }
  // Grid box, then window.
  Pic_Back_.Move(kGridBoxLeft, kGridBoxTop, layout.gridBox.w, layout.gridBox.h);
  SetHeight(Scale().Px(layout.windowTwips.h / kFixedTwipsPerPixel) * TwipsPerPixelY());
  // The large buttons.
  PlaceLargeButtons(layout);
  Relayout_Only = false;
}

// Below the grid; beside it when the window reaches below the work area of its monitor (34 rows on a
// 768-pixel screen), so that both stay on the screen while the grid stays where the user put it.
void Quelm_Rask_S::PlaceLargeButtons(GridLayout layout) {
  RECT window{};
  const std::optional<RECT> workArea = win::WorkAreaOf(hwnd());
  if (hwnd() && workArea && GetWindowRect(hwnd(), &window) &&
      window.top + Scale().Px(layout.windowTwips.h / kFixedTwipsPerPixel) > workArea->bottom)
    PlaceButtonsBesideGrid(layout);
  SetWidth(Scale().Px(layout.windowTwips.w / kFixedTwipsPerPixel) * TwipsPerPixelX());
  Img_Button(0).Move(layout.button0Face.x, layout.button0Face.y);
  lbl_Button(0).Move(layout.button0Label.x, layout.button0Label.y);
  Img_Button(1).Move(layout.button1Face.x, layout.button1Face.y);
  lbl_Button(1).Move(layout.button1Label.x, layout.button1Label.y);
  if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);  // the frame moved with the window's edges
}

void Quelm_Rask_S::RefitLargeButtons() {
  PlaceLargeButtons(LayoutGrid(state_.G_Rows, state_.G_Cols, state_.G_Cols_w, txt_Item(1, 1).Top()));
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
  if (CommandKey(e) || TableKey(e, row, col)) return true;
  if (MoveByArrowKey(*this, e)) {
    RefitLargeButtons();
    return true;
  }
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

void Quelm_Rask_S::Img_SS_Command(int index) {
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

void Quelm_Rask_S::lbl_Button_Command(int index) {
  if (index == 1) {
    Unload();
  } else {
    RunHook(hooks_.create);
  }
}

void Quelm_Rask_S::Toggle_Trans() {
  state_.Trans ^= 1;
  Show_Option_Marks();
}

void Quelm_Rask_S::Toggle_Common() {
  state_.Common ^= 1;
  Show_Option_Marks();
}

void Quelm_Rask_S::Show_Option_Marks() {
  if (state_.Trans == 0 || state_.Trans == 1)
    Img_Trns_.SetPicture(skin_.Img_Ra[static_cast<size_t>(state_.Trans)]);
  if (state_.Common == 0 || state_.Common == 1)
    Img_Comn_.SetPicture(skin_.Img_Ra[static_cast<size_t>(state_.Common)]);
  for (forms::Windowless* trans : std::initializer_list<forms::Windowless*>{&Img_Trns_, &lbl_Trns_})
    trans->SetChecked(state_.Trans == 1);
  for (forms::Windowless* common : std::initializer_list<forms::Windowless*>{&Img_Comn_, &lbl_Comn_})
    common->SetChecked(state_.Common == 1);
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
  if (e.button != forms::kLeftButton) return;
  if (Drag_State == 1) RefitLargeButtons();
  Drag_State = 0;
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

}  // namespace qr
