#include "app/ending_switches.h"
#include "app/form1.h"
#include "base/numeric.h"
#include "display/figures.h"
#include "memory/memory_status.h"
#include "pravelo_version.h"
#include "app/captions.h"
#include "settings/area_settings.h"
#include "settings/form2.h"
#include "settings/machine_values.h"
#include "simple/form3.h"
#include "text_ids.h"

namespace pravelo::app {

void Form1::Form_Load() {
  Platform& p = platform();

  command_.ReadEnvironment();
  ReadAutoOptimizeSwitch();
  // Read once so that a first start creates them with their defaults.
  settings::ReadAreas(store_, settings::kManualAreas);
  settings::ReadAreas(store_, settings::kAutomaticAreas);
  // Both machine values are rewritten at every start; without the rights they are refused,
  // which changes nothing here.
  p.registry.WriteDword(RegistryRoot::LocalMachine, settings::kMemoryManagementKey,
                        settings::kLargeSystemCache, 1);
  p.registry.WriteDword(
      RegistryRoot::LocalMachine, settings::kMemoryManagementKey, settings::kDisablePagingExecutive,
      static_cast<uint32_t>(RoundHalfEven32(NumericValue(store_.Read(settings::kKernelMemoryUse)))));

  // "/clean" serves scripts: it ends here, before any window is shown.
  const CommandLineSwitch commandSwitch = ParseCommandLine(p.environment.CommandLine());
  if (commandSwitch.kind == SwitchKind::Clean) CleanOnce(p, command_, commandSwitch.argument);

  itbar_list3_ = services_.makeTaskbarList();
  itbar_list3_->ButtonPressed = [this](int16_t index) { itbar_list3_ButtonPressed(index); };
  facts_ = ReadMachineFacts(p.memory);
  refresh_.normalBar = Picture3.CurrentPicture();
  refresh_.highBar = tmppc.CurrentPicture();

  Show();
  ApplyCaptions(strings(), *this, form2_, form3_);
  command_.Figures().z18 = display::EstimateAvailableMb(memory::GetMemoryLoad(p.memory), facts_.TotalMem);

  HandleCommandLine(commandSwitch);

  services_.surfaces.graph.PlotPoint(0, Picture4.Height());
  refresh_.graph.Start(Picture4.Height());
  tray_.Prepare(pichook.Handle());

  Show();
  ArmAutoOptimize();
  ApplyAutomation();
  if (ConvertsToTrue(store_.Read(settings::kTrayAtStart))) SetWindowState(ui::WindowState::Minimized);
  UpdateDisplay();
  Show();

  if (facts_.IsWindows7) itbar_list3_->ThumbBarAddButtons(Handle(), 3, {img[1], img[2], img[3]});
}

void Form1::HandleCommandLine(const CommandLineSwitch& commandSwitch) {
  Platform& p = platform();
  switch (commandSwitch.kind) {
    case SwitchKind::Optimize:
      OptimizeMemory();
      p.process.EndProcess();
    case SwitchKind::DeepOptimize:
      DeepOptimize();
      p.process.EndProcess();
    case SwitchKind::Tray:
      Command2_Click();
      break;
    case SwitchKind::ShowPath:
      p.dialogs.MessageBox(Handle(), p.environment.ProgramPathWithoutExtension(), PRAVELO_PRODUCT_NAME, 0);
      break;
    default:
      break;
  }
  notifications_.Clear();
  if (commandSwitch.kind == SwitchKind::Report) {
    const std::string available =
        memory::GetAvailableMemory(p.memory).ToText(p.environment.DecimalSeparator());
    MsgBx(strings().Text(IDS_OPTIMIZE2_COMPLETE) + "\r\n" + commandSwitch.argument + " MB ->" + available +
              " MB",
          0);
  }
  if (commandSwitch.kind == SwitchKind::QuickUpdate) QuickUpdate(p, commandSwitch.argument);
}

}  // namespace pravelo::app
