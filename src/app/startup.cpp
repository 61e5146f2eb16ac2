// The main window's start-up: what it shows, in the order it shows it; the decisions are
// the start-up controller's.
#include "app/captions.h"
#include "app/form1.h"
#include "display/figures.h"
#include "memory/memory_status.h"
#include "pravelo_version.h"
#include "settings/form2.h"
#include "simple/form3.h"

namespace pravelo::app {

void Form1::Form_Load() {
  Platform& p = services_.platform;

  command_.ReadEnvironment();
  autoOptimize_.ReadSwitch();
  Startup startup(p, store_, services_.strings, command_);
  const CommandLineSwitch commandSwitch = startup.Begin();

  itbar_list3_ = services_.makeTaskbarList();
  itbar_list3_->ButtonPressed = [this](int16_t index) { itbar_list3_ButtonPressed(index); };
  facts_ = ReadMachineFacts(p.memory);
  refresh_.normalBar = Picture3.CurrentPicture();
  refresh_.highBar = tmppc.CurrentPicture();

  Show();
  ApplyCaptions(services_.strings, *this, form2_, form3_);
  command_.Figures().z18 = display::EstimateAvailableMb(memory::GetMemoryLoad(p.memory), facts_.TotalMem);

  startup.Act(commandSwitch, *this);

  services_.surfaces.graph.PlotPoint(0, Picture4.Height());
  refresh_.graph.Start(Picture4.Height());
  tray_.Prepare(pichook.Handle());

  Show();
  autoOptimize_.Arm(Timer1);
  ApplyAutomation();
  if (startup.StartsInTray()) SetWindowState(ui::WindowState::Minimized);
  UpdateDisplay();
  Show();

  if (facts_.IsWindows7) itbar_list3_->ThumbBarAddButtons(Handle(), 3, {img[1], img[2], img[3]});
}

void Form1::ShowBox(const std::string& text) {
  services_.platform.dialogs.MessageBox(Handle(), text, PRAVELO_PRODUCT_NAME, 0);
}

}  // namespace pravelo::app
