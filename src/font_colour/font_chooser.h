#pragma once
// The font chooser `Quelm_Rask_F` ("ﾌｫﾝﾄの指定"): a small modal window over the editor that shows the
// current cell's font and colours in a preview line, offers the screen's font names, four styles, three
// sizes and a palette of 72 text colours, and on "OK" writes the choice into the current cell, or into
// every cell when `Common` is 1. Cells change through the editor's table model, so the text boxes, the
// data files and the wallpaper all see the same fonts and colours.
//
//   hooks.font = FontChooserHook({main.Img_On.Picture(), main.Img_Off.Picture(), main.Pic_Mbl1.Picture(),
//                                 main.MouseIcon()});
#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "forms/forms.h"
#include "table_editor/editor_window.h"

namespace qr {

// What the chooser takes from the main window's image store.
struct FontChooserSkin {
  forms::Picture Img_On;   // pressed button face
  forms::Picture Img_Off;  // released button face
  forms::Picture texture;  // the texture tile `Pic_Mbl1`
  HCURSOR cursor = nullptr;
};

// What the chooser asks of the system; tests replace them.
struct FontChooserServices {
  // The font names the screen reports, in its order; ScreenFontNames by default.
  std::function<std::vector<std::string>()> screenFonts;
  // The cursor's screen position (the opening and closing effect); the real one by default.
  std::function<std::optional<POINT>()> cursorPos;
};

// Every font family the screen reports, once each, in the order reported (vertical "@" faces included
// when the system reports them).
std::vector<std::string> ScreenFontNames();

inline constexpr int kPaletteColours = 72;
inline constexpr const char* kPreviewSample = "AaＡａあぁアァ亜";

// The stored colour of palette swatch 1..72 (0x00BBGGRR, or 0x80000000 + n for system colour n);
// nothing for other indexes.
std::optional<uint32_t> Palette_Color(int index);

class Quelm_Rask_F : public forms::Form {
 public:
  // The editor and the skin must outlive the chooser.
  Quelm_Rask_F(Quelm_Rask_S& editor, const FontChooserSkin& skin, FontChooserServices services = {});

  // Controls, as the program numbers them (`lbl` holds only element 3).
  forms::PictureBox Pic_C;
  std::array<forms::Label, 4> lbl_Button;  // headings
  forms::ListBox LstFontName, LstFontStyle, LstFontSize;
  forms::Frame fraPalette;
  std::array<forms::Label, kPaletteColours + 1> lblColorSample;  // 0: the colour bar
  std::array<forms::Label, 4> lbl;
  forms::Label lblViewer;
  forms::Image Img_OK, Img_Can;
  forms::Label lbl_OK, lbl_Can;

  // The cursor position recorded at load: start and end of the opening and closing effects.
  int16_t Open_X = 0;
  int16_t Open_Y = 0;

 protected:
  void Design() override;
  void Form_Load() override;
  void Form_DpiChanged() override { Paint_Texture(); }
  void Form_QueryUnload(forms::UnloadMode mode) override;
  // The palette is one tab stop, the swatch the focus last moved to: arrow keys move the focus over the
  // swatches (eight to a row), Space or Enter chooses the one it is on, as a click does.
  bool Form_KeyPreview(const forms::KeyEvent& e) override;

 private:
  void DesignLists();
  void DesignPalette();
  void DesignPreviewAndButtons();
  void ConnectEvents();

  void Paint_Texture();
  void Copy_Current_Cell();
  void Fill_Font_Names();
  void Fill_Sizes_And_Styles();

  void LstFontName_Click();
  void LstFontStyle_Click();
  void LstFontSize_Click();
  void lblColorSample_MouseDown(int index);
  // The swatch (1..72) with the keyboard focus, or 0.
  int FocusedSwatch() const;
  void FocusSwatch(int index);
  // The focused swatch is ringed in black and white, seen on every colour and on the palette's grey
  // (where the toolkit's dotted frame barely shows); the ring follows the focus however it moves.
  void Show_Swatch_Ring();
  void lbl_OK_MouseDown();
  void lbl_OK_MouseUp();
  void lbl_Can_MouseDown();
  void lbl_Can_MouseUp();
  void Apply_Font();
  void Apply_To_Cell(int row, int col, const CellFont& font, uint32_t colour);

  Quelm_Rask_S& editor_;
  const FontChooserSkin& skin_;
  FontChooserServices services_;
  std::vector<std::string> fontNames_;  // what the name list holds, index for index
  std::array<forms::Label, 2> swatchRing_;  // outer black, inner white; below the swatches
  forms::Timer focusWatch_;
};

// The chooser as the editor's font command: shown modally over the editor, a fresh one each time.
EditorHooks::Command FontChooserHook(FontChooserSkin skin, FontChooserServices services = {});

}  // namespace qr
