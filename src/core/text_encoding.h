#pragma once
// The encodings a table's text file may come in, told from its bytes, and their decoding into UTF-8.
#include <string>
#include <string_view>

namespace qr {

enum class TextEncoding { Cp932, Utf8, Utf16Le, Utf16Be };

// A UTF-8 byte-order mark means UTF-8, a UTF-16 mark (either byte order) UTF-16. Without a mark, text
// that is valid UTF-8 and holds a non-ASCII character is UTF-8; anything else code page 932 (pure ASCII
// reads the same either way). Text that reads as both, where UTF-8 gives only two-byte sequences and
// code page 932 only Japanese (half-width katakana), is weighed over all its bytes: UTF-8 when most of
// its characters are accented letters or signs inside words (Café, 25°C), else code page 932 (short
// katakana words such as ﾊｲ and ﾏｲﾅｽ). `cutShort` says the bytes are the start of a longer file, so
// that a character cut at their end does not count against UTF-8.
TextEncoding DetectTextEncoding(std::string_view bytes, bool cutShort = false);

// The text as UTF-8, without its byte-order mark. Malformed sequences (a lone surrogate, an odd last
// byte of UTF-16, invalid UTF-8) become U+FFFD. Code page 932 goes through DecodeCp932.
std::string DecodeText(std::string_view bytes, TextEncoding encoding);

// True when code page 932 holds every character of the UTF-8 text exactly.
bool FitsCp932(std::string_view utf8);

}  // namespace qr
