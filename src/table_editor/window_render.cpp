#include "table_editor/window_render.h"

#include "win32/handles.h"

namespace qr {

namespace {

struct Placement {
  POINT outer;   // the window's outer top-left in the target
  POINT client;  // its client area's top-left in the target
  RECT clip;     // target area the window may draw in
};

bool HasVisibleStyle(HWND wnd) { return (GetWindowLongW(wnd, GWL_STYLE) & WS_VISIBLE) != 0; }

Placement PlaceIn(HWND wnd, POINT rootOrigin, const RECT& parentClip) {
  RECT outer{};
  GetWindowRect(wnd, &outer);
  POINT client{0, 0};
  ClientToScreen(wnd, &client);
  Placement p;
  p.outer = {outer.left - rootOrigin.x, outer.top - rootOrigin.y};
  p.client = {client.x - rootOrigin.x, client.y - rootOrigin.y};
  const RECT own{p.outer.x, p.outer.y, p.outer.x + (outer.right - outer.left),
                 p.outer.y + (outer.bottom - outer.top)};
  IntersectRect(&p.clip, &own, &parentClip);
  return p;
}

// The sunken edge as the system draws it for windows without a visual style.
void DrawClientEdge(HWND wnd, HDC dc, const Placement& p) {
  if (!(GetWindowLongW(wnd, GWL_EXSTYLE) & WS_EX_CLIENTEDGE)) return;
  RECT outer{};
  GetWindowRect(wnd, &outer);
  RECT edge{p.outer.x, p.outer.y, p.outer.x + (outer.right - outer.left),
            p.outer.y + (outer.bottom - outer.top)};
  win::SavedDcState saved(dc);
  IntersectClipRect(dc, p.clip.left, p.clip.top, p.clip.right, p.clip.bottom);
  DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT);
}

// The client area's part of the target, clipped.
RECT ClientClip(HWND wnd, const Placement& p) {
  RECT client{};
  GetClientRect(wnd, &client);
  OffsetRect(&client, p.client.x, p.client.y);
  RECT clip{};
  IntersectRect(&clip, &client, &p.clip);
  return clip;
}

void PrintClient(HWND wnd, HDC dc, const Placement& p, const RECT& clip) {
  if (IsRectEmpty(&clip)) return;
  win::SavedDcState saved(dc);
  IntersectClipRect(dc, clip.left, clip.top, clip.right, clip.bottom);
  SetViewportOrgEx(dc, p.client.x, p.client.y, nullptr);
  SendMessageW(wnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
}

void PrintTree(HWND wnd, HDC dc, POINT rootOrigin, const RECT& parentClip) {
  const Placement p = PlaceIn(wnd, rootOrigin, parentClip);
  if (IsRectEmpty(&p.clip)) return;
  DrawClientEdge(wnd, dc, p);
  const RECT clip = ClientClip(wnd, p);
  PrintClient(wnd, dc, p, clip);
  // Children from the bottom of the Z order up, so that upper ones cover lower ones.
  HWND first = GetWindow(wnd, GW_CHILD);
  for (HWND child = first ? GetWindow(first, GW_HWNDLAST) : nullptr; child;
       child = GetWindow(child, GW_HWNDPREV)) {
    if (HasVisibleStyle(child)) PrintTree(child, dc, rootOrigin, clip);
  }
}

}  // namespace

win::Surface RenderWindowTree(HWND wnd) {
  RECT outer{};
  if (!wnd || !GetWindowRect(wnd, &outer)) return {};
  const int w = outer.right - outer.left;
  const int h = outer.bottom - outer.top;
  if (w <= 0 || h <= 0) return {};
  win::Surface surface(w, h, GetSysColor(COLOR_BTNFACE));
  if (!surface.ok()) return {};
  const RECT all{0, 0, w, h};
  PrintTree(wnd, surface.dc(), POINT{outer.left, outer.top}, all);
  GdiFlush();
  return surface;
}

}  // namespace qr
