#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>

#include "ui_test_support.h"

namespace pravelo::ui::testing {
namespace {

using std::chrono::milliseconds;

TEST(TimerBinding, TicksWhileRunningAndStopsWhenDisabledOrItsFormUnloads) {
  BoundTestForm bound;
  Timer& timer = bound.form.timer;
  int ticks = 0;
  timer.onTimer = [&] { ++ticks; };
  timer.SetInterval(50);
  bound.form.Load();
  PumpFor(bound.pump, milliseconds(300));
  EXPECT_EQ(ticks, 0) << "disabled at design";

  timer.SetEnabled(true);
  EXPECT_TRUE(PumpUntil(
      bound.pump, [&] { return ticks >= 3; }, milliseconds(2000)));

  timer.SetEnabled(false);
  bound.pump.DoEvents();  // a tick that was already queued is dropped, not fired
  ticks = 0;
  PumpFor(bound.pump, milliseconds(300));
  EXPECT_EQ(ticks, 0);

  timer.SetEnabled(true);
  timer.SetInterval(0);
  PumpFor(bound.pump, milliseconds(300));
  EXPECT_EQ(ticks, 0) << "interval 0 gives no ticks";

  // Running while the form is unloaded: no window, no ticks; loading starts it again.
  timer.SetInterval(50);
  bound.form.Unload();
  ASSERT_TRUE(timer.Running());
  PumpFor(bound.pump, milliseconds(300));
  EXPECT_EQ(ticks, 0);
  bound.form.Load();
  EXPECT_TRUE(PumpUntil(
      bound.pump, [&] { return ticks >= 1; }, milliseconds(2000)));
}

TEST(TimerBinding, ResetStartsTheCountdownAgain) {
  BoundTestForm bound;
  Timer& timer = bound.form.timer;
  int ticks = 0;
  timer.onTimer = [&] { ++ticks; };
  bound.form.Load();
  timer.SetInterval(400);
  timer.SetEnabled(true);
  // Restarted every 100 ms, a 400 ms timer never comes due.
  for (int i = 0; i < 8; ++i) {
    PumpFor(bound.pump, milliseconds(100));
    timer.SetInterval(400);
  }
  EXPECT_EQ(ticks, 0);
  EXPECT_TRUE(PumpUntil(
      bound.pump, [&] { return ticks == 1; }, milliseconds(2000)));
}

TEST(TimerBinding, ArrayTimersTickWithTheirIndexAndMayUnloadThemselves) {
  BoundTestForm bound;
  bound.form.Load();
  std::vector<int> fired;
  bound.form.noteTimers.Load(3);
  Timer& element = bound.form.noteTimers[3];
  element.onTimer = [&] {
    fired.push_back(3);
    bound.form.noteTimers.Unload(3);
  };
  element.SetInterval(50);
  element.SetEnabled(true);
  EXPECT_TRUE(PumpUntil(
      bound.pump, [&] { return !fired.empty(); }, milliseconds(2000)));
  PumpFor(bound.pump, milliseconds(200));
  EXPECT_EQ(fired, std::vector<int>{3});
  EXPECT_FALSE(bound.form.noteTimers.Contains(3));
}

}  // namespace
}  // namespace pravelo::ui::testing
