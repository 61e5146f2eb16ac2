#include "app/form1.h"
#include "memory/memory_status.h"
#include "settings/form2.h"
#include "simple/form3.h"
#include "text_ids.h"

namespace pravelo::app {
namespace {

constexpr int kInformationStyle = 64;

std::string WithLineBreaks(std::string text) {
  for (std::size_t at = text.find("\\n"); at != std::string::npos; at = text.find("\\n", at + 2)) {
    text.replace(at, 2, "\r\n");
  }
  return text;
}

}  // namespace

void Form1::Command1_Click() {
  // A pass or the deep pass lets the window work meanwhile: a click (or the hotkey, or the
  // thumbnail button) then has no pass to report on.
  const std::optional<std::string> report = command_.OptimizeAndReport(services_.strings);
  if (!report) return;
  MsgBx(*report, kInformationStyle);
  UpdateDisplay();
}

void Form1::Command2_Click() {
  form3_.Hide();
  Hide();
  tray_.Enter(pichook.Handle());
  Timer1_Timer();
  Timer2.SetInterval(display::kTrayRefreshIntervalMs);
}

void Form1::Command3_Click() { form2_.ShowModal(this); }

void Form1::Command7_Click() {
  form3_.Show();
  SimpleMode = true;
  Hide();
  itbar_list3_->SetThumbnailClip(Handle(), form3_.Picture3.Left(), 0, form3_.Width(),
                                 form3_.Picture3.Height());
}

void Form1::BackToMainWindow() {
  SimpleMode = false;
  form3_.Hide();
  Show();
}

void Form1::Command8_Click() {
  // The thumbnail button reaches here while the button is disabled, and a click during a
  // standard pass would run the deep pass inside it.
  if (!command_.CanOptimize()) return;
  Platform& p = services_.platform;
  const int32_t before = memory::GetAvailableMemory(p.memory).ToInt32();
  p.pump.DoEvents();
  Command8.SetEnabled(false);
  const bool ran = DeepOptimize();
  Command8.SetEnabled(true);
  if (!ran) return;
  MsgBx(services_.strings.Text(IDS_OPTIMIZE2_COMPLETE), 0);
  p.launcher.Start(command_.ReportingRestart(before), kShowNormal);
  // The new instance reports; this one must end even where a close would go to the tray.
  EndProgram();
}

void Form1::Command10_Click() {
  MsgBx(WithLineBreaks(services_.strings.Text(IDS_OPTIMIZE2_EXPLANATION)), 0,
        services_.strings.Text(IDS_OPTIMIZE2_QUESTION));
}

void Form1::endez_Click() {
  tray_.Leave();
  Unload(ui::CloseReason::Code);
}

}  // namespace pravelo::app
