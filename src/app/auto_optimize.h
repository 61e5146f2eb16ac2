// The automatic optimization: the timer's schedule from "Interval" and "AutoOptimize", and
// the pass the load threshold asks for, judged by what it freed.
#pragma once

#include "app/optimize_command.h"
#include "display/auto_schedule.h"
#include "memory/high_load_trigger.h"
#include "settings/automation_settings.h"
#include "ui/controls.h"

namespace pravelo::app {

class AutoOptimize {
 public:
  AutoOptimize(Platform& platform, settings::SettingsStore& store, OptimizeCommand& command);

  // "AutoOptimize", now: at start-up and after a save.
  void ReadSwitch();
  bool On() const { return on_; }
  // Sets `timer` from "Interval", now; a long interval is also kept in its tag.
  void Arm(ui::Timer& timer);
  // One tick of `timer`: the pass when one is due, and the time to the next tick.
  void Tick(ui::Timer& timer);
  // The load threshold and its cooldown, from the automation settings.
  void Configure(const settings::AutomationSettings& automation);
  // After each refresh: the pass the threshold asks for, if any.
  void OnRefresh(int load);

 private:
  Platform& platform_;
  settings::SettingsStore& store_;
  OptimizeCommand& command_;
  display::AutoOptimizeSchedule schedule_;
  memory::HighLoadTrigger highLoad_;
  bool on_ = false;
};

}  // namespace pravelo::app
