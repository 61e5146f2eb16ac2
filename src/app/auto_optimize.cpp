#include "app/auto_optimize.h"

#include "base/numeric.h"

namespace pravelo::app {
namespace {

constexpr double kLongIntervalSeconds = 10;
constexpr uint64_t kMsPerSecond = 1000;

}  // namespace

AutoOptimize::AutoOptimize(Platform& platform, settings::SettingsStore& store, OptimizeCommand& command)
    : platform_(platform), store_(store), command_(command) {}

void AutoOptimize::ReadSwitch() { on_ = NumericValue(store_.Read(settings::kAutoOptimize)) != 0; }

void AutoOptimize::Arm(ui::Timer& timer) {
  const std::string text = store_.Read(settings::kInterval);
  const double seconds = NumericValue(text);
  if (seconds > kLongIntervalSeconds) timer.SetTag(text);
  const uint64_t now = platform_.clock.NowMs();
  schedule_.Arm(seconds, now);
  timer.SetInterval(schedule_.NextTickMs(now));
}

void AutoOptimize::Tick(ui::Timer& timer) {
  const uint64_t now = platform_.clock.NowMs();
  if (schedule_.TakeDue(now) && on_) command_.Optimize(PassTrigger::Automatic);
  if (schedule_.Active()) timer.SetInterval(schedule_.NextTickMs(now));
}

void AutoOptimize::Configure(const settings::AutomationSettings& automation) {
  highLoad_.Configure(automation.thresholdPercent, automation.cooldownSeconds * kMsPerSecond);
}

void AutoOptimize::OnRefresh(int load) {
  Clock& clock = platform_.clock;
  if (!highLoad_.OnRefresh(load, clock.NowMs())) return;
  // Judged by what the areas' own counters freed: purged standby pages, for one, were
  // available before the pass already.
  const bool ran = command_.Optimize(PassTrigger::Automatic);
  highLoad_.PassDone(ran ? command_.LastFreedShare() : std::nullopt, clock.NowMs());
}

}  // namespace pravelo::app
