// The command line: what starts the windows, what asks for the usage, and which render requests are
// accepted or refused (and why).
#include "core/command_line.h"

#include <gtest/gtest.h>

namespace qr {
namespace {

using Kind = CommandLine::Kind;

TEST(CommandLine, NoArgumentsStartTheWindowsAndSlashQuestionAsksForTheUsage) {
  EXPECT_EQ(ParseCommandLine({}).kind, Kind::Windows);
  EXPECT_EQ(ParseCommandLine({"/?"}).kind, Kind::Usage);
  EXPECT_EQ(ParseCommandLine({"-?"}).kind, Kind::Usage);
  EXPECT_EQ(ParseCommandLine({"/?", "x"}).kind, Kind::Bad);
}

TEST(CommandLine, RenderTakesATableAndOptionalSwitchesInAnyOrderAndCase) {
  const CommandLine plain = ParseCommandLine({"/render", "C:\\予定.qlm"});
  ASSERT_EQ(plain.kind, Kind::Render);
  EXPECT_EQ(plain.render, (RenderRequest{"C:\\予定.qlm", std::nullopt, false, std::nullopt}));

  const CommandLine full =
      ParseCommandLine({"/RENDER", "t.qlm", "/At", "-12,700", "-set", "/out", "o u t.bmp"});
  ASSERT_EQ(full.kind, Kind::Render) << full.error;
  EXPECT_EQ(full.render, (RenderRequest{"t.qlm", "o u t.bmp", true, Point{-12, 700}}));
}

TEST(CommandLine, BadArgumentsAreRefusedWithAReason) {
  const std::vector<std::vector<std::string>> bad = {
      {"render", "t.qlm"},                   // not a switch
      {"/render"},                           // no table
      {"/render", "/set"},                   // a switch where the table belongs
      {"/render", "t.qlm", "/out"},          // /out without a file
      {"/render", "t.qlm", "/at", "1"},      // no y
      {"/render", "t.qlm", "/at", "1,2,3"},  // too many
      {"/render", "t.qlm", "/at", "x,2"},
      {"/render", "t.qlm", "/at", "1,99999999999"},  // beyond 32 bits
      {"/render", "t.qlm", "/set", "/set"},          // repeated
      {"/render", "t.qlm", "extra"},
      {"/unknown"},
  };
  for (const auto& args : bad) {
    const CommandLine line = ParseCommandLine(args);
    EXPECT_EQ(line.kind, Kind::Bad) << args.back();
    EXPECT_FALSE(line.error.empty());
  }
}

}  // namespace
}  // namespace qr
