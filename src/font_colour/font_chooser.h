#pragma once
// The font chooser `Quelm_Rask_F` ("ﾌｫﾝﾄの指定"): a small modal window over the editor that shows the
// current cell's font and colours in a preview line, offers the screen's font names, four styles, three
// sizes and a palette of 72 text colours, and on "OK" returns the choice; the editor applies it
// (Quelm_Rask_S::Apply_Font), to the current cell or to every cell when `Common` is 1.
//
//   hooks.font = FontChooserHook(skin);  // the program's Skin (LoadSkin)
#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "font_colour/palette.h"
#include "forms/forms.h"
#include "shared/skin.h"
#include "table_editor/editor_window.h"

namespace qr {

// What the chooser asks of the system; tests replace them.
struct FontChooserServices {
  // The font names the screen reports, in its order; win::ScreenFontNames by default.
  std::function<std::vector<std::string>()> screenFonts;
  // The cursor's screen position (the opening and closing effect); the real one by default.
  std::function<std::optional<POINT>()> cursorPos;
};

inline constexpr const char* kPreviewSample = "AaＡａあぁアァ亜";

// What "OK" chose: the preview's font and text colour.
struct FontChoice {
  CellFont font;
  uint32_t colour = 0;  // 0x00BBGGRR, or 0x80000000 + n for system colour n
  bool operator==(const FontChoice&) const = default;
};

class Quelm_Rask_F : public forms::Form {
 public:
  // The preview starts from `current` (the editor's current cell; with nothing, the preview's design
  // state). The skin must outlive the chooser.
  Quelm_Rask_F(std::optional<Cell> current, const Skin& skin, FontChooserServices services = {});

  // The choice "OK" made; nothing before it, and nothing after cancelling or closing.
  const std::optional<FontChoice>& Choice() const { return choice_; }

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
  // The swatches of `colour` are checked (for screen readers), the others not.
  void Check_Swatch(uint32_t colour);
  // The swatch (1..72) with the keyboard focus, or 0.
  int FocusedSwatch() const;
  void FocusSwatch(int index);
  // The focused swatch is ringed in black and white, seen on every colour and on the palette's grey
  // (where the toolkit's dotted frame barely shows); the ring follows the focus however it moves.
  void Show_Swatch_Ring();
  void lbl_OK_Click();
  void lbl_Can_Click();

  const Skin& skin_;
  FontChooserServices services_;
  std::optional<Cell> current_;
  std::optional<FontChoice> choice_;
  std::vector<std::string> fontNames_;      // what the name list holds, index for index
  std::array<forms::Label, 2> swatchRing_;  // outer black, inner white; below the swatches
  forms::Timer focusWatch_;
};

// Shows a fresh chooser modally over `owner`, starting from `current`; the choice, or nothing when it was
// cancelled or closed.
std::optional<FontChoice> ChooseFont(HWND owner, const std::optional<Cell>& current, const Skin& skin,
                                     const FontChooserServices& services = {});

// The chooser as the editor's font command: shown modally over the editor from its current cell, and the
// choice applied by the editor.
EditorHooks::Command FontChooserHook(Skin skin, FontChooserServices services = {});

}  // namespace qr
