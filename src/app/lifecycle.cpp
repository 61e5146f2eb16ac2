#include "app/form1.h"
#include "base/numeric.h"
#include "settings/form2.h"
#include "simple/form3.h"

namespace pravelo::app {
namespace {

// The thumbnail clip's right edge on the main window.
constexpr int kMainClipRight = 407;

}  // namespace

void Form1::Form_QueryUnload(bool& cancel, ui::CloseReason reason) {
  if (reason == ui::CloseReason::Shutdown) Form_Unload();
  if (endingProgram_) return;
  if (store_.Read(settings::kMinAtClose) != "1") return;
  form3_.Load();
  if (Visible() || form3_.Visible()) {
    Command2_Click();
    cancel = true;
  }
}

void Form1::Form_Resize() {
  const bool toTray = RoundHalfEven32(NumericValue(store_.Read(settings::kMinimizeTray))) != 0;
  if (!toTray || State() != ui::WindowState::Minimized) return;
  Command2_Click();
  Timer2.SetInterval(display::kTrayRefreshIntervalMs);
  if (facts_.IsWindows7) {
    itbar_list3_->SetThumbnailClip(Handle(), 0, Picture3.Top(), kMainClipRight,
                                   Picture1.Top() + Picture1.Height());
  }
}

void Form1::Form_Unload() {
  services_.platform.pump.WaitForLongCall();
  tray_.Leave();
  if (itbar_list3_) itbar_list3_->Class_Terminate();
  services_.platform.process.EndProcess();
}

void Form1::EndProgram() {
  endingProgram_ = true;
  Unload(ui::CloseReason::Code);
  // Nothing cancels that close any more; the unload has ended the process.
  services_.platform.process.EndProcess();
}

}  // namespace pravelo::app
