#include "app/startup_controller.h"

#include "app/ending_switches.h"
#include "base/numeric.h"
#include "memory/memory_status.h"
#include "settings/area_settings.h"
#include "settings/machine_values.h"
#include "text_ids.h"

namespace pravelo::app {

Startup::Startup(Platform& platform, settings::SettingsStore& store, settings::StringTable& strings,
                 OptimizeCommand& command)
    : platform_(platform), store_(store), strings_(strings), command_(command) {}

CommandLineSwitch Startup::Begin() {
  settings::ReadAreas(store_, settings::kManualAreas);
  settings::ReadAreas(store_, settings::kAutomaticAreas);
  // Both machine values are rewritten at every start; without the rights they are refused,
  // which changes nothing here.
  RegistryApi& registry = platform_.registry;
  registry.WriteDword(RegistryRoot::LocalMachine, settings::kMemoryManagementKey, settings::kLargeSystemCache,
                      1);
  registry.WriteDword(
      RegistryRoot::LocalMachine, settings::kMemoryManagementKey, settings::kDisablePagingExecutive,
      static_cast<uint32_t>(RoundHalfEven32(NumericValue(store_.Read(settings::kKernelMemoryUse)))));

  // "/clean" serves scripts: it ends here, before any window is shown.
  const CommandLineSwitch commandSwitch = ParseCommandLine(platform_.environment.CommandLine());
  if (commandSwitch.kind == SwitchKind::Clean) CleanOnce(platform_, command_, commandSwitch.argument);
  return commandSwitch;
}

void Startup::Act(const CommandLineSwitch& commandSwitch, StartupHost& host) {
  switch (commandSwitch.kind) {
    case SwitchKind::Optimize:
      host.OptimizeMemory();
      platform_.process.EndProcess();
    case SwitchKind::DeepOptimize:
      host.DeepOptimize();
      platform_.process.EndProcess();
    case SwitchKind::Tray:
      host.MoveToTray();
      break;
    case SwitchKind::ShowPath:
      host.ShowBox(platform_.environment.ProgramPathWithoutExtension());
      break;
    default:
      break;
  }
  host.ClearNotifications();
  if (commandSwitch.kind == SwitchKind::Report) {
    const std::string available =
        memory::GetAvailableMemory(platform_.memory).ToText(platform_.environment.DecimalSeparator());
    host.Notify(strings_.Text(IDS_OPTIMIZE2_COMPLETE) + "\r\n" + commandSwitch.argument + " MB ->" +
                available + " MB");
  }
  if (commandSwitch.kind == SwitchKind::QuickUpdate) QuickUpdate(platform_, commandSwitch.argument);
}

bool Startup::StartsInTray() { return ConvertsToTrue(store_.Read(settings::kTrayAtStart)); }

}  // namespace pravelo::app
