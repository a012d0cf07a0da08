// The forms toolkit on real windows, driven with real window messages.
#include "forms/forms.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <shlobj.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "win32/text.h"

namespace qr::forms {
namespace {

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

// A form whose layout each test supplies.
class TestForm : public Form {
 public:
  explicit TestForm(std::function<void(TestForm&)> design = {}, int w = 300, int h = 200)
      : Form(FormSpec{"QrFormsTest", "forms test", FormBorder::None, w, h}), design_(std::move(design)) {}
  std::function<void()> onLoad;
  std::vector<std::string> events;

 protected:
  void Design() override {
    if (design_) design_(*this);
  }
  void Form_Load() override {
    events.push_back("Load");
    if (onLoad) onLoad();
  }
  void Form_QueryUnload(UnloadMode) override { events.push_back("QueryUnload"); }
  void Form_Unload() override { events.push_back("Unload"); }

 private:
  std::function<void(TestForm&)> design_;
};

struct Recorded {
  std::vector<std::string> log;
  MouseHandler Record(const std::string& name) {
    return [this, name](const MouseEvent& e) {
      log.push_back(name + " b" + std::to_string(e.button) + " " + std::to_string(e.x) + "," +
                    std::to_string(e.y));
    };
  }
};

TEST(Windowless, MouseUpGoesToThePressedLabelEvenOutsideIt) {
  Label label;
  Recorded rec;
  int clicks = 0;
  TestForm form([&](TestForm& f) { label.Create(f, 10, 20, 50, 16); });
  form.Show();
  label.OnMouseDown = rec.Record("down");
  label.OnMouseUp = rec.Record("up");
  label.OnClick = [&] { ++clicks; };
  form.OnMouseUp = rec.Record("form-up");

  SendMessageW(form.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(15, 25));
  EXPECT_EQ(GetCapture(), form.hwnd());
  SendMessageW(form.hwnd(), WM_LBUTTONUP, 0, At(200, 150));
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(rec.log, (std::vector<std::string>{"down b1 5,5", "up b1 190,130"}));
  EXPECT_EQ(clicks, 0) << "released outside: no click";

  rec.log.clear();
  SendMessageW(form.hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, At(12, 22));
  SendMessageW(form.hwnd(), WM_RBUTTONUP, 0, At(13, 23));
  EXPECT_EQ(rec.log, (std::vector<std::string>{"down b2 2,2", "up b2 3,3"}));
  EXPECT_EQ(clicks, 0) << "a click is the left button";

  SendMessageW(form.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(15, 25));
  SendMessageW(form.hwnd(), WM_LBUTTONUP, 0, At(16, 26));
  EXPECT_EQ(clicks, 1);
}

TEST(Windowless, AReleaseWithoutAPressReachesOnlyTheBackground) {
  Label label;
  Recorded rec;
  int clicks = 0;
  TestForm form([&](TestForm& f) { label.Create(f, 10, 20, 50, 16); });
  form.Show();
  label.OnMouseUp = rec.Record("up");
  label.OnClick = [&] { ++clicks; };
  form.OnMouseUp = rec.Record("form-up");

  // The second click of a double-click that closed a dialog lying over the label.
  SendMessageW(form.hwnd(), WM_LBUTTONUP, 0, At(15, 25));
  EXPECT_EQ(rec.log, (std::vector<std::string>{"form-up b1 15,25"}));
  EXPECT_EQ(clicks, 0);

  // A press whose capture is taken away (a dialog opened meanwhile) is forgotten, and so is its release.
  rec.log.clear();
  SendMessageW(form.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(15, 25));
  ReleaseCapture();
  SendMessageW(form.hwnd(), WM_LBUTTONUP, 0, At(15, 25));
  EXPECT_EQ(rec.log, (std::vector<std::string>{"form-up b1 15,25"}));
  EXPECT_EQ(clicks, 0);
}

TEST(Windowless, MovesWhileHeldGoToThePressedControl) {
  Label label;
  Image image;
  Recorded rec;
  TestForm form([&](TestForm& f) {
    label.Create(f, 10, 10, 40, 16);
    image.Create(f, 100, 10, 40, 16);
  });
  form.Show();
  label.OnMouseMove = rec.Record("label-move");
  image.OnMouseMove = rec.Record("image-move");
  SendMessageW(form.hwnd(), WM_MOUSEMOVE, 0, At(110, 12));
  SendMessageW(form.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(12, 12));
  SendMessageW(form.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, At(110, 12));
  SendMessageW(form.hwnd(), WM_LBUTTONUP, 0, At(110, 12));
  EXPECT_EQ(rec.log, (std::vector<std::string>{"image-move b0 10,2", "label-move b1 100,2"}));
}

TEST(Windowless, LaterControlLiesAboveAndDisabledOrHiddenOnesTakeNoInput) {
  Image face;
  Label caption;
  Recorded rec;
  TestForm form([&](TestForm& f) {
    face.Create(f, 10, 10, 91, 22);
    caption.Create(f, 10, 10, 91, 22);
  });
  form.Show();
  face.OnMouseDown = rec.Record("face");
  caption.OnMouseDown = rec.Record("caption");
  form.OnMouseDown = rec.Record("form");
  auto press = [&] {
    SendMessageW(form.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(20, 15));
    SendMessageW(form.hwnd(), WM_LBUTTONUP, 0, At(20, 15));
  };
  press();
  caption.SetEnabled(false);
  press();
  caption.SetEnabled(true);
  caption.SetVisible(false);
  press();
  EXPECT_EQ(rec.log, (std::vector<std::string>{"caption b1 10,5", "form b1 20,15", "face b1 10,5"}));
}

TEST(Windowless, CursorChangesOverExactlyTheControlsThatHaveOne) {
  Label withCursor, without;
  HCURSOR hand = LoadCursorW(nullptr, IDC_HAND);
  TestForm form([&](TestForm& f) {
    withCursor.Create(f, 0, 0, 50, 20);
    without.Create(f, 0, 50, 50, 20);
  });
  form.Show();
  withCursor.SetCursor(hand);
  RECT r;
  GetWindowRect(form.hwnd(), &r);
  auto cursorAt = [&](int x, int y) {
    SetCursorPos(r.left + x, r.top + y);
    // The pointer moves asynchronously under Wine: wait until it is there, with its own messages handled.
    for (int i = 0; i < 100; ++i) {
      DoEvents();
      POINT p{};
      GetCursorPos(&p);
      if (p.x == r.left + x && p.y == r.top + y) break;
      Sleep(10);
    }
    SendMessageW(form.hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(form.hwnd()),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
  };
  EXPECT_EQ(cursorAt(10, 10), hand);
  EXPECT_EQ(cursorAt(10, 60), LoadCursorW(nullptr, IDC_ARROW));
  withCursor.SetEnabled(false);
  EXPECT_EQ(cursorAt(10, 10), LoadCursorW(nullptr, IDC_ARROW));
}

TEST(Windowless, ToolTipsAreToolsOfTheContainer) {
  Label a, b;
  TestForm form([&](TestForm& f) {
    a.Create(f, 0, 0, 50, 20);
    b.Create(f, 0, 50, 50, 20);
  });
  form.Show();
  a.SetToolTip("ｲﾝﾌﾟｯﾄﾌｧｲﾙの再生");
  b.SetToolTip("結合ﾌｧｲﾙﾘｽﾄの再生");
  HWND tip = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM out) CALLBACK -> BOOL {
        wchar_t cls[64]{};
        GetClassNameW(w, cls, 64);
        if (lstrcmpiW(cls, TOOLTIPS_CLASSW) == 0) *reinterpret_cast<HWND*>(out) = w;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&tip));
  ASSERT_NE(tip, nullptr);
  EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 2);
  b.SetVisible(false);
  EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
}

// What the container paints, read through WM_PRINTCLIENT into a surface.
COLORREF PaintedPixel(HWND wnd, int x, int y) {
  RECT r;
  GetClientRect(wnd, &r);
  win::Surface s(r.right, r.bottom, RGB(1, 2, 3));
  SendMessageW(wnd, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(s.dc()), PRF_CLIENT);
  return s.Pixel(x, y);
}

TEST(PictureBox, PersistentImageSurvivesRepaintsAndControlsPaintOverIt) {
  PictureBox box;
  Label label;
  TestForm form([&](TestForm& f) {
    box.Create(f, 10, 10, 100, 80);
    label.Create(box, 50, 50, 20, 20);
  });
  form.Show();
  box.SetAutoRedraw(true);
  box.SetBackColor(RGB(0, 0, 255));
  label.SetBackColor(RGB(0, 255, 0));
  win::Brush red(CreateSolidBrush(RGB(255, 0, 0)));
  RECT area{0, 0, 40, 40};
  FillRect(box.Dc(), &area, red.get());
  box.Refresh();
  RedrawWindow(form.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  EXPECT_EQ(PaintedPixel(box.hwnd(), 5, 5), RGB(255, 0, 0));
  EXPECT_EQ(PaintedPixel(box.hwnd(), 45, 5), RGB(0, 0, 255));
  EXPECT_EQ(PaintedPixel(box.hwnd(), 55, 55), RGB(0, 255, 0)) << "the label lies over the image";
  ASSERT_NE(box.Image(), nullptr);
  EXPECT_EQ(box.Image()->Pixel(55, 55), RGB(0, 0, 255)) << "controls are not part of the image";

  box.SetBackColor(RGB(10, 20, 30));
  EXPECT_EQ(PaintedPixel(box.hwnd(), 5, 5), RGB(10, 20, 30)) << "a new back colour clears the image";
}

TEST(PictureBox, IsASourceAndTargetOfBitBlt) {
  PictureBox source, target;
  TestForm form([&](TestForm& f) {
    source.Create(f, 0, 0, 30, 30);
    target.Create(f, 40, 0, 100, 100);
  });
  form.Show();
  source.SetAutoRedraw(true);
  target.SetAutoRedraw(true);
  source.SetBackColor(RGB(200, 100, 50));
  target.SetBackColor(RGB(0, 0, 0));
  BitBlt(target.Dc(), 60, 60, 30, 30, source.Dc(), 0, 0, SRCCOPY);
  target.Refresh();
  EXPECT_EQ(PaintedPixel(target.hwnd(), 70, 70), RGB(200, 100, 50));
  EXPECT_EQ(PaintedPixel(target.hwnd(), 50, 50), RGB(0, 0, 0));
  target.Move(40, 0, 120, 120);
  EXPECT_EQ(PaintedPixel(target.hwnd(), 70, 70), RGB(200, 100, 50)) << "growing keeps the image";
}

TEST(Image, TakesThePictureSizeUnlessStretched) {
  Image plain, stretched;
  TestForm form([&](TestForm& f) {
    plain.Create(f, 0, 0, 50, 50);
    stretched.Create(f, 0, 60, 91, 22);
  });
  form.Show();
  Picture pic = Picture::FromSurface(win::Surface(21, 20, RGB(9, 9, 9)));
  stretched.SetStretch(true);
  plain.SetPicture(pic);
  stretched.SetPicture(pic);
  EXPECT_EQ(plain.Width(), 21);
  EXPECT_EQ(plain.Height(), 20);
  EXPECT_EQ(stretched.Width(), 91);
  EXPECT_TRUE(stretched.Picture() == pic);
  EXPECT_EQ(PaintedPixel(form.hwnd(), 90, 81), RGB(9, 9, 9));
}

TEST(Label, DisabledCaptionIsDrawnGreyed) {
  Label label;
  TestForm form([&](TestForm& f) { label.Create(f, 0, 0, 120, 20); });
  form.Show();
  label.SetCaption("■■■■");
  label.SetForeColor(RGB(0, 0, 0));
  label.SetBackColor(RGB(255, 255, 255));
  auto countDark = [&](COLORREF colour) {
    RECT r;
    GetClientRect(form.hwnd(), &r);
    win::Surface s(r.right, r.bottom);
    SendMessageW(form.hwnd(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(s.dc()), PRF_CLIENT);
    int n = 0;
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 120; ++x) n += s.Pixel(x, y) == colour;
    return n;
  };
  EXPECT_GT(countDark(RGB(0, 0, 0)), 20);
  label.SetEnabled(false);
  EXPECT_EQ(countDark(RGB(0, 0, 0)), 0);
  EXPECT_GT(countDark(GetSysColor(COLOR_GRAYTEXT)), 20);
}

TEST(Form, LoadShowUnloadAndTwipsGeometry) {
  TestForm form({}, 541, 469);
  form.Load();
  EXPECT_EQ(form.events, (std::vector<std::string>{"Load"}));
  EXPECT_FALSE(IsWindowVisible(form.hwnd()));
  form.Show();
  RECT client;
  GetClientRect(form.hwnd(), &client);
  EXPECT_EQ(client.right, 541);
  EXPECT_EQ(client.bottom, 469);
  const double tpp = Form::TwipsPerPixelX();
  EXPECT_DOUBLE_EQ(form.Width(), 541 * tpp);
  form.SetWidth(300 * tpp);
  form.Move(100 * tpp, 50 * Form::TwipsPerPixelY());
  RECT outer;
  GetWindowRect(form.hwnd(), &outer);
  EXPECT_EQ(outer.right - outer.left, 300);
  EXPECT_EQ(outer.left, 100);
  EXPECT_EQ(outer.top, 50);
  EXPECT_DOUBLE_EQ(form.Left(), 100 * tpp);
  SendMessageW(form.hwnd(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(form.Loaded());
  EXPECT_EQ(form.events, (std::vector<std::string>{"Load", "QueryUnload", "Unload"}));
}

TEST(Form, ShowModalDisablesTheOwnerUntilUnload) {
  TestForm owner;
  owner.Show();
  TestForm dialog;
  bool ownerEnabledDuring = true;
  bool dialogEnabledDuring = false;
  dialog.onLoad = [&] {
    // Runs inside ShowModal, before the loop: look from a posted message once the loop runs.
    PostMessageW(dialog.hwnd(), WM_APP, 0, 0);
  };
  Timer check;
  check.SetInterval(10);
  check.OnTimer = [&] {
    check.SetEnabled(false);
    ownerEnabledDuring = IsWindowEnabled(owner.hwnd());
    dialogEnabledDuring = IsWindowEnabled(dialog.hwnd());
    dialog.Unload();
  };
  check.SetEnabled(true);
  dialog.ShowModal(owner.hwnd());
  EXPECT_FALSE(ownerEnabledDuring);
  EXPECT_TRUE(dialogEnabledDuring);
  EXPECT_FALSE(dialog.Loaded());
  EXPECT_TRUE(IsWindowEnabled(owner.hwnd()));
  EXPECT_EQ(dialog.events, (std::vector<std::string>{"Load", "QueryUnload", "Unload"}));
}

TEST(Form, DoEventsRunsPendingMessagesAndRepaints) {
  Label label;
  TestForm form([&](TestForm& f) { label.Create(f, 0, 0, 50, 20); });
  form.Show();
  int ticks = 0;
  Timer t;  // no timer message yet: DoEvents must not wait
  DoEvents();
  label.SetBackColor(RGB(1, 200, 3));
  DoEvents();
  HDC dc = GetDC(form.hwnd());
  EXPECT_EQ(GetPixel(dc, 5, 5), RGB(1, 200, 3));
  ReleaseDC(form.hwnd(), dc);
  EXPECT_EQ(ticks, 0);
}

TEST(HScrollBar, ChangeOnArrowPageAndThumbReleaseNotWhileDragging) {
  HScrollBar bar;
  TestForm form([&](TestForm& f) { bar.Create(f, 10, 10, 100, 13); });
  form.Show();
  std::vector<int> changes;
  bar.SetRange(0, 400);
  bar.SetSmallChange(8);
  bar.SetLargeChange(50);
  bar.SetValue(80);
  bar.OnChange = [&] { changes.push_back(bar.Value()); };
  auto scroll = [&](int code, int pos = 0) {
    SendMessageW(form.hwnd(), WM_HSCROLL, MAKEWPARAM(code, pos), reinterpret_cast<LPARAM>(bar.hwnd()));
  };
  scroll(SB_LINERIGHT);
  scroll(SB_PAGELEFT);
  scroll(SB_THUMBTRACK, 200);
  scroll(SB_THUMBTRACK, 250);
  EXPECT_EQ(bar.Value(), 38);
  scroll(SB_THUMBPOSITION, 250);
  scroll(SB_ENDSCROLL);
  scroll(SB_PAGELEFT);
  for (int i = 0; i < 10; ++i) scroll(SB_PAGELEFT);
  EXPECT_EQ(changes, (std::vector<int>{88, 38, 250, 200, 150, 100, 50, 0}));
  bar.SetValue(400);
  bar.SetValue(400);
  EXPECT_EQ(changes.back(), 400);
  EXPECT_EQ(changes.size(), 9u) << "setting the same value again is no change";
  EXPECT_EQ(GetScrollPos(bar.hwnd(), SB_CTL), 400);
}

TEST(ListBox, ItemsSelectionAndShellDrops) {
  ListBox list;
  TestForm form([&](TestForm& f) { list.Create(f, 0, 0, 200, 100); });
  form.Show();
  std::vector<std::string> dropped;
  int clicks = 0;
  list.OnClick = [&] { ++clicks; };
  list.OnFilesDropped = [&](const std::vector<std::string>& names) { dropped = names; };
  list.SetAcceptFiles(true);
  list.AddItem("b.bmp");
  list.AddItem("a.jpg");
  EXPECT_EQ(list.ListCount(), 2);
  EXPECT_EQ(list.List(0), "b.bmp") << "kept in the order added";
  EXPECT_EQ(list.ListIndex(), -1);
  list.SetListIndex(1);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(list.ListIndex(), 1);
  list.SetHorizontalExtent(630);
  EXPECT_EQ(list.HorizontalExtent(), 630);

  const std::wstring names = L"C:\\壁紙\\一.BMP|C:\\b.jpg|";
  std::wstring block = names;
  for (auto& c : block)
    if (c == L'|') c = L'\0';
  block.push_back(L'\0');
  HGLOBAL mem = GlobalAlloc(GHND, sizeof(DROPFILES) + block.size() * sizeof(wchar_t));
  auto* df = static_cast<DROPFILES*>(GlobalLock(mem));
  df->pFiles = sizeof(DROPFILES);
  df->fWide = TRUE;
  memcpy(reinterpret_cast<char*>(df) + sizeof(DROPFILES), block.data(), block.size() * sizeof(wchar_t));
  GlobalUnlock(mem);
  SendMessageW(list.hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(mem), 0);
  EXPECT_EQ(dropped, (std::vector<std::string>{"C:\\壁紙\\一.BMP", "C:\\b.jpg"}));

  list.RemoveItem(0);
  EXPECT_EQ(list.List(0), "a.jpg");
  list.Clear();
  EXPECT_EQ(list.ListCount(), 0);
}

TEST(TextBox, TextColoursAndFocusEvents) {
  TextBox a, b;
  TestForm form([&](TestForm& f) {
    a.Create(f, 0, 0, 80, 19);
    b.Create(f, 0, 30, 80, 19);
  });
  form.Show();
  SetForegroundWindow(form.hwnd());
  std::vector<std::string> log;
  a.OnGotFocus = [&] { log.push_back("a+"); };
  a.OnLostFocus = [&] { log.push_back("a-"); };
  b.OnGotFocus = [&] { log.push_back("b+"); };
  a.OnChange = [&] { log.push_back("a~"); };
  a.SetText("日本語");
  EXPECT_EQ(a.Text(), "日本語");
  a.SetFocus();
  b.SetFocus();
  EXPECT_EQ(log, (std::vector<std::string>{"a~", "a+", "a-", "b+"}));
  a.SetBackColor(RGB(255, 255, 0));
  HDC dc = GetDC(a.hwnd());
  LRESULT brush = SendMessageW(form.hwnd(), WM_CTLCOLOREDIT, reinterpret_cast<WPARAM>(dc),
                               reinterpret_cast<LPARAM>(a.hwnd()));
  EXPECT_NE(brush, 0);
  EXPECT_EQ(GetBkColor(dc), RGB(255, 255, 0));
  ReleaseDC(a.hwnd(), dc);
}

TEST(CommandButton, ClickRunsTheHandler) {
  CommandButton button;
  TestForm form([&](TestForm& f) { button.Create(f, 0, 0, 18, 18); });
  form.Show();
  int clicks = 0;
  button.OnClick = [&] { ++clicks; };
  button.SetPicture(Picture::FromSurface(win::Surface(12, 12, RGB(0, 0, 0))));
  SendMessageW(button.hwnd(), BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);
}

TEST(Timer, FiresWhileEnabled) {
  Timer timer;
  int ticks = 0;
  timer.OnTimer = [&] {
    ++ticks;
    timer.SetEnabled(false);
  };
  timer.SetInterval(1);
  timer.SetEnabled(true);
  const DWORD until = GetTickCount() + 2000;
  MSG msg;
  while (ticks == 0 && GetTickCount() < until) {
    if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      DispatchMessageW(&msg);
    } else {
      Sleep(1);
    }
  }
  EXPECT_EQ(ticks, 1);
}

}  // namespace
}  // namespace qr::forms
