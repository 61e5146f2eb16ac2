#include "app/form1.h"
#include "base/numeric.h"

namespace pravelo::app {
namespace {

constexpr double kLongIntervalSeconds = 10;

}  // namespace

void Form1::Timer1_Timer() {
  const uint64_t now = platform().clock.NowMs();
  if (schedule_.TakeDue(now) && AutoOptimizeOn) OptimizeMemory(settings::kAutomaticAreas);
  if (schedule_.Active()) Timer1.SetInterval(schedule_.NextTickMs(now));
  // The icon canvas keeps what is drawn on it at all times; nothing to make persistent.
  UpdateDisplay();
}

void Form1::ArmAutoOptimize() {
  const std::string text = store_.Read(settings::kInterval);
  const double seconds = NumericValue(text);
  if (seconds > kLongIntervalSeconds) Timer1.SetTag(text);
  schedule_.Arm(seconds, platform().clock.NowMs());
  Timer1.SetInterval(schedule_.NextTickMs(platform().clock.NowMs()));
}

void Form1::ReadAutoOptimizeSwitch() { AutoOptimizeOn = NumericValue(store_.Read(settings::kAutoOptimize)) != 0; }

}  // namespace pravelo::app
