// The font chooser as a screen reader finds it: its lists, headings, buttons and every swatch named
// (by colour name, system colour or numbers), the chosen swatch checked.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "font_colour/font_chooser.h"
#include "forms/focus.h"
#include "support/contrast_scheme.h"
#include "support/editor_fixture.h"
#include "support/keyboard.h"
#include "support/screen_reader.h"
#include "win32/com.h"

namespace qr::test {
namespace {

class FontChooserScreenReader : public EditorTest {
 protected:
  Quelm_Rask_F& OpenChooser(const Cell& current) {
    FontChooserServices services;
    services.screenFonts = [] { return std::vector<std::string>{"Arial", "ＭＳ Ｐゴシック"}; };
    services.cursorPos = []() -> std::optional<POINT> { return POINT{200, 150}; };
    chooser_ = std::make_unique<Quelm_Rask_F>(current, chooserSkin_, services);
    chooser_->Load(nullptr);
    chooser_->Show();
    return *chooser_;
  }

  win::ComApartment com_;
  Skin chooserSkin_{skin.Img_On, skin.Img_Off, Plain(541, 22, RGB(90, 100, 110)), skin.cursor};
  std::unique_ptr<Quelm_Rask_F> chooser_;
};

// Under a high-contrast scheme, which the swatches and the preview do not follow: they are the user's
// colours.
TEST_F(FontChooserScreenReader, ListsButtonsAndSwatchesAreNamedTheChosenSwatchCheckedAndTheirColoursKept) {
  ContrastScheme scheme;
  Cell current;
  current.text = "見本";
  current.foreColor = RGB(0, 0, 255);
  current.backColor = RGB(250, 250, 200);
  Quelm_Rask_F& f = OpenChooser(current);
  const std::vector<AccessibleElement> tree = AccessibleTree(f.hwnd());
  for (const char* list : {"ﾌｫﾝﾄ名", "ｽﾀｲﾙ", "ｻｲｽﾞ"})
    EXPECT_TRUE(FindElement(tree, list, ROLE_SYSTEM_LIST).parent) << list;
  for (const char* button : {"OK", "ｷｬﾝｾﾙ"})
    EXPECT_TRUE(FindElement(tree, button, ROLE_SYSTEM_PUSHBUTTON).parent);
  size_t swatches = 0;
  for (const AccessibleElement& e : tree) swatches += e.role == ROLE_SYSTEM_RADIOBUTTON && !e.name.empty();
  EXPECT_EQ(swatches, static_cast<size_t>(kPaletteColours));
  EXPECT_TRUE(FindElement(tree, "赤 255 緑 192 青 192", ROLE_SYSTEM_RADIOBUTTON).parent) << "no common name";
  EXPECT_TRUE(FindElement(tree, "システムの色 ボタンの表面", ROLE_SYSTEM_RADIOBUTTON).parent);
  const AccessibleElement blue = FindElement(tree, "青", ROLE_SYSTEM_RADIOBUTTON);
  EXPECT_TRUE(blue.state & STATE_SYSTEM_CHECKED) << "the cell's colour";
  const AccessibleElement red = FindElement(tree, "赤", ROLE_SYSTEM_RADIOBUTTON);
  ASSERT_EQ(DoDefaultAction(red), S_OK);
  EXPECT_TRUE(PumpUntil([&] { return f.lblViewer.ForeColor() == RGB(255, 0, 0); }))
      << "the action chooses as a click does";
  EXPECT_TRUE(Reread(red).state & STATE_SYSTEM_CHECKED);
  EXPECT_FALSE(Reread(blue).state & STATE_SYSTEM_CHECKED);

  EXPECT_GT(CountOf(DrawnColours(f.lbl_OK), ContrastScheme::kText), 10u)
      << "a caption in the scheme's colour";
  const std::vector<COLORREF> redSwatch = DrawnColours(f.lblColorSample[18]);
  EXPECT_EQ(CountOf(redSwatch, RGB(255, 0, 0)), redSwatch.size());
  EXPECT_GT(CountOf(DrawnColours(f.lblViewer), RGB(250, 250, 200)), 0u) << "the preview shows the cell";
  MakeForeground(f.hwnd());
  KeepScreenshot(f.hwnd(), "contrast_font");
  f.Unload();
}

// Tab reaches the palette at the colour the cell has, heard as the checked swatch, wherever it lies.
TEST_F(FontChooserScreenReader, TabReachesThePaletteAtTheChosenSwatch) {
  Cell current;
  current.foreColor = RGB(0, 0, 255);
  Quelm_Rask_F& f = OpenChooser(current);
  MakeForeground(f.hwnd());
  AccessibleEvents focus;
  for (int presses = 0; presses < 12 && forms::CurrentFocus().window != f.fraPalette.hwnd(); ++presses) {
    PressKey(VK_TAB);
    Pump();
  }
  ASSERT_EQ(forms::CurrentFocus().window, f.fraPalette.hwnd());
  EXPECT_TRUE(forms::CurrentFocus().control->Checked()) << "the chosen swatch, not the first";
  EXPECT_TRUE(PumpUntil([&] { return focus.LastName() == "青"; })) << focus.LastName();

  f.Unload();
}

}  // namespace
}  // namespace qr::test
