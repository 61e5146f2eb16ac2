#include <gtest/gtest.h>

#include <optional>

#include "memory/high_load_trigger.h"

namespace pravelo::memory {
namespace {

constexpr uint64_t kSecond = 1000;
constexpr uint64_t kMinute = 60 * kSecond;

// Refreshes at `load` every 170 ms from `now` until one asks for a pass; the time it did,
// or nothing within `limit`.
std::optional<uint64_t> FirstDue(HighLoadTrigger& trigger, int load, uint64_t& now, uint64_t limit) {
  for (const uint64_t end = now + limit; now <= end; now += 170) {
    if (trigger.OnRefresh(load, now)) return now;
  }
  return std::nullopt;
}

TEST(HighLoadTrigger, TwoRefreshesInARowAtOrAboveTheThreshold) {
  struct Case {
    const char* name;
    std::vector<int> loads;
    std::vector<bool> due;
  };
  const Case cases[] = {
      {"one high refresh is not enough", {80, 50, 80, 50}, {false, false, false, false}},
      {"the second in a row", {79, 80, 80, 90}, {false, false, true, false}},
      {"at the threshold counts", {80, 80}, {false, true}},
      {"a low refresh breaks the streak", {90, 79, 90, 90}, {false, false, false, true}},
  };
  for (const Case& c : cases) {
    HighLoadTrigger trigger;
    trigger.Configure(80, kMinute);
    uint64_t now = 0;
    for (std::size_t i = 0; i < c.loads.size(); ++i, now += 170) {
      EXPECT_EQ(trigger.OnRefresh(c.loads[i], now), c.due[i]) << c.name << ", refresh " << i;
    }
  }
}

TEST(HighLoadTrigger, OffAtZeroAndSilentUntilThePassIsDone) {
  HighLoadTrigger off;
  off.Configure(0, kMinute);
  uint64_t now = 0;
  EXPECT_EQ(FirstDue(off, 100, now, 10 * kMinute), std::nullopt);

  HighLoadTrigger trigger;
  trigger.Configure(50, kMinute);
  now = 0;
  ASSERT_TRUE(FirstDue(trigger, 90, now, kSecond));
  // The refreshes that run during the pass do not ask again, however long it takes.
  uint64_t during = now + 1;
  EXPECT_EQ(FirstDue(trigger, 90, during, 5 * kMinute), std::nullopt);
}

TEST(HighLoadTrigger, AtMostOncePerCooldownCountedFromTheEndOfThePass) {
  HighLoadTrigger trigger;
  trigger.Configure(50, kMinute);
  uint64_t now = 0;
  ASSERT_TRUE(FirstDue(trigger, 90, now, kSecond));
  now += 5 * kSecond;  // a slow pass
  const uint64_t passEnd = now;
  trigger.PassDone(0.05, passEnd);
  const std::optional<uint64_t> next = FirstDue(trigger, 90, now, 2 * kMinute);
  ASSERT_TRUE(next);
  EXPECT_GE(*next, passEnd + kMinute);
  EXPECT_LT(*next, passEnd + kMinute + kSecond);
}

TEST(HighLoadTrigger, BackOffDoublesWhilePassesAreInVainUpToHalfAnHour) {
  HighLoadTrigger trigger;
  trigger.Configure(50, kMinute);
  uint64_t now = 0;
  // In vain: 0.5 %, nothing, even less than before. Then one worth it resets the cooldown.
  const struct {
    std::optional<double> freed;
    uint64_t cooldown;
  } passes[] = {
      {0.005, 2 * kMinute},        {0.0, 4 * kMinute},  {-0.01, 8 * kMinute}, {0.0, 16 * kMinute},
      {0.0, 30 * kMinute},         {0.0, 30 * kMinute}, {0.01, kMinute},      {0.002, 2 * kMinute},
      {std::nullopt, 2 * kMinute},  // the pass did not run: nothing learned
  };
  for (const auto& pass : passes) {
    const std::optional<uint64_t> due = FirstDue(trigger, 90, now, 31 * kMinute);
    ASSERT_TRUE(due);
    trigger.PassDone(pass.freed, now);
    EXPECT_EQ(trigger.CooldownMs(), pass.cooldown);
    // Nothing before the cooldown is over.
    uint64_t probe = now;
    const std::optional<uint64_t> next = FirstDue(trigger, 90, probe, pass.cooldown - 1);
    EXPECT_EQ(next, std::nullopt);
  }
}

TEST(HighLoadTrigger, ABaseAboveTheCapIsNotShortened) {
  HighLoadTrigger trigger;
  trigger.Configure(50, 60 * kMinute);
  uint64_t now = 0;
  ASSERT_TRUE(FirstDue(trigger, 90, now, kSecond));
  trigger.PassDone(0.0, now);
  EXPECT_EQ(trigger.CooldownMs(), 60 * kMinute);
}

TEST(HighLoadTrigger, FreedShareOfTheInstalledMemory) {
  EXPECT_EQ(HighLoadTrigger::FreedShare(80, 8000), 0.01);
  EXPECT_EQ(HighLoadTrigger::FreedShare(-80, 8000), -0.01);
  EXPECT_EQ(HighLoadTrigger::FreedShare(80, std::nullopt), std::nullopt);
  EXPECT_EQ(HighLoadTrigger::FreedShare(80, 0), std::nullopt);
  EXPECT_EQ(HighLoadTrigger::FreedShare(std::nullopt, 8000), std::nullopt);
}

}  // namespace
}  // namespace pravelo::memory
