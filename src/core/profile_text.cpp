// The settings file's sections and keys, found and changed in its code page 932 bytes.
#include "core/profile_text.h"

#include <vector>

#include "core/cp932.h"

namespace qr {

namespace {

// One line of the file, without its line end; `end` is where the next line starts.
struct Line {
  std::string_view text;
  size_t start = 0;
  size_t end = 0;
};

// '\n' and '\r' never stand inside a double-byte character, so lines are found in the raw bytes.
std::vector<Line> LinesOf(std::string_view bytes) {
  std::vector<Line> lines;
  for (size_t start = 0; start < bytes.size();) {
    const size_t lf = bytes.find('\n', start);
    const size_t end = lf == std::string_view::npos ? bytes.size() : lf + 1;
    std::string_view text = bytes.substr(start, (lf == std::string_view::npos ? end : lf) - start);
    if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
    lines.push_back({text, start, end});
    start = end;
  }
  return lines;
}

std::string_view Trimmed(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& ch : lower)
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
  return lower;
}

// The lower-case name of a section header line, or nothing for another line. Bytes of code page 932
// compare as they stand: the program's names are ASCII.
bool SectionName(std::string_view line, std::string& name) {
  const std::string_view text = Trimmed(line);
  if (text.empty() || text.front() != '[') return false;
  name = Lower(Trimmed(text.substr(1, text.find(']') - 1)));
  return true;
}

bool IsComment(std::string_view line) {
  const std::string_view text = Trimmed(line);
  return !text.empty() && text.front() == ';';
}

std::string_view KeyOf(std::string_view line) { return Trimmed(line.substr(0, line.find('='))); }

std::string_view Unquoted(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

}  // namespace

std::map<std::string, std::string> ProfileSection(std::string_view fileBytes, std::string_view section) {
  std::map<std::string, std::string> keys;
  const std::string wanted = Lower(section);
  bool inside = false;
  std::string name;
  for (const Line& line : LinesOf(fileBytes)) {
    if (SectionName(line.text, name)) {
      inside = name == wanted;
    } else if (inside && !IsComment(line.text) && !Trimmed(line.text).empty()) {
      const size_t equals = line.text.find('=');
      const std::string_view value =
          equals == std::string_view::npos ? std::string_view() : Trimmed(line.text.substr(equals + 1));
      keys.emplace(Lower(KeyOf(line.text)), DecodeCp932(Unquoted(value)));
    }
  }
  return keys;
}

std::string WithProfileValue(std::string_view fileBytes, std::string_view section, std::string_view key,
                             std::string_view value) {
  const std::string entry = std::string(key) + "=" + EncodeCp932(Trimmed(value)) + "\r\n";
  const std::string wanted = Lower(section);
  const std::string wantedKey = Lower(key);
  bool inside = false;
  size_t insertAt = std::string_view::npos;  // after the section's last line that is not blank
  std::string name;
  for (const Line& line : LinesOf(fileBytes)) {
    if (SectionName(line.text, name)) {
      if (inside) break;
      inside = name == wanted;
      if (inside) insertAt = line.end;
    } else if (inside && !Trimmed(line.text).empty()) {
      if (!IsComment(line.text) && Lower(KeyOf(line.text)) == wantedKey) {
        return std::string(fileBytes.substr(0, line.start)) + entry + std::string(fileBytes.substr(line.end));
      }
      insertAt = line.end;
    }
  }
  std::string bytes(fileBytes);
  if (insertAt != std::string_view::npos) {
    // The section's last line may be the file's, without a line end.
    const bool ended = insertAt > 0 && bytes[insertAt - 1] == '\n';
    return bytes.substr(0, insertAt) + (ended ? "" : "\r\n") + entry + bytes.substr(insertAt);
  }
  if (!bytes.empty() && bytes.back() != '\n') bytes += "\r\n";
  return bytes + "[" + std::string(section) + "]\r\n" + entry;
}

}  // namespace qr
