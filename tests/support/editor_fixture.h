#pragma once
// An editor on real windows for each test: a fresh settings file in a temporary folder, a skin of plain
// coloured pictures, hooks that record their calls, and helpers that press controls with real mouse
// messages.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "core/app_state.h"
#include "shared/profile_store.h"
#include "support/temp_folder.h"
#include "table_editor/editor_window.h"

namespace qr::test {

// A cell of the table with its text, font and colours.
inline Cell MakeCell(const std::string& text, const char* font, double size, bool bold, bool italic,
                     uint32_t fore, uint32_t back) {
  Cell cell;
  cell.text = text;
  cell.font = CellFont{font, size, bold, italic};
  cell.foreColor = fore;
  cell.backColor = back;
  return cell;
}

// A picture of one colour, so that tests can tell the pictures apart by their pixels and identity.
forms::Picture Plain(int w, int h, COLORREF colour);
EditorSkin MakeTestSkin();

// The value of a key in the settings file as the system reads it; "" when missing.
std::string IniValue(const std::string& iniPath, const std::string& key);

// The rectangle of a child window in its parent's client area.
RECT RectInParent(HWND child);

class EditorTest : public ::testing::Test {
 protected:
  EditorTest();
  ~EditorTest() override;

  // A new editor, loaded and shown (not modally).
  std::unique_ptr<Quelm_Rask_S> Open();

  // Presses and releases the left button over a windowless control, as the user would (at any scale).
  static void Click(Quelm_Rask_S& editor, const forms::Windowless& control);
  static void Press(Quelm_Rask_S& editor, const forms::Windowless& control);
  static void Release(Quelm_Rask_S& editor, const forms::Windowless& control);

  TempFolder folder;
  std::string iniPath;
  ProfileKeyStore store;
  AppState state;
  EditorSkin skin;
  POINT cursor{200, 150};
  std::vector<std::string> hookCalls;
  EditorHooks hooks;
};

}  // namespace qr::test
