#include <cmath>

#include "app/clean_report.h"
#include "app/form1.h"
#include "app/quick_update_argument.h"
#include "base/numeric.h"
#include "display/figures.h"
#include "memory/memory_status.h"
#include "memory/optimizer.h"
#include "platform/program_path.h"
#include "pravelo_version.h"
#include "app/captions.h"
#include "settings/form2.h"
#include "settings/machine_values.h"
#include "simple/form3.h"
#include "text_ids.h"
#include "update/sha256.h"
#include "update/update_check.h"

namespace pravelo::app {
namespace {

constexpr double kWindows7 = 6.1;
// The update starts the new copy just before the old program ends, and the file of a
// running program cannot be overwritten: the copy is tried again until it ends.
constexpr uint64_t kReplaceWaitMs = 10000;
constexpr uint32_t kReplaceRetryMs = 100;
constexpr double kBytesPerKb = 1024.0;
constexpr double kBytesPerMb = 1048576.0;

}  // namespace

void Form1::Form_Load() {
  Platform& p = platform();

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
  if (commandSwitch.kind == SwitchKind::Clean) CleanOnce(commandSwitch.argument);

  itbar_list3_ = services_.makeTaskbarList();
  itbar_list3_->ButtonPressed = [this](int16_t index) { itbar_list3_ButtonPressed(index); };
  IsWindows7 = memory::GetWindowsVersion(p.memory) == kWindows7;

  SavedPicture3 = Picture3.CurrentPicture();
  SavedTmppcPicture = tmppc.CurrentPicture();
  if (std::optional<uint64_t> bytes = p.memory.TotalPhysicalBytes()) {
    TotalMem = static_cast<double>(*bytes) / kBytesPerKb;
    TotalPhysMB = RoundHalfEven32(static_cast<double>(*bytes) / kBytesPerMb);
  }

  Show();
  ApplyCaptions(strings(), *this, form2_, form3_);
  z18 = display::EstimateAvailableMb(memory::GetMemoryLoad(p.memory), TotalMem);

  HandleCommandLine(commandSwitch);

  services_.surfaces.graph.PlotPoint(0, Picture4.Height());
  graph_.Start(Picture4.Height());

  FillTrayRecordFields();
  ReplaceRecordIcon(services_.surfaces.icon.MakeIcon());
  TrayIconData.szTip = display::TipField(PRAVELO_PRODUCT_NAME);

  Show();
  zy = std::trunc(NumericValue(store_.Read(settings::kInterval)) / 10.0);
  ArmAutoOptimize();
  ApplyAutomation();
  if (ConvertsToTrue(store_.Read(settings::kTrayAtStart))) SetWindowState(ui::WindowState::Minimized);
  UpdateDisplay();
  Show();

  if (IsWindows7) itbar_list3_->ThumbBarAddButtons(Handle(), 3, {img[1], img[2], img[3]});
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
  messageList.assign(1, std::string());
  if (commandSwitch.kind == SwitchKind::Report) {
    MsgBx(strings().Text(IDS_OPTIMIZE2_COMPLETE) + "\r\n" + commandSwitch.argument + " MB ->" +
              AvailableMemoryText() + " MB",
          0);
  }
  if (commandSwitch.kind == SwitchKind::QuickUpdate) QuickUpdate(commandSwitch.argument);
}

void Form1::CleanOnce(const std::string& argument) {
  Platform& p = platform();
  const std::optional<memory::AreaSet> areas = CleanAreas(argument);
  if (!areas) p.process.EndProcess(kCleanUnknownArea);
  memory::PassFigures figures{z18, z17};
  const std::vector<memory::AreaResult> results = RunPass(*areas, figures);
  p.output.Write(CleanReport(results));
  p.process.EndProcess(memory::EveryAreaDone(results) ? kCleanAllDone : kCleanSomeNotDone);
}

void Form1::QuickUpdate(const std::string& argument) {
  Platform& p = platform();
  const QuickUpdateArgument request = SplitQuickUpdateArgument(argument);
  // The file this program was started from may have been swapped since the update checked
  // it: only bytes read through one held handle and matching the update's digest are
  // written, and nothing starts otherwise.
  std::optional<std::string> image;
  if (!request.target.empty()) image = p.heldFiles.ReadOwnProgram(update::kMaxExecutableBytes);
  if (image && update::MatchesSha256(*image, request.sha256)) {
    const std::string folder = p.environment.ProgramFolder();
    const std::string target = QuickUpdateTarget(request.target, folder);
    const std::string source = p.environment.ProgramPath();
    // A write that keeps failing (no rights, the target never ends) leaves the old file to
    // start; a program cannot be written onto itself, so that is not waited for.
    const uint64_t deadline = p.clock.NowMs() + kReplaceWaitMs;
    while (!SamePath(source, target) && !p.files.ReplaceWithBytes(target, *image) &&
           p.clock.NowMs() < deadline) {
      p.clock.SleepMs(kReplaceRetryMs);
    }
    p.launcher.Start(QuoteForCommandLine(target), kShowNormal);
  }
  p.process.EndProcess();
}

}  // namespace pravelo::app
