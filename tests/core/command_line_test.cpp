// The command line: what starts the windows, what asks for the usage, and which render requests are
// accepted or refused (and why).
#include "core/command_line.h"

#include <gtest/gtest.h>

#include "core/version.h"

namespace qr {
namespace {

using Kind = CommandLine::Kind;

TEST(CommandLine, NoArgumentsStartTheWindowsAndSlashQuestionAsksForTheUsage) {
  EXPECT_EQ(ParseCommandLine({}).kind, Kind::Windows);
  EXPECT_EQ(ParseCommandLine({"/?"}).kind, Kind::Usage);
  EXPECT_EQ(ParseCommandLine({"-?"}).kind, Kind::Usage);
  EXPECT_EQ(ParseCommandLine({"/?", "x"}).kind, Kind::Bad);
}

TEST(CommandLine, VersionAndStoppingTheWatcherAreAskedAloneAndTheUsageNamesTheVersion) {
  EXPECT_EQ(ParseCommandLine({"/version"}).kind, Kind::Version);
  EXPECT_EQ(ParseCommandLine({"--VERSION"}).kind, Kind::Version);
  EXPECT_EQ(ParseCommandLine({"/version", "x"}).kind, Kind::Bad);
  EXPECT_EQ(ParseCommandLine({"version"}).kind, Kind::Bad);
  EXPECT_EQ(ParseCommandLine({"/watch", "STOP"}).kind, Kind::StopWatch);
  EXPECT_EQ(ParseCommandLine({"/watch", "now"}).kind, Kind::Bad);
  EXPECT_EQ(UsageText().rfind("Quelm_Rask " + std::string(ProgramVersion()) + "\r\n", 0), 0u);
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

TEST(CommandLine, TheDisplayAndTheResidentSwitchesStandAlone) {
  EXPECT_EQ(ParseCommandLine({"/monitors"}).kind, Kind::Monitors);
  EXPECT_EQ(ParseCommandLine({"-WATCH"}).kind, Kind::Watch);
  EXPECT_EQ(ParseCommandLine({"/refresh"}).kind, Kind::Refresh);
  const CommandLine on = ParseCommandLine({"/autostart", "ON"});
  ASSERT_EQ(on.kind, Kind::Autostart);
  EXPECT_TRUE(on.autostartOn);
  EXPECT_FALSE(ParseCommandLine({"/autostart", "off"}).autostartOn);
  for (const std::vector<std::string>& bad :
       std::vector<std::vector<std::string>>{{"/monitors", "x"},
                                             {"/watch", "/set"},
                                             {"/refresh", "/settings", "a.ini"},
                                             {"/autostart"},
                                             {"/autostart", "yes"},
                                             {"/autostart", "on", "off"}})
    EXPECT_EQ(ParseCommandLine(bad).kind, Kind::Bad) << bad[0];
  // The message names the extra argument rather than calling the switch unknown.
  const std::string extra = ParseCommandLine({"/Monitors", "x"}).error;
  EXPECT_EQ(extra.find("知らない"), std::string::npos) << extra;
  EXPECT_NE(extra.find("/monitors には何も付けません: x"), std::string::npos) << extra;
}

TEST(CommandLine, ALayoutWritesIntoAnOutFolderAndInstallsNothing) {
  const CommandLine layout =
      ParseCommandLine({"/render", "t.qlm", "/layout", "1024x768@0,0", "/out", "kiosk", "/at", "-700,200"});
  ASSERT_EQ(layout.kind, Kind::Render) << layout.error;
  EXPECT_EQ(layout.render.layout, "1024x768@0,0");
  EXPECT_EQ(layout.render.at, (Point{-700, 200}));
  const CommandLine noFolder = ParseCommandLine({"/render", "t.qlm", "/layout", "1024x768@0,0"});
  EXPECT_EQ(noFolder.kind, Kind::Bad);
  EXPECT_EQ(noFolder.error.find("/set"), std::string::npos) << noFolder.error;  // none was given
  EXPECT_EQ(ParseCommandLine({"/render", "t.qlm", "/layout", "1x1@0,0", "/out", "k", "/set"}).kind,
            Kind::Bad);
  EXPECT_EQ(ParseCommandLine({"/render", "t.qlm", "/layout"}).kind, Kind::Bad);
}

}  // namespace
}  // namespace qr
