// The command line parsed into what to run, and the usage text.
#include "core/command_line.h"

#include <cctype>
#include <charconv>
#include <cstdint>

#include "core/version.h"

namespace qr {

namespace {

// "/x" or "-x" as "/x" in lower case; empty for anything that is not a switch.
std::string SwitchName(std::string_view arg) {
  std::string name;
  if (arg.size() < 2 || (arg[0] != '/' && arg[0] != '-')) return name;
  name.push_back('/');
  for (char c : arg.substr(1)) name.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
  return name;
}

std::optional<int32_t> Int32(std::string_view text) {
  int32_t value = 0;
  const char* end = text.data() + text.size();
  const auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (text.empty() || ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

std::optional<Point> ParsePoint(std::string_view text) {
  const size_t comma = text.find(',');
  if (comma == std::string_view::npos) return std::nullopt;
  const auto x = Int32(text.substr(0, comma));
  const auto y = Int32(text.substr(comma + 1));
  if (!x || !y) return std::nullopt;
  return Point{*x, *y};
}

CommandLine Bad(std::string error) {
  CommandLine line;
  line.kind = CommandLine::Kind::Bad;
  line.error = std::move(error);
  return line;
}

CommandLine ParseAutostart(const std::vector<std::string>& args) {
  std::string value = args.size() == 2 ? args[1] : std::string();
  for (char& c : value) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (value != "on" && value != "off") return Bad("/autostart には on か off を付けてください");
  CommandLine line;
  line.kind = CommandLine::Kind::Autostart;
  line.autostartOn = value == "on";
  return line;
}

CommandLine ParseRefresh(const std::vector<std::string>& args) {
  // The remembered wallpaper holds everything it needs: no settings file is read.
  if (args.size() != 1) return Bad("/refresh には何も付けません");
  CommandLine line;
  line.kind = CommandLine::Kind::Refresh;
  return line;
}

}  // namespace

std::string UsageText() {
  std::string text = "Quelm_Rask ";
  text.append(ProgramVersion()).append("\r\n");
  text.append(kUsageText);
  return text;
}

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine line;
  if (args.empty()) return line;
  if (args.size() == 1 && (SwitchName(args[0]) == "/?" || SwitchName(args[0]) == "/help")) {
    line.kind = CommandLine::Kind::Usage;
    return line;
  }
  const std::string first = SwitchName(args[0]);
  if (first == "/version" || first == "/-version") {
    if (args.size() > 1) return Bad(args[0] + " には何も付けません: " + args[1]);
    line.kind = CommandLine::Kind::Version;
    return line;
  }
  if (first == "/watch" && args.size() == 2 && SwitchName("/" + args[1]) == "/stop") {
    line.kind = CommandLine::Kind::StopWatch;  // an installer ends the resident instance before replacing it
    return line;
  }
  if (first == "/monitors" || first == "/watch") {
    // What is wrong is the extra argument, not the switch.
    if (args.size() > 1) return Bad(first + " には何も付けません: " + args[1]);
    line.kind = first == "/watch" ? CommandLine::Kind::Watch : CommandLine::Kind::Monitors;
    return line;
  }
  if (first == "/autostart") return ParseAutostart(args);
  if (first == "/refresh") return ParseRefresh(args);
  if (SwitchName(args[0]) != "/render") return Bad(std::string("知らない引数です: ").append(args[0]));
  if (args.size() < 2 || args[1].empty() || !SwitchName(args[1]).empty())
    return Bad("/render には表のファイル (.qlm) を付けてください");
  RenderRequest& request = line.render;
  request.table = args[1];
  for (size_t i = 2; i < args.size(); ++i) {
    const std::string name = SwitchName(args[i]);
    const bool hasValue = i + 1 < args.size();
    if (name == "/set" && !request.set) {
      request.set = true;
    } else if (name == "/out" && !request.out) {
      if (!hasValue || args[i + 1].empty()) return Bad("/out にはファイル名を付けてください");
      request.out = args[++i];
    } else if (name == "/at" && !request.at) {
      if (!hasValue) return Bad("/at には <x>,<y> を付けてください");
      request.at = ParsePoint(args[++i]);
      if (!request.at) return Bad("/at には <x>,<y> を整数のピクセルで付けてください: " + args[i]);
    } else if (name == "/settings" && !line.settings) {
      if (!hasValue || args[i + 1].empty()) return Bad("/settings には設定ファイル (.ini) を付けてください");
      line.settings = args[++i];
    } else if (name == "/layout" && !request.layout) {
      if (!hasValue || args[i + 1].empty())
        return Bad("/layout にはモニターを付けてください: WxH@X,Y[;WxH@X,Y...]");
      request.layout = args[++i];
    } else {
      return Bad("知らない引数か、二度目の引数です: " + args[i]);
    }
  }
  if (request.layout && request.set)
    return Bad(
        "/layout は /out のフォルダーに書き込むだけで壁紙を設定しません: /set ではなく /out <folder> "
        "を付けてください");
  if (request.layout && !request.out)
    return Bad("/layout には書き込むフォルダーが要ります: /out <folder> を付けてください");
  line.kind = CommandLine::Kind::Render;
  return line;
}

}  // namespace qr
