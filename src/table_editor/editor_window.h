#pragma once
// The table editor `Quelm_Rask_S`: a borderless window, dragged by its background, holding the toolbar,
// the column-width sliders, the grid box `Pic_Back` with the 34 x 5 cell text boxes, the two options and
// the two large buttons. The editor owns the table (a TableModel that its cells show and edit) and lays
// the grid out from `G_Rows`, `G_Cols` and `G_Cols_w` of the shared state.
//
// A right click on the toolbar strip (the band above the width sliders), or the menu key (a context
// menu that reaches the editor: the cells keep their own), opens the editor's menu: the text effect of
// transparent cells and the panel's opacity (`Text_Effect`, `Panel_Alpha`, saved with the other options
// when the editor closes).
//
// One object serves one showing: construct it, ShowModal(owner), let it go. The commands that belong to
// other windows (create, preview, background colour, font) are hooks:
//
//   EditorSkin skin = EditorSkinWith(LoadSkin());
//   ProfileKeyStore settings(FileInProgramFolder(state.Program_Folder, kSettingsFileName));
//   EditorHooks hooks;
//   hooks.create = CreateWallpaperHook(state, services);
//   Quelm_Rask_S editor(state, settings, skin, std::move(hooks));
//   editor.ShowModal(main.hwnd());
#include <windows.h>

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <utility>

#include "core/app_state.h"
#include "core/geometry.h"
#include "core/key_store.h"
#include "core/table_model.h"
#include "forms/forms.h"
#include "table_editor/editor_skin.h"

namespace qr {

class Quelm_Rask_S;

// The message after a block paste that did not fit: how many cells were left out.
std::string FormatDroppedCellsMessage(int dropped);
std::string FormatDroppedCellsMessage(size_t dropped);
// The message after cells too long for the table were cut (core/block_text.h's kMaxCellChars).
std::string FormatCutCellsMessage(size_t cut);
// One message for a paste: the cells left out and the cells cut; empty when neither.
std::string FormatPasteMessage(size_t dropped, size_t cut);

struct EditorHooks {
  using Command = std::function<void(Quelm_Rask_S&)>;
  Command create;      // `lbl_Button`(0) "壁紙貼り付け"
  Command preview;     // `Img_SS`(4)
  Command backColour;  // `Img_SS`(5)
  Command font;        // `Img_SS`(6)
  // The cursor's screen position (the opening and closing effect, dragging); the real one by default.
  std::function<std::optional<POINT>()> cursorPos;
  // Shows the editor's menu at a screen point and returns the chosen item's id, 0 for none; the
  // system's popup menu by default.
  std::function<UINT(HMENU menu, POINT at)> chooseFromMenu;
};

class Quelm_Rask_S : public forms::Form {
 public:
  // `settings` is the settings file the editor's keys are read from when it opens and written to when
  // it closes. All references must outlive the editor.
  Quelm_Rask_S(AppState& state, KeyStore& settings, const EditorSkin& skin, EditorHooks hooks = {});
  ~Quelm_Rask_S() override;

  AppState& State() { return state_; }
  const AppState& State() const { return state_; }

  // The table. Change cells through SetCell/SetCellText so that the text boxes follow, or change the
  // model's styles and then call ApplyCellStyle.
  const TableModel& Model() const { return model_; }
  TableModel& Model() { return model_; }
  void SetCellText(int row, int col, const std::string& text);
  void SetCell(int row, int col, const Cell& cell);
  // Pushes the cell's font and colours from the model to its text box.
  void ApplyCellStyle(int row, int col);
  void ApplyAllCellStyles();
  // The current cell (`Cur_Row`, `Cur_Col`); nothing when that is not a cell.
  std::optional<Cell> CurrentCell() const;
  // A font and text colour for every cell, hidden ones included, when `Common` = 1 (undoable), otherwise
  // for cell (row, col) alone (none when that is not a cell). Backgrounds and texts stay; each changed
  // text box is given the cell height again.
  void Apply_Font(const CellFont& font, uint32_t foreColor, int row, int col);

  // Lays out sliders, cells, grid box, the large buttons and the window from `G_Rows`, `G_Cols` and
  // `G_Cols_w`. The full layout hides every cell, resets every cell's font to `lbl_Button`(0)'s and its
  // colours to black on white, then shows the cells in use; texts stay.
  void Build_Grid();

  // The default cell font: the font of the caption "壁紙貼り付け".
  CellFont DefaultCellFont() const;

  // One level of undo for the changes that replace much of the table at once: a block pasted, a text
  // file loaded, a font or colour given to every cell. Call RememberForUndo just before such a change;
  // any other change of the table calls ForgetUndo. Undo brings back the texts, styles, dimensions and
  // widths remembered (false when there is nothing to undo); the cells' own undo of typing stays.
  void RememberForUndo();
  void ForgetUndo() { undo_.reset(); }
  bool CanUndo() const { return undo_.has_value(); }
  bool Undo();

  // Fills the block of a spreadsheet's clipboard text (core/block_text.h) into the table from cell
  // (row, col) on, widening and lengthening the table up to 5 x 34 as needed; cells beyond are dropped
  // and cells longer than kMaxCellChars cut, with one message. Only what the table takes is built, however
  // large the text. Fonts and colours stay. Undoable.
  void PasteBlock(int row, int col, const std::string& text);
  // The visible table (rows and columns in use) as tab-separated text for a spreadsheet.
  std::string VisibleTableText() const;

  // Moves the keyboard focus to the first width slider, away from the cells.
  void FocusFirstSlider();

  // The grid box, its place and size in the window's client area (pixels).
  HWND PicBackWindow() const { return Pic_Back_.hwnd(); }
  RECT PicBackRect() const;

  int16_t Screen_W_Px() const { return Screen_W_Px_; }
  int16_t Screen_H_Px() const { return Screen_H_Px_; }
  int16_t Open_X() const { return Open_X_; }
  int16_t Open_Y() const { return Open_Y_; }

  // The controls, for the commands and tests. Indexes as the program numbers them.
  forms::TextBox& txt_Item(int col, int row);
  forms::HScrollBar& S_Wide(int index);
  forms::CommandButton& Cmd_Ya(int index);
  forms::Image& Img_Button(int index);
  forms::Image& Img_SS(int index);
  forms::Label& lbl_Button(int index);
  forms::Image& Img_Trns() { return Img_Trns_; }
  forms::Label& lbl_Trns() { return lbl_Trns_; }
  forms::Image& Img_Comn() { return Img_Comn_; }
  forms::Label& lbl_Comn() { return lbl_Comn_; }
  forms::PictureBox& Pic_Back() { return Pic_Back_; }

 protected:
  void Design() override;
  void Form_Load() override;
  void Form_QueryUnload(forms::UnloadMode mode) override;
  void PaintBackground(HDC dc, const RECT& area) override;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  // Enter and Down go to the cell below, Shift+Enter and Up to the cell above, as in a spreadsheet;
  // Tab runs through the cells in use row by row as the toolkit's tab order does.
  // Ctrl+V in a cell pastes a block, Ctrl+Shift+C copies the table, Ctrl+Z undoes a block change
  // (RememberForUndo); Alt+arrow keys move the window as dragging does. Ctrl+Enter runs "壁紙貼り付け"
  // and Alt+F4 closes as "ｷｬﾝｾﾙ" does (an editor taller than the screen shows both beside the grid).
  bool Form_KeyPreview(const forms::KeyEvent& e) override;

 private:
  void DesignToolbar();
  void DesignOptions();
  void DesignSliders();
  void DesignCells();
  void DesignButtons();
  void PlaceWindow();
  void ConnectEvents();

  void Cmd_Ya_Click(int index);
  void S_Wide_Change(int index);
  // The commands of the toolbar's icons and of the two large buttons (after the released face shows).
  void Img_SS_Command(int index);
  void lbl_Button_Command(int index);
  void Toggle_Trans();
  void Toggle_Common();
  // The option boxes 透過 and 共通 as `Trans` and `Common` are: pictures and checked states.
  void Show_Option_Marks();
  // The text effect's menu at a screen point, and the choice taken from it.
  void ShowEffectMenu(POINT at);
  void Choose_Effect(UINT item);
  bool OnToolbarStrip(LPARAM clientPoint) const;
  POINT BelowToolbarStrip() const;
  void Form_MouseDown(const forms::MouseEvent& e);
  void Form_MouseMove(const forms::MouseEvent& e);
  void Form_MouseUp(const forms::MouseEvent& e);
  void Cell_Change(int row, int col);
  void Cell_GotFocus(int row, int col);
  // The cell whose text box `wnd` is: {row, col}, or {0, 0}.
  std::pair<int, int> CellOf(HWND wnd);
  bool CellInUse(int row, int col);
  // Moves the focus into a cell in use, its text selected; a cell out of use keeps the focus where it is.
  void Focus_Cell(int row, int col);

  void HideSliders();
  void PlaceLargeButtons(GridLayout layout);
  // The large buttons placed again for where the window now is (after it was moved).
  void RefitLargeButtons();
  bool TableKey(const forms::KeyEvent& e, int row, int col);
  bool CommandKey(const forms::KeyEvent& e);
  // Gives the table `rows` x `cols` in use; a change lays the grid out again, keeping every style.
  void ResizeKeepingStyles(int16_t rows, int16_t cols);
  void RunHook(const EditorHooks::Command& hook);
  std::optional<POINT> CursorPosition() const;

  AppState& state_;
  KeyStore& settings_;
  const EditorSkin& skin_;
  EditorHooks hooks_;
  TableModel model_;

  std::array<forms::Image, 7> Img_Button_;
  std::array<forms::Image, 7> Img_SS_;
  std::array<forms::CommandButton, 4> Cmd_Ya_;
  std::array<forms::HScrollBar, kMaxCols + 1> S_Wide_;  // element 0 unused
  forms::PictureBox Pic_Back_;
  std::array<std::array<forms::TextBox, kMaxRows>, kMaxCols> cells_;  // [col - 1][row - 1]
  std::array<forms::Label, 2> lbl_Button_;
  forms::Image Img_Trns_;
  forms::Label lbl_Trns_;
  forms::Image Img_Comn_;
  forms::Label lbl_Comn_;

  // Form variables.
  bool In_Load = false;
  bool Relayout_Only = false;
  int32_t Row_Top = 0;
  int16_t Screen_W_Px_ = 0;
  int16_t Screen_H_Px_ = 0;
  int Drag_State = 0;
  float Drag_X = 0;
  float Drag_Y = 0;
  int16_t Open_X_ = 0;
  int16_t Open_Y_ = 0;
  bool settingCells_ = false;  // texts set by the program do not flow back into the model

  struct TableSnapshot {
    TableModel model;
    int16_t rows = 0;
    int16_t cols = 0;
    std::array<int16_t, kMaxCols + 1> widths{};
  };
  std::optional<TableSnapshot> undo_;
};

}  // namespace qr
