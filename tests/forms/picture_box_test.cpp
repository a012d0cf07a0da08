// Picture boxes: the picture under the persistent image, the image across size and scale changes.
#include "forms/picture_box.h"

#include <gtest/gtest.h>
#include <windows.h>

#include "forms/test_form.h"

namespace qr::forms {
namespace {

using test::FillArea;
using test::LayoutForm;
using test::Painted;

const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kWhite = RGB(255, 255, 255);

// Catches a Cls that forgets the picture, or a persistent image switched on without the picture in it.
TEST(PictureBox, ThePictureLiesUnderTheDrawingAndComesBackWithCls) {
  PictureBox box;
  LayoutForm form([&](LayoutForm& f) { box.Create(f, 10, 10, 100, 80); });
  form.Show();
  box.SetBackColor(kWhite);
  box.SetPicture(Picture::FromSurface(win::Surface(20, 20, kBlue)));
  box.SetAutoRedraw(true);
  EXPECT_EQ(box.Image()->Pixel(19, 19), kBlue);
  FillArea(box.Dc(), {10, 10, 60, 60}, kRed);
  box.Refresh();
  EXPECT_EQ(Painted(box.hwnd()).Pixel(15, 15), kRed);
  box.Cls();
  const win::Surface after = Painted(box.hwnd());
  EXPECT_EQ(after.Pixel(15, 15), kBlue);
  EXPECT_EQ(after.Pixel(40, 40), kWhite);
}

// Catches an image cut to a smaller size in passing (a layout that shrinks the box for a moment would
// lose what was drawn at its far side).
TEST(PictureBox, ShrinkingForAMomentKeepsTheDrawing) {
  PictureBox box;
  LayoutForm form([&](LayoutForm& f) { box.Create(f, 0, 0, 120, 100); });
  form.Show();
  box.SetAutoRedraw(true);
  box.SetBackColor(kWhite);
  FillArea(box.Dc(), {100, 80, 120, 100}, kRed);
  box.Move(0, 0, 30, 30);
  box.Move(0, 0, 120, 100);
  EXPECT_EQ(Painted(box.hwnd()).Pixel(110, 90), kRed);
}

// Catches a persistent image left at its old size after a change of scale, or a picture not drawn
// again at the new one.
TEST(PictureBox, AChangeOfScaleGrowsTheImageAndRedrawsThePicture) {
  PictureBox box;
  LayoutForm form([&](LayoutForm& f) { box.Create(f, 0, 0, 100, 80); });
  form.Show();
  box.SetBackColor(kWhite);
  box.SetPicture(Picture::FromSurface(win::Surface(20, 20, kBlue)));
  box.SetAutoRedraw(true);
  form.SendDpiChange(144, RECT{0, 0, 450, 300});
  ASSERT_NE(box.Image(), nullptr);
  EXPECT_EQ(box.ScaleWidth(), 150);
  EXPECT_GE(box.Image()->width(), 150);
  EXPECT_GE(box.Image()->height(), 120);
  EXPECT_EQ(box.Image()->Pixel(28, 28), kBlue) << "the picture at 30 x 30";
  EXPECT_EQ(Painted(box.hwnd()).Pixel(140, 110), kWhite);
}

}  // namespace
}  // namespace qr::forms
