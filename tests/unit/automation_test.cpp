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

int Passes(AppFixture& f) { return f.machine.listings; }

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
  // Far less than one percent of the memory freed: the back-off doubles the wait to two minutes.
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

TEST(HighLoadAutomation, APurgeOfTheStandbyListCountsWhatItPurged) {
  AppFixture f;
  SetAutomation(f, "Threshold", "40");
  SetAutomation(f, "Cooldown", "60");
  f.registry.SetString(RegistryRoot::CurrentUser, fakes::kAreasKey, "Automatic", "StandbyList");
  f.SetSetting("AutoOptimize", "0");
  // 2 % of the 4 GiB on standby; the available memory, which counts it, does not move.
  f.machine.lists.standbyPagesByPriority = {21'000};
  const auto purges = [&] {
    return std::count(f.machine.requests.begin(), f.machine.requests.end(), fakes::Request::PurgeStandby);
  };
  f.Start();
  f.timers.Advance(170);
  EXPECT_EQ(purges(), 1);
  // Worth its while: the next pass comes after the plain cooldown, not a doubled one.
  f.timers.Advance(61'000);
  EXPECT_EQ(purges(), 2);
}

TEST(HighLoadAutomation, OffByDefaultAndTheExclusionsReachThePass) {
  AppFixture f;
  f.machine.Find(400)->imageName = "Game.exe";
  SetAutomation(f, "Exclusions", "game.exe");
  f.memory.load = 99;
  f.Start();
  f.timers.Advance(5'000);
  EXPECT_EQ(Passes(f), 0);
  EXPECT_EQ(f.registry.Read(RegistryRoot::CurrentUser, kAutomationKey, "Threshold"), "0");

  f.form1().Command1_Click();
  EXPECT_EQ(f.machine.opened, (std::vector<uint32_t>{4, 1234}));  // never 400
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
#ifndef PRAVELO_TEST_HOOKS
  GTEST_SKIP() << "a build without the test hooks has no pass delay";
#endif
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
  // Once after each of the four processes, once between the areas, and before and after
  // the file cache's request, which leaves the window's thread.
  EXPECT_EQ(f.pump.doEvents, 7);
  EXPECT_EQ(f.pump.longCalls, 1);
  // 500 ms of pauses: the 170 ms refresh drew twice during the pass, and once after it.
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
#ifndef PRAVELO_TEST_HOOKS
  GTEST_SKIP() << "a build without the test hooks has no pass delay";
#endif
  f.environment.variables["PRAVELO_TEST_PASS_DELAY_MS"] = "1500";
  f.Start();
  f.pump.onDoEvents = [&] { f.timers.Advance(0); };
  f.timers.Advance(2'000);
  // Four processes at 1.5 s each: two more ticks came due during the first pass.
  EXPECT_EQ(Passes(f), 1);
  // Once it is over, the timer's passes come again.
  f.pump.onDoEvents = nullptr;
  f.timers.Advance(20'000);
  EXPECT_GT(Passes(f), 1);
}

TEST(AutomationWindow, OpensFromTheOptionsWindowAndShowsWhatIsInForce) {
  AppFixture f;
  SetAutomation(f, "Cooldown", "soon");  // edited by hand: shown as its default
  SetAutomation(f, "Exclusions", "game.exe; x.exe");
  f.Start();
  EXPECT_EQ(f.form2().Command4.Text(), "Automation...");
  f.form2().Command4.Click();
  ASSERT_EQ(f.automationPeer.modalOwners.size(), 1u);
  EXPECT_EQ(f.automationPeer.modalOwners[0], &f.form2());
  settings::AutomationWindow& w = f.automation();
  EXPECT_EQ(w.Text(), "Automation");
  EXPECT_EQ(w.Check1.Value(), 0);
  EXPECT_FALSE(w.Text1.Enabled());
  EXPECT_EQ(w.Text2.Text(), "60");
  EXPECT_EQ(w.Text3.Text(), "");
  EXPECT_EQ(w.Text4.Text(), "game.exe; x.exe");
  EXPECT_EQ(w.Label4.Text(),
            "The deep optimization pushes every program out of memory; it cannot leave these out.");
}

TEST(AutomationWindow, RefusedInputGetsAMessageAndNothingIsSaved) {
  struct Case {
    bool thresholdOn;
    const char* threshold;
    const char* cooldown;
    const char* hotkey;
    const char* exclusions;
    const char* message;
  };
  const Case cases[] = {
      {true, "0", "60", "", "", "The load must be a whole number from 1 to 99. Nothing was saved."},
      {true, "100", "60", "", "", "The load must be a whole number from 1 to 99. Nothing was saved."},
      {true, "80", "a minute", "", "",
       "The wait must be a whole number of seconds from 1 to 86400. Nothing was saved."},
      {true, "80", "60", "P", "", nullptr},
      {true, "80", "60", "", "game.exe;;x.exe", nullptr},
  };
  for (const Case& c : cases) {
    AppFixture f;
    f.Start();
    settings::AutomationWindow& w = f.automation();
    f.form2().Command4.Click();
    const int writes = f.registry.writes;
    w.Check1.SetValue(c.thresholdOn ? 1 : 0);
    w.Text1.SetText(c.threshold);
    w.Text2.SetText(c.cooldown);
    w.Text3.SetText(c.hotkey);
    w.Text4.SetText(c.exclusions);
    w.Command1.Click();
    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    if (c.message) {
      EXPECT_EQ(f.dialogs.shown[0].text, c.message);
    }
    EXPECT_NE(f.dialogs.shown[0].text.find("Nothing was saved."), std::string::npos);
    EXPECT_EQ(f.dialogs.shown[0].style, 48u);
    EXPECT_EQ(f.registry.writes, writes) << c.threshold << c.cooldown << c.hotkey << c.exclusions;
    EXPECT_TRUE(w.Loaded());  // still open, to mend the value
  }
}

TEST(AutomationWindow, SaveStoresAppliesAndCloses) {
  AppFixture f;
  FakeHotkeyPeer peer;
  f.form1().hotkey.Attach(&peer);
  f.Start();
  settings::AutomationWindow& w = f.automation();
  f.form2().Command4.Click();
  w.Check1.Click();
  EXPECT_TRUE(w.Text1.Enabled());
  w.Text1.SetText("40");
  w.Text2.SetText("30");
  w.Text3.SetText("ctrl+shift+f5");
  w.Text4.SetText("Game.exe");
  w.Command1.Click();

  ASSERT_EQ(f.dialogs.shown.size(), 1u);
  EXPECT_EQ(f.dialogs.shown[0].text, "Saved");
  EXPECT_FALSE(w.Loaded());
  EXPECT_EQ(f.registry.Read(RegistryRoot::CurrentUser, kAutomationKey, "Threshold"), "40");
  EXPECT_EQ(f.registry.Read(RegistryRoot::CurrentUser, kAutomationKey, "Hotkey"), "Ctrl+Shift+F5");
  EXPECT_EQ(peer.registered, (settings::Hotkey{settings::kModControl | settings::kModShift, 0x74}));
  // In force at once: the machine at 45 % now passes the threshold.
  f.timers.Advance(400);
  EXPECT_EQ(Passes(f), 1);
  EXPECT_EQ(f.registry.CountUnder(RegistryRoot::CurrentUser, fakes::kSettingsKey), 7u);
}

TEST(AutomationWindow, AHotkeyHeldElsewhereIsSavedAndSaidSo) {
  AppFixture f;
  FakeHotkeyPeer peer;
  peer.heldElsewhere = true;
  f.form1().hotkey.Attach(&peer);
  f.Start();
  f.form2().Command4.Click();
  f.automation().Text3.SetText("Ctrl+Alt+O");
  f.automation().Command1.Click();
  ASSERT_EQ(f.dialogs.shown.size(), 1u);
  EXPECT_EQ(f.dialogs.shown[0].text, "Saved\r\nAnother program holds this hotkey: Ctrl+Alt+O");
}

}  // namespace
}  // namespace pravelo
