#include "support/editor_fixture.h"

#include "win32/text.h"

namespace qr::test {

forms::Picture Plain(int w, int h, COLORREF colour) {
  return forms::Picture::FromSurface(win::Surface(w, h, colour));
}

EditorSkin MakeTestSkin() {
  EditorSkin skin;
  skin.Img_On = Plain(21, 20, RGB(200, 0, 0));
  skin.Img_Off = Plain(21, 20, RGB(0, 200, 0));
  skin.Img_Ra = {Plain(13, 13, RGB(250, 250, 250)), Plain(13, 13, RGB(10, 10, 10))};
  for (int i = 2; i <= 6; ++i) skin.toolbar[static_cast<size_t>(i)] = Plain(16, 16, RGB(0, 0, 40 * i));
  for (int i = 0; i <= 3; ++i)
    skin.rowsAndColumns[static_cast<size_t>(i)] = Plain(10, 10, RGB(60 * i, 60, 60));
  skin.cursor = LoadCursorW(nullptr, IDC_HAND);
  return skin;
}

std::string IniValue(const std::string& iniPath, const std::string& key) {
  wchar_t value[256] = {};
  GetPrivateProfileStringW(L"Section", win::Wide(key).c_str(), L"", value, 256, win::Wide(iniPath).c_str());
  return win::Utf8(value);
}

EditorTest::EditorTest() : iniPath(folder.File("Quelm_Rask.ini")), store(iniPath), skin(MakeTestSkin()) {
  state.Get_Data_Path = folder.path();
  state.Program_Folder = folder.path();
  hooks.cursorPos = [this]() -> std::optional<POINT> { return cursor; };
  hooks.create = [this](Quelm_Rask_S&) { hookCalls.push_back("create"); };
  hooks.preview = [this](Quelm_Rask_S&) { hookCalls.push_back("preview"); };
  hooks.backColour = [this](Quelm_Rask_S&) { hookCalls.push_back("backColour"); };
  hooks.font = [this](Quelm_Rask_S&) { hookCalls.push_back("font"); };
}

EditorTest::~EditorTest() = default;

std::unique_ptr<Quelm_Rask_S> EditorTest::Open() {
  auto editor = std::make_unique<Quelm_Rask_S>(state, store, skin, hooks);
  editor->Show();
  return editor;
}

namespace {
// In the window's device pixels, as the mouse reports it.
LPARAM CentreOf(const forms::Windowless& control) {
  const RECT r = control.Bounds();
  return MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}
}  // namespace

void EditorTest::Press(Quelm_Rask_S& editor, const forms::Windowless& control) {
  SendMessageW(editor.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, CentreOf(control));
}

void EditorTest::Release(Quelm_Rask_S& editor, const forms::Windowless& control) {
  SendMessageW(editor.hwnd(), WM_LBUTTONUP, 0, CentreOf(control));
}

void EditorTest::Click(Quelm_Rask_S& editor, const forms::Windowless& control) {
  Press(editor, control);
  if (editor.hwnd()) Release(editor, control);
}

RECT RectInParent(HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return r;
}

}  // namespace qr::test
