#include <gtest/gtest.h>

#include "memory/exclusions.h"

namespace pravelo::memory {
namespace {

TEST(Exclusions, ParseAcceptsFileNamesAndRefusesTheRest) {
  struct Case {
    const char* text;
    bool valid;
  };
  const Case cases[] = {
      {"", true},
      {"   ", true},
      {"game.exe", true},
      {" game.exe ; Browser.EXE;x", true},
      {"최적화.exe", true},
      {"game.exe;", false},  // an empty entry
      {"game.exe;;x.exe", false},
      {";", false},
      {"a; ;b", false},
      {"C:\\Games\\game.exe", false},
      {"bin/game.exe", false},
      {"ga*me.exe", false},
      {"what?.exe", false},
      {"..", false},
      {"tab\there.exe", false},
      {"\"quoted.exe\"", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Exclusions::Parse(c.text).has_value(), c.valid) << '"' << c.text << '"';
  EXPECT_FALSE(Exclusions::Parse(std::string(256, 'a')));
  EXPECT_TRUE(Exclusions::Parse(std::string(255, 'a')));
}

TEST(Exclusions, MatchesTheImageNameWithoutRegardToCase) {
  const Exclusions list = *Exclusions::Parse("Game.exe; browser.exe ;최적화.exe");
  struct Case {
    const char* image;
    bool excluded;
  };
  const Case cases[] = {
      {"game.exe", true},    {"GAME.EXE", true},
      {"Browser.Exe", true}, {"C:\\Program Files\\Game\\GAME.exe", true},
      {"최적화.exe", true},  {"game.exe.bak", false},
      {"agame.exe", false},  {"game", false},
      {"", false},           {"pravelo.exe", false},  // the program's own process stays trimmed unless listed
  };
  for (const Case& c : cases) EXPECT_EQ(list.Excludes(c.image), c.excluded) << c.image;
  EXPECT_TRUE(Exclusions::Parse("PRAVELO.exe")->Excludes("pravelo.exe"));
  EXPECT_FALSE(Exclusions().Excludes("game.exe"));
}

}  // namespace
}  // namespace pravelo::memory
