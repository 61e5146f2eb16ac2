// Every way to a standard pass: the button, the hotkey, the thumbnail button, the tray
// menu, simple mode, the timer, the load threshold, "/a" and "/clean".
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "fakes/app_fixture.h"

namespace pravelo {
namespace {

using fakes::AppFixture;
using fakes::ProcessEnded;

constexpr std::string_view kAutomationKey = "Software\\zEVID\\PraveloAutomation";

struct Path {
  const char* name;
  std::function<void(AppFixture&)> run;
};

// Every setting a path needs is on: the timer every 10 s, the threshold under the load.
void Prepare(AppFixture& f) {
  f.SetSetting("AutoOptimize", "1");
  f.SetSetting("Interval", "5");
  f.registry.SetString(RegistryRoot::CurrentUser, kAutomationKey, "Threshold", "40");
  f.registry.SetString(RegistryRoot::CurrentUser, kAutomationKey, "Exclusions", "game.exe");
  f.machine.Find(400)->imageName = "Game.exe";
}

const std::vector<Path>& InteractivePaths() {
  static const std::vector<Path> paths = {
      {"button", [](AppFixture& f) { f.form1().Command1_Click(); }},
      {"hotkey", [](AppFixture& f) { f.form1().hotkey_Pressed(); }},
      {"thumbnail button", [](AppFixture& f) { f.form1().itbar_list3_ButtonPressed(0); }},
      {"tray menu", [](AppFixture& f) { f.form1().optiz_Click(); }},
      {"simple mode", [](AppFixture& f) { f.form3().Command4_Click(); }},
      {"timer",
       [](AppFixture& f) {
         f.clock.now += 10'000;
         f.form1().Timer1_Timer();
       }},
      {"threshold",
       [](AppFixture& f) {
         f.form1().UpdateDisplay();
         f.form1().UpdateDisplay();
       }},
  };
  return paths;
}

TEST(PassPaths, TheExclusionsHoldOnEveryPath) {
  std::vector<Path> paths = InteractivePaths();
  paths.push_back({"/a", [](AppFixture& f) { EXPECT_THROW(f.Start("/a"), ProcessEnded); }});
  paths.push_back(
      {"/clean", [](AppFixture& f) { EXPECT_THROW(f.Start("/clean WorkingSets"), ProcessEnded); }});
  for (const Path& path : paths) {
    SCOPED_TRACE(path.name);
    AppFixture f;
    Prepare(f);
    if (path.name[0] != '/') f.Start();
    const int listingsBefore = f.machine.listings;
    path.run(f);
    EXPECT_GT(f.machine.listings, listingsBefore);  // the path ran a pass
    EXPECT_EQ(std::count(f.machine.opened.begin(), f.machine.opened.end(), 400u), 0);
    EXPECT_EQ(f.machine.Find(400)->workingSetPages, 1000u);
    EXPECT_EQ(f.machine.Find(1234)->workingSetPages, 0u);
  }
}

TEST(PassPaths, APassAskedForDuringAnotherDoesNothingAndReportsNothing) {
  std::vector<Path> paths = InteractivePaths();
  paths.push_back({"Optimize2", [](AppFixture& f) { f.form1().Command8_Click(); }});
  for (const bool deepPass : {false, true}) {
    for (const Path& path : paths) {
      SCOPED_TRACE(std::string(path.name) + (deepPass ? " during the deep pass" : " during a pass"));
      AppFixture f;
      Prepare(f);
      f.Start();
      int listingsAtAsk = -1;
      int listingsAfterAsk = -1;
      std::size_t notificationsAtAsk = 0;
      std::size_t notificationsAfterAsk = 0;
      f.pump.onDoEvents = [&] {
        if (listingsAtAsk >= 0 || (deepPass && !f.form1().Optimization().DeepPassRunning())) return;
        listingsAtAsk = f.machine.listings;
        notificationsAtAsk = static_cast<std::size_t>(f.form1().Status.UpperBound());
        path.run(f);
        listingsAfterAsk = f.machine.listings;
        notificationsAfterAsk = static_cast<std::size_t>(f.form1().Status.UpperBound());
      };
      if (deepPass) {
        f.memory.loadSource = [n = 0]() mutable { return ++n > 40 ? 96u : 45u; };
        EXPECT_THROW(f.form1().Command8_Click(), ProcessEnded);  // its restart
        EXPECT_EQ(f.launcher.started.size(), 1u);
      } else {
        f.form1().Command1_Click();
        EXPECT_TRUE(f.launcher.started.empty());  // no deep pass inside the standard one
      }
      ASSERT_GE(listingsAtAsk, 0);
      EXPECT_EQ(listingsAfterAsk, listingsAtAsk);
      EXPECT_EQ(notificationsAfterAsk, notificationsAtAsk);
      EXPECT_TRUE(f.dialogs.shown.empty());
    }
  }
}

TEST(PassPaths, ClosingDuringALongRequestWaitsForItFirst) {
  AppFixture f;
  f.Start();
  int waitsBeforeEnd = -1;
  f.machine.onRequest = [&](fakes::Request) {
    if (waitsBeforeEnd < 0) waitsBeforeEnd = 0;
  };
  f.pump.onDoEvents = [&] {
    if (waitsBeforeEnd == 0) f.form1().Unload(ui::CloseReason::User);
  };
  EXPECT_THROW(f.form1().Command1_Click(), ProcessEnded);
  EXPECT_EQ(f.pump.longCallWaits, 1);
}

}  // namespace
}  // namespace pravelo
