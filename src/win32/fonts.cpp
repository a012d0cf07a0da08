// The one font maker and the one colour resolver.
#include "win32/fonts.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

#include "win32/screen.h"
#include "win32/text.h"

namespace qr::win {

namespace {

int ScreenPixelsPerInch() { return SystemDpi(); }

}  // namespace

// The default set follows the system's code page; asking for Japanese by name makes the mapper pick the
// faces a Japanese system picks, so a table draws the same pixels on a system of any code page.
BYTE CharsetForFace(std::string_view) { return SHIFTJIS_CHARSET; }

FontSpec CellFontSpec(std::string_view name, double size, bool bold, bool italic) {
  FontSpec font;
  font.name = std::string(name);
  font.size = size;
  font.bold = bold;
  font.italic = italic;
  font.charset = CharsetForFace(name);
  return font;
}

Font MakeFont(const FontSpec& font, int pixelsPerInch) {
  const int dpi = pixelsPerInch > 0 ? pixelsPerInch : ScreenPixelsPerInch();
  const double pixels = std::clamp(std::round(font.size * dpi / 72.0), 1.0, 10000.0);
  LOGFONTW lf{};
  lf.lfHeight = -static_cast<LONG>(pixels);
  lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = font.italic ? TRUE : FALSE;
  lf.lfUnderline = font.underline ? TRUE : FALSE;
  lf.lfStrikeOut = font.strikeout ? TRUE : FALSE;
  lf.lfCharSet = font.charset;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  const std::wstring face = Wide(font.name);
  lstrcpynW(lf.lfFaceName, face.c_str(), LF_FACESIZE);
  return Font(CreateFontIndirectW(&lf));
}

COLORREF ResolveColour(uint32_t colour) {
  if (colour & 0x80000000u) return GetSysColor(static_cast<int>(colour & 0xFFu));
  return colour & 0x00FFFFFFu;
}

// Some systems report a family once for each of its character sets: each family is kept where it was
// first reported.
std::vector<std::string> ScreenFontNames() {
  struct Found {
    std::vector<std::string> names;
    std::unordered_set<std::wstring> seen;
  } found;
  const WindowDc screen(nullptr);
  if (!screen) return {};
  EnumFontFamiliesW(
      screen.get(), nullptr,
      [](const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM context) CALLBACK -> int {
        auto& found = *reinterpret_cast<Found*>(context);
        try {
          if (found.seen.insert(font->lfFaceName).second) found.names.push_back(Utf8(font->lfFaceName));
          return 1;
        } catch (...) {
          return 0;  // out of memory: keep what was found
        }
      },
      reinterpret_cast<LPARAM>(&found));
  return std::move(found.names);
}

}  // namespace qr::win
