#pragma once
// The program's one font maker and one colour resolver: the editor's cells, the cells drawn on the
// wallpaper, the forms toolkit's controls and the choosers all get their fonts and colours here, so a
// cell looks the same wherever it is drawn.
#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "win32/handles.h"

namespace qr::win {

struct FontSpec {
  std::string name = "ＭＳ Ｐゴシック";  // UTF-8
  double size = 9.0;                     // points, may be fractional
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeout = false;
  BYTE charset = DEFAULT_CHARSET;
  bool operator==(const FontSpec&) const = default;
};

// The character set a cell font asks for: the Japanese set for every face (what the default set is on a
// Japanese system), so that the mapper picks the same face or substitute whatever the system code page.
BYTE CharsetForFace(std::string_view face);

// A cell's font as a description: its face, size, bold and italic, with the charset above.
FontSpec CellFontSpec(std::string_view name, double size, bool bold, bool italic);

// A GDI font of that description at `pixelsPerInch` (0: the screen's). The character height is the size
// in pixels, rounded, at least 1.
Font MakeFont(const FontSpec& font, int pixelsPerInch = 0);

// A colour as the program stores it, 0x00BBGGRR or 0x80000000 + n for the system colour n, as a GDI
// colour.
COLORREF ResolveColour(uint32_t colour);

// Every font family the screen reports, once each, in the order reported (vertical "@" faces included
// when the system reports them).
std::vector<std::string> ScreenFontNames();

}  // namespace qr::win
