// The palette's colours and their names.
#include "font_colour/palette.h"

#include <array>
#include <utility>

namespace qr {

namespace {

constexpr uint32_t System(uint32_t n) { return 0x80000000u | n; }

// `Palette_Colors`, indexes 1..72, eight to a row.
constexpr std::array<uint32_t, kPaletteColours> kPalette = {
    RGB(255, 255, 255), RGB(255, 192, 192), RGB(255, 224, 192), RGB(255, 255, 192),
    RGB(192, 255, 192), RGB(192, 255, 255), RGB(192, 192, 255), RGB(255, 192, 255),  //
    RGB(224, 224, 224), RGB(255, 128, 128), RGB(255, 192, 128), RGB(255, 255, 128),
    RGB(128, 255, 128), RGB(128, 255, 255), RGB(128, 128, 255), RGB(255, 128, 255),  //
    RGB(192, 192, 192), RGB(255, 0, 0),     RGB(255, 128, 0),   RGB(255, 255, 0),
    RGB(0, 255, 0),     RGB(0, 255, 255),   RGB(0, 0, 255),     RGB(255, 0, 255),  //
    RGB(128, 128, 128), RGB(192, 0, 0),     RGB(192, 64, 0),    RGB(192, 192, 0),
    RGB(0, 192, 0),     RGB(0, 192, 192),   RGB(0, 0, 192),     RGB(192, 0, 192),  //
    RGB(64, 64, 64),    RGB(128, 0, 0),     RGB(128, 64, 0),    RGB(128, 128, 0),
    RGB(0, 128, 0),     RGB(0, 128, 128),   RGB(0, 0, 128),     RGB(128, 0, 128),  //
    RGB(0, 0, 0),       RGB(64, 0, 0),      RGB(128, 64, 64),   RGB(64, 64, 0),
    RGB(0, 64, 0),      RGB(0, 64, 64),     RGB(0, 0, 64),      RGB(64, 0, 64),  //
    System(0),          System(1),          System(2),          System(3),
    System(4),          System(5),          System(7),          System(8),  //
    System(9),          System(10),         System(11),         System(12),
    System(13),         System(14),         System(15),         System(16),  //
    System(17),         System(18),         System(19),         System(20),
    System(21),         System(22),         System(23),         System(24)};

constexpr std::pair<COLORREF, const char*> kNamedColours[] = {
    {RGB(255, 255, 255), "白"},       {RGB(0, 0, 0), "黒"},         {RGB(255, 0, 0), "赤"},
    {RGB(255, 128, 0), "橙"},         {RGB(255, 255, 0), "黄"},     {RGB(0, 255, 0), "緑"},
    {RGB(0, 255, 255), "水色"},       {RGB(0, 0, 255), "青"},       {RGB(255, 0, 255), "赤紫"},
    {RGB(224, 224, 224), "淡い灰色"}, {RGB(192, 192, 192), "銀色"}, {RGB(128, 128, 128), "灰色"},
    {RGB(64, 64, 64), "濃い灰色"},    {RGB(128, 0, 0), "えび茶"},   {RGB(128, 128, 0), "オリーブ"},
    {RGB(0, 128, 0), "深緑"},         {RGB(0, 128, 128), "青緑"},   {RGB(0, 0, 128), "紺"},
    {RGB(128, 0, 128), "紫"}};

// The system colours by number (COLOR_SCROLLBAR = 0 ... COLOR_INFOBK = 24); 6, the window frame, is not
// in the palette.
constexpr std::array<const char*, 25> kSystemColourNames = {"スクロール バー",
                                                            "デスクトップ",
                                                            "アクティブなタイトル バー",
                                                            "非アクティブなタイトル バー",
                                                            "メニュー",
                                                            "ウィンドウの背景",
                                                            "ウィンドウの枠",
                                                            "メニューの文字",
                                                            "ウィンドウの文字",
                                                            "タイトル バーの文字",
                                                            "アクティブな境界",
                                                            "非アクティブな境界",
                                                            "アプリケーションの背景",
                                                            "選択項目",
                                                            "選択項目の文字",
                                                            "ボタンの表面",
                                                            "ボタンの影",
                                                            "淡色の文字",
                                                            "ボタンの文字",
                                                            "非アクティブなタイトルの文字",
                                                            "ボタンの強調",
                                                            "ボタンの濃い影",
                                                            "ボタンの明るい面",
                                                            "ヒントの文字",
                                                            "ヒントの背景"};

}  // namespace

std::optional<uint32_t> Palette_Color(int index) {
  if (index < 1 || index > kPaletteColours) return std::nullopt;
  return kPalette[static_cast<size_t>(index - 1)];
}

std::string PaletteColourName(int index) {
  const std::optional<uint32_t> colour = Palette_Color(index);
  if (!colour) return std::string();
  if (*colour & 0x80000000u) {
    const uint32_t n = *colour & 0xFFu;
    return n < kSystemColourNames.size() ? std::string("システムの色 ") + kSystemColourNames[n]
                                         : std::string();
  }
  for (const auto& [rgb, name] : kNamedColours)
    if (rgb == *colour) return name;
  return "赤 " + std::to_string(GetRValue(*colour)) + " 緑 " + std::to_string(GetGValue(*colour)) + " 青 " +
         std::to_string(GetBValue(*colour));
}

}  // namespace qr
