// What every Optimize command decides: the areas a trigger runs, the one gate that refuses a
// second run of anything, the report of a manual pass and the deep pass's hand-over to a
// new instance.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/exclusive_run.h"
#include "memory/deep_pass.h"
#include "memory/optimizer.h"
#include "platform/platform.h"
#include "settings/settings_store.h"
#include "settings/string_table.h"

namespace pravelo::app {

inline constexpr std::string_view kDeepFillLimitVariable = "PRAVELO_DEEP_FILL_LIMIT_MB";
#ifdef PRAVELO_TEST_HOOKS
inline constexpr std::string_view kPassDelayVariable = "PRAVELO_TEST_PASS_DELAY_MS";
#endif

// Who asked: the commands run the manual areas, the timer and the load threshold the
// automatic ones.
enum class PassTrigger { Manual, Automatic };

class OptimizeCommand {
 public:
  // `makeDeepPassBlock` is empty for real allocations.
  OptimizeCommand(Platform& platform, settings::SettingsStore& store,
                  memory::DeepPass::BlockMaker makeDeepPassBlock);

  // Held by a pass, the deep pass, a tray callback and the update check.
  base::ExclusiveRun& Gate() { return gate_; }
  memory::Optimizer& Optimizer() { return optimizer_; }
  // z18 and z17: the refresh estimates z18 between passes; a pass measures both.
  memory::PassFigures& Figures() { return figures_; }
  bool CanOptimize() const { return !gate_.Running(); }
  bool DeepPassRunning() const { return deepPass_.Running(); }
  // The variables that cap the deep pass's fill and slow passes down for tests, read once
  // at start-up.
  void ReadEnvironment();

  // OptimizeMemory: whether the pass ran.
  bool Optimize(PassTrigger trigger);
  // A manual pass, system.ini's "vcache" section removed, and the report to show; nothing
  // when no pass ran.
  std::optional<std::string> OptimizeAndReport(settings::StringTable& strings);
  // The areas given, once, whatever the settings say ("/clean").
  std::vector<memory::AreaResult> RunAreas(memory::AreaSet areas);
  // The share of the installed memory the last pass freed on its areas' counters.
  std::optional<double> LastFreedShare();

  // The deep pass; `hold` returns after the hold time with messages flowing. Whether it ran.
  bool DeepOptimize(const std::function<void()>& hold);
  // The command line that starts a new instance to report the deep pass: the figure
  // before it, in whole MB.
  std::string ReportingRestart(int32_t availableMbBefore) const;

 private:
  Platform& platform_;
  settings::SettingsStore& store_;
  base::ExclusiveRun gate_;
  memory::Optimizer optimizer_;
  memory::DeepPass deepPass_;
  memory::PassFigures figures_;
  memory::RunOptions runOptions_;
};

}  // namespace pravelo::app
