#include <gtest/gtest.h>

#include "app/command_line.h"

namespace pravelo::app {
namespace {

TEST(CommandLine, WholeTextAndPrefixMatches) {
  struct Case {
    const char* line;
    SwitchKind kind;
    const char* argument;
  };
  const Case cases[] = {
      {"/a", SwitchKind::Optimize, ""},     {"/b", SwitchKind::DeepOptimize, ""},
      {"/tray", SwitchKind::Tray, ""},      {"/u", SwitchKind::ShowPath, ""},
      {"/o 1536", SwitchKind::Report, "1536"}, {"/o", SwitchKind::Report, ""},
      {"/oXY1", SwitchKind::Report, "Y1"},  {"/o한12", SwitchKind::Report, "12"},
      {"/q C:\\x", SwitchKind::QuickUpdate, "C:\\x"},
      {"/A", SwitchKind::None, ""},         {"/a /b", SwitchKind::None, ""},
      {"", SwitchKind::None, ""},           {"/", SwitchKind::None, ""},
      {"/Tray", SwitchKind::None, ""},      {"/O 5", SwitchKind::None, ""},
      {"/clean all", SwitchKind::Clean, "all"},
      {"/clean StandbyList,RegistryCache", SwitchKind::Clean, "StandbyList,RegistryCache"},
      {"/clean", SwitchKind::Clean, ""},    {"/cleanall", SwitchKind::None, ""},
      {"/Clean all", SwitchKind::None, ""}, {"/c", SwitchKind::None, ""},
      // The two-character prefixes stay as they were.
      {"/oclean", SwitchKind::Report, "lean"}, {"/q /clean all", SwitchKind::QuickUpdate, "/clean all"},
  };
  for (const Case& c : cases) {
    CommandLineSwitch parsed = ParseCommandLine(c.line);
    EXPECT_EQ(parsed.kind, c.kind) << c.line;
    EXPECT_EQ(parsed.argument, c.argument) << c.line;
  }
}

TEST(CommandLine, CleanAreas) {
  using memory::AreaSet;
  using memory::MemoryArea;
  AreaSet standbyAndRegistry;
  standbyAndRegistry.Add(MemoryArea::StandbyList);
  standbyAndRegistry.Add(MemoryArea::RegistryCache);
  AreaSet workingSets;
  workingSets.Add(MemoryArea::WorkingSets);
  const std::pair<const char*, std::optional<AreaSet>> cases[] = {
      {"all", AreaSet::All()},
      {"ALL", AreaSet::All()},
      {"RegistryCache,StandbyList", standbyAndRegistry},
      {"standbylist , REGISTRYCACHE", standbyAndRegistry},
      {"workingsets", workingSets},
      {"WorkingSets,all", AreaSet::All()},
      // An unknown name spoils the whole list: nothing runs.
      {"bogus", std::nullopt},
      {"StandbyList,bogus", std::nullopt},
      {"", std::nullopt},
      {" , ", std::nullopt},
      {"Standby List", std::nullopt},
  };
  for (const auto& [argument, expected] : cases) EXPECT_EQ(CleanAreas(argument), expected) << argument;
}

TEST(CommandLine, QuickUpdateTargetPairsWithTheUpdate) {
  const std::pair<const char*, const char*> cases[] = {
      {"\"C:\\Program Files\\Pravelo\\pravelo\"", "C:\\Program Files\\Pravelo\\pravelo.exe"},
      {"C:\\Tools\\pravelo", "C:\\Tools\\pravelo.exe"},
      {"\\\\server\\share\\pravelo", "\\\\server\\share\\pravelo.exe"},
      {"pravelo.exe", "C:\\Temp\\pravelo.exe"},
      {"sub\\name", "C:\\Temp\\sub\\name.exe"},
      {"C:\\dir.v2\\pravelo", "C:\\dir.v2\\pravelo.exe"},
  };
  for (const auto& [argument, target] : cases) {
    EXPECT_EQ(QuickUpdateTarget(argument, "C:\\Temp"), target) << argument;
  }
  EXPECT_EQ(QuoteForCommandLine("C:\\Program Files\\a.exe"), "\"C:\\Program Files\\a.exe\"");
}

}  // namespace
}  // namespace pravelo::app
