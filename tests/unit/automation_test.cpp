#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/app_fixture.h"
#include "settings/hotkey_text.h"

namespace pravelo {
namespace {

using fakes::AppFixture;
using fakes::ProcessEnded;

constexpr std::string_view kAutomationKey = "Software\\zEVID\\PraveloAutomation";

class FakeHotkeyPeer final : public ui::GlobalHotkeyPeer {
 public:
  bool Register(uint32_t modifiers, uint32_t virtualKey) override {
    registered = {modifiers, virtualKey};
    return !heldElsewhere;
  }
  void Unregister() override { registered.reset(); }
  bool heldElsewhere = false;
  std::optional<settings::Hotkey> registered;
};

std::string ShownNotification(AppFixture& f) {
  const int top = f.form1().Status.UpperBound();
  return top == 0 ? std::string() : f.form1().Status[top].Text();
}

void SetAutomation(AppFixture& f, std::string_view name, std::string_view value) {
  f.registry.SetString(RegistryRoot::CurrentUser, kAutomationKey, name, value);
}

int Passes(AppFixture& f) { return f.processes.CountOf("WTSEnumerateProcesses"); }

std::size_t GraphLines(AppFixture& f) {
  return static_cast<std::size_t>(std::count_if(f.graph.calls.begin(), f.graph.calls.end(),
                                                [](const auto& call) { return call.what == "line"; }));
}

TEST(HighLoadAutomation, TwoHighRefreshesRunAPassThenNothingUntilTheCooldownEnds) {
  AppFixture f;
  SetAutomation(f, "Threshold", "40");  // the fixture's machine sits at 45 %
  SetAutomation(f, "Cooldown", "60");
  f.SetSetting("AutoOptimize", "0");
  f.Start();  // the first refresh counts once
  EXPECT_EQ(Passes(f), 0);
  f.timers.Advance(170);
  EXPECT_EQ(Passes(f), 1);
  // Nothing freed under the fakes: the back-off doubles the wait to two minutes.
  f.timers.Advance(119'000);
  EXPECT_EQ(Passes(f), 1);
  f.timers.Advance(2'000);
  EXPECT_EQ(Passes(f), 2);

  // Below the threshold nothing runs, however long.
  f.memory.load = 39;
  f.timers.Advance(10 * 60'000);
  EXPECT_EQ(Passes(f), 2);
  // The interval timer is not touched by any of it.
  EXPECT_EQ(f.form1().Timer1.Interval(), 10'000);
}

TEST(HighLoadAutomation, OffByDefaultAndTheExclusionsReachThePass) {
  AppFixture f;
  f.processes.imageNames = {{400, "Game.exe"}};
  SetAutomation(f, "Exclusions", "game.exe");
  f.memory.load = 99;
  f.Start();
  f.timers.Advance(5'000);
  EXPECT_EQ(Passes(f), 0);
  EXPECT_EQ(f.registry.Read(RegistryRoot::CurrentUser, kAutomationKey, "Threshold"), "0");

  f.form1().Command1_Click();
  EXPECT_EQ(f.processes.CountOf("OpenProcess"), 3);  // 0, 4 and 1234, never 400
  EXPECT_EQ(std::count(f.processes.calls.begin(), f.processes.calls.end(), "OpenProcess(0x1f0fff, 0, 400)"),
            0);
}

TEST(Hotkey, RegisteredFromTheSettingsAndPressedItOptimizesWithTheReport) {
  AppFixture f;
  FakeHotkeyPeer peer;
  f.form1().hotkey.Attach(&peer);
  SetAutomation(f, "Hotkey", "Ctrl+Alt+O");
  f.Start();
  ASSERT_TRUE(peer.registered);
  EXPECT_EQ(*peer.registered, (settings::Hotkey{settings::kModControl | settings::kModAlt, 'O'}));
  EXPECT_EQ(ShownNotification(f), "");

  f.form1().hotkey.Press();
  EXPECT_EQ(Passes(f), 1);
  EXPECT_EQ(ShownNotification(f).rfind("Optimized.", 0), 0u);

  // Switched off again: the combination is given back.
  SetAutomation(f, "Hotkey", "");
  EXPECT_TRUE(f.form1().ApplyAutomation());
  EXPECT_FALSE(peer.registered);
}

TEST(Hotkey, HeldByAnotherProgramTheWindowSaysSo) {
  AppFixture f;
  FakeHotkeyPeer peer;
  peer.heldElsewhere = true;
  f.form1().hotkey.Attach(&peer);
  SetAutomation(f, "Hotkey", "alt+ctrl+o");
  f.Start();
  EXPECT_EQ(ShownNotification(f), "Another program holds this hotkey: Ctrl+Alt+O");
  EXPECT_FALSE(f.form1().ApplyAutomation());
}

TEST(PassYields, TheWindowWorksDuringThePassAndTheCallersStepsFollowIt) {
  AppFixture f;
  f.environment.variables["PRAVELO_TEST_PASS_DELAY_MS"] = "100";
  f.Start();
  const std::size_t linesBefore = GraphLines(f);
  int clicksDuringPass = 0;
  std::string reportDuringPass = "none";
  f.pump.onDoEvents = [&] {
    f.timers.Advance(0);  // the refresh ticks that came due while the process was trimmed
    if (clicksDuringPass++ == 0) {
      f.form1().Command1_Click();  // a second Optimize (or the hotkey) meanwhile
      f.form1().optiz_Click();     // and the tray menu's
      reportDuringPass = ShownNotification(f);
    }
  };
  f.form1().Command1_Click();
  f.pump.onDoEvents = nullptr;

  EXPECT_EQ(Passes(f), 1);
  EXPECT_EQ(reportDuringPass, "");  // the report comes after the pass, once
  EXPECT_EQ(ShownNotification(f).rfind("Optimized.", 0), 0u);
  EXPECT_EQ(f.pump.doEvents, 4);  // once after each of the four processes
  // 400 ms of pauses: the 170 ms refresh drew twice during the pass, and once after it.
  EXPECT_EQ(GraphLines(f) - linesBefore, 3u);
}

TEST(PassYields, ACloseOrShutdownDuringThePassStillEndsTheProgram) {
  for (const ui::CloseReason reason : {ui::CloseReason::User, ui::CloseReason::Shutdown}) {
    AppFixture f;
    f.Start();
    f.pump.onDoEvents = [&] { f.form1().Unload(reason); };
    EXPECT_THROW(f.form1().Command1_Click(), ProcessEnded);
    EXPECT_EQ(f.process.ended, 1);
    EXPECT_EQ(f.tray.Count(display::TrayOperation::Delete), 1u);
  }
}

TEST(PassYields, ASecondPassFromTheAutomaticTimerDuringOneDoesNothing) {
  AppFixture f;
  f.SetSetting("Interval", "1");  // a pass every two seconds
  f.environment.variables["PRAVELO_TEST_PASS_DELAY_MS"] = "1500";
  f.Start();
  f.pump.onDoEvents = [&] { f.timers.Advance(0); };
  f.timers.Advance(2'000);
  // Four processes at 1.5 s each: two more ticks came due during the first pass.
  EXPECT_EQ(Passes(f), 1);
  // Once it is over, the timer's passes come again.
  f.pump.onDoEvents = nullptr;
  f.environment.variables.erase("PRAVELO_TEST_PASS_DELAY_MS");
  f.timers.Advance(20'000);
  EXPECT_GT(Passes(f), 1);
}

}  // namespace
}  // namespace pravelo
