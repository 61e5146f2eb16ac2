#include "app/optimize_command.h"

#include "app/command_line.h"
#include "base/numeric.h"
#include "memory/high_load_trigger.h"
#include "memory/ini_section.h"
#include "memory/memory_status.h"
#include "settings/area_settings.h"
#include "settings/automation_settings.h"
#include "text_ids.h"

namespace pravelo::app {
namespace {

#ifdef PRAVELO_TEST_HOOKS
constexpr int32_t kLongestPassDelayMs = 10'000;
#endif
constexpr double kBytesPerMb = 1048576.0;

}  // namespace

OptimizeCommand::OptimizeCommand(Platform& platform, settings::SettingsStore& store,
                                 memory::DeepPass::BlockMaker makeDeepPassBlock)
    : platform_(platform),
      store_(store),
      optimizer_(platform.operations, platform.memory, platform.clock, gate_),
      deepPass_(platform.memory, gate_, std::move(makeDeepPassBlock)) {}

void OptimizeCommand::ReadEnvironment() {
  Platform& p = platform_;
  // A cap on the deep pass's fill, for trying it out on a machine one cares about.
  if (std::optional<std::string> cap = p.environment.Variable(kDeepFillLimitVariable)) {
    const double megabytes = NumericValue(*cap);
    if (megabytes > 0) deepPass_.SetFillLimitBytes(static_cast<uint64_t>(megabytes * kBytesPerMb));
  }
  runOptions_.yield = [&p] { p.pump.DoEvents(); };
#ifdef PRAVELO_TEST_HOOKS
  // A pause wherever the pass lets messages run, so that tests can watch a slow pass.
  const std::optional<std::string> delayText = p.environment.Variable(kPassDelayVariable);
  const int32_t delayMs = delayText ? WholeNumberIn(*delayText, 0, kLongestPassDelayMs).value_or(0) : 0;
  if (delayMs > 0) {
    runOptions_.yield = [&p, delayMs] {
      p.clock.SleepMs(static_cast<uint32_t>(delayMs));
      p.pump.DoEvents();
    };
  }
#endif
  runOptions_.runLong = [&p](const std::function<void()>& call) { p.pump.RunBesideMessages(call); };
}

bool OptimizeCommand::Optimize(PassTrigger trigger) {
  // Asked for from a message that a running pass or the deep pass let through.
  if (!CanOptimize()) return false;
  const settings::Setting& areas =
      trigger == PassTrigger::Manual ? settings::kManualAreas : settings::kAutomaticAreas;
  RunAreas(settings::ReadAreas(store_, areas));
  return true;
}

std::vector<memory::AreaResult> OptimizeCommand::RunAreas(memory::AreaSet areas) {
  // Read at every pass, so that every way to a pass, the start-up switches too, leaves
  // out the same programs.
  optimizer_.SetExclusions(settings::ReadAutomationSettings(store_).exclusions);
  memory::PassFigures figures = figures_;
  std::vector<memory::AreaResult> results = optimizer_.Run(areas, figures, runOptions_);
  // The refreshes during the pass estimated z18 anew; the pass's measured figures win.
  figures_ = figures;
  return results;
}

std::optional<std::string> OptimizeCommand::OptimizeAndReport(settings::StringTable& strings) {
  Platform& p = platform_;
  if (!CanOptimize()) return std::nullopt;
  // The figure before is measured, not the refresh's estimate from the whole-percent load,
  // which is off by up to one percent of the installed memory.
  const Currency before = memory::GetAvailableMemory(p.memory);
  if (!Optimize(PassTrigger::Manual)) return std::nullopt;
  memory::RemoveIniSection(p.files, p.environment.WindowsFolder() + "\\system.ini", "vcache");
  const Currency first = memory::GetAvailableMemory(p.memory);
  const Currency after = memory::GetAvailableMemory(p.memory);
  const std::string separator = p.environment.DecimalSeparator();
  return strings.Text(IDS_OPTIMIZED) + (first - before).ToText(separator) + "MB\r\n" +
         before.ToText(separator) + " MB -> " + after.ToText(separator) + " MB";
}

std::optional<double> OptimizeCommand::LastFreedShare() {
  return memory::HighLoadTrigger::FreedShare(memory::FreedBytes(optimizer_.LastResults()),
                                             platform_.memory.TotalPhysicalBytes());
}

bool OptimizeCommand::DeepOptimize(const std::function<void()>& hold) {
  Platform& p = platform_;
  return deepPass_.DeepOptimize([&p] { p.pump.DoEvents(); }, hold);
}

std::string OptimizeCommand::ReportingRestart(int32_t availableMbBefore) const {
  return QuoteForCommandLine(platform_.environment.ProgramPath()) + " /o " +
         std::to_string(availableMbBefore);
}

}  // namespace pravelo::app
