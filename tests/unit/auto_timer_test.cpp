#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/auto_optimize.h"
#include "display/auto_schedule.h"
#include "fakes/app_fixture.h"

namespace pravelo {
namespace {

using fakes::AppFixture;

// The automatic optimization alone, on the timer it sets, armed from the settings.
struct Automatic : fakes::FakePlatform {
  Automatic(std::string_view autoOptimize, std::string_view interval) {
    machine.processes = {{400, "400.exe", 1000}};
    store.Write(settings::kAutoOptimize, autoOptimize);
    store.Write(settings::kInterval, interval);
    automatic.ReadSwitch();
    automatic.Arm(timer);
    timer.onTimer = [this] { automatic.Tick(timer); };
    timers.Watch(timer);
  }
  settings::SettingsStore store{registry};
  app::OptimizeCommand command{platform, store, {}};
  app::AutoOptimize automatic{platform, store, command};
  ui::Timer timer{0, true};
};

// Times (ms after the start) at which the standard pass ran during `spanMs`.
template <class Fixture>
std::vector<uint64_t> PassTimes(Fixture& f, uint64_t spanMs) {
  const uint64_t start = f.clock.now;
  std::vector<uint64_t> times;
  int passes = f.machine.listings;
  for (uint64_t elapsed = 0; elapsed < spanMs; elapsed += 100) {
    f.timers.Advance(100);
    const int now = f.machine.listings;
    if (now != passes) times.push_back(f.clock.now - start);
    passes = now;
  }
  return times;
}

TEST(AutoOptimize, RunsEveryIntervalSeconds) {
  struct Case {
    const char* interval;
    uint64_t everyMs;  // 0: never
  };
  const Case cases[] = {{"0", 0},         {"1", 1000},      {"5", 5000},      {"7.5", 7500},
                        {"10", 10000},    {"15", 15000},    {"35", 35000},    {"50", 50000},
                        {"-5", 0},        {"often", 0},     {"120", 120000}};
  for (const Case& c : cases) {
    Automatic f("1", c.interval);
    EXPECT_EQ(f.timer.Tag().empty(), c.everyMs <= 10000) << c.interval;  // a long interval is kept in the tag
    const std::vector<uint64_t> times = PassTimes(f, 250000);
    if (c.everyMs == 0) {
      EXPECT_TRUE(times.empty()) << c.interval;
      continue;
    }
    ASSERT_EQ(times.size(), 250000 / c.everyMs) << c.interval;
    for (std::size_t i = 0; i < times.size(); ++i) {
      // The pass runs on the 100 ms step in which it came due.
      EXPECT_NEAR(static_cast<double>(times[i]), static_cast<double>((i + 1) * c.everyMs), 100) << c.interval;
    }
  }
}

TEST(AutoOptimize, LongIntervalsStillTickEveryTenSecondsAndRefresh) {
  AppFixture f;
  f.SetSetting("Interval", "50");
  f.Start();
  EXPECT_EQ(f.form1().Timer1.Interval(), 10000);
  f.form1().Timer2.SetEnabled(false);  // only the automatic timer refreshes now
  const std::size_t before = f.graph.calls.size();
  f.timers.Advance(30000);
  EXPECT_EQ(f.graph.calls.size(), before + 3);
}

TEST(AutoOptimize, SwitchedOffNeverRunsThePass) {
  Automatic f("0", "5");
  EXPECT_TRUE(PassTimes(f, 60000).empty());
  f.automatic.Tick(f.timer);  // the direct tick of the move to the tray
  EXPECT_EQ(f.machine.listings, 0);
}

TEST(AutoOptimize, TheMoveToTrayTickOptimizesOnlyWhenDue) {
  AppFixture f;
  f.SetSetting("Interval", "30");
  f.Start();
  f.timers.Advance(10000);
  f.form1().Command2_Click();
  EXPECT_EQ(f.machine.listings, 0);
  f.timers.Advance(19000);
  EXPECT_EQ(f.machine.listings, 0);
  f.timers.Advance(1000);
  EXPECT_EQ(f.machine.listings, 1);
}

TEST(AutoSchedule, ArmTakeAndNextTick) {
  display::AutoOptimizeSchedule schedule;
  schedule.Arm(15, 0);
  EXPECT_EQ(schedule.NextTickMs(0), 10000);
  EXPECT_FALSE(schedule.TakeDue(10000));
  EXPECT_EQ(schedule.NextTickMs(10000), 5000);
  EXPECT_TRUE(schedule.TakeDue(14990));  // a timer a little early counts
  EXPECT_EQ(schedule.NextTickMs(14990), 10000);
  EXPECT_FALSE(schedule.TakeDue(20000));
  // A long stall (a blocked thread, a sleeping machine) starts afresh instead of catching up.
  EXPECT_TRUE(schedule.TakeDue(500000));
  EXPECT_FALSE(schedule.TakeDue(500100));
  EXPECT_EQ(schedule.NextTickMs(500000), 10000);
}

TEST(AutoSchedule, IntervalsThatScheduleNothingOrAlmostNothing) {
  display::AutoOptimizeSchedule schedule;
  for (double seconds : {0.0, -1.0, std::nan("")}) {
    schedule.Arm(seconds, 0);
    EXPECT_FALSE(schedule.Active()) << seconds;
    EXPECT_EQ(schedule.NextTickMs(0), 0);
    EXPECT_FALSE(schedule.TakeDue(1u << 30));
  }
  schedule.Arm(std::numeric_limits<double>::infinity(), 0);
  EXPECT_TRUE(schedule.Active());
  EXPECT_EQ(schedule.NextTickMs(0), 10000);
  EXPECT_FALSE(schedule.TakeDue(uint64_t{1} << 62));
  schedule.Arm(0.0001, 0);  // positive: runs, at the smallest step
  EXPECT_EQ(schedule.NextTickMs(0), 1);
}

}  // namespace
}  // namespace pravelo
