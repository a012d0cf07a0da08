// The editor's menu: the text effect of transparent cells and the opacity of the translucent panel.
#include <windowsx.h>

#include <string>

#include "core/wallpaper_job.h"
#include "table_editor/editor_measures.h"
#include "table_editor/editor_window.h"
#include "win32/handles.h"
#include "win32/text.h"

namespace qr {

namespace {

using editor_design::kSliderTop;
using editor_design::kToolbarLeft;

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

}  // namespace

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

// ---- The toolbar strip and the menu key open the menu

bool Quelm_Rask_S::OnToolbarStrip(LPARAM clientPoint) const {
  return GET_Y_LPARAM(clientPoint) < Scale().Px(kSliderTop);
}

POINT Quelm_Rask_S::BelowToolbarStrip() const {
  POINT at{Scale().Px(kToolbarLeft), Scale().Px(kSliderTop)};
  ClientToScreen(hwnd(), &at);
  return at;
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
      // The keyboard's menu comes at (-1, -1): the coordinates, not the whole LPARAM, which on 64-bit
      // Windows is 0xFFFFFFFF and not -1.
      ShowEffectMenu(GET_X_LPARAM(lp) == -1 && GET_Y_LPARAM(lp) == -1 ? BelowToolbarStrip()
                                                                     : POINT{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)});
      return 0;
    default:
      break;
  }
  return forms::Form::HandleMessage(msg, wp, lp);
}

}  // namespace qr
