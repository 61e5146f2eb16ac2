#include "app/form1.h"
#include "memory/ini_section.h"
#include "memory/memory_status.h"
#include "memory/optimizer.h"
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
  Platform& p = platform();
  // A pass or the deep pass lets the window work meanwhile: a click (or the hotkey, or the
  // thumbnail button) then has no pass to report on.
  if (!CanOptimize()) return;
  // The figure before is measured, not the refresh's estimate from the whole-percent load,
  // which is off by up to one percent of the installed memory.
  const Currency before = memory::GetAvailableMemory(p.memory);
  if (!OptimizeMemory()) return;
  memory::RemoveIniSection(p.files, p.environment.WindowsFolder() + "\\system.ini", "vcache");
  const Currency first = memory::GetAvailableMemory(p.memory);
  const Currency after = memory::GetAvailableMemory(p.memory);
  const std::string separator = p.environment.DecimalSeparator();
  MsgBx(strings().Text(IDS_OPTIMIZED) + (first - before).ToText(separator) + "MB\r\n" +
            before.ToText(separator) + " MB -> " + after.ToText(separator) + " MB",
        kInformationStyle);
  UpdateDisplay();
}

void Form1::Command2_Click() {
  // "/tray" comes here before start-up has filled the record; an icon added without its
  // window and number could never be modified, clicked or deleted again.
  FillTrayRecordFields();
  ReplaceRecordIcon(services_.surfaces.icon.MakeIcon());
  form3_.Hide();
  Hide();
  inTray_ = true;
  SendTrayIcon(display::TrayOperation::Add);
  Timer1_Timer();
  Timer2.SetInterval(kTrayRefreshIntervalMs);
}

void Form1::Command3_Click() { form2_.ShowModal(this); }

void Form1::Command5_Click() { SetWindowState(ui::WindowState::Minimized); }

void Form1::Command7_Click() {
  form3_.Show();
  SimpleMode = true;
  Hide();
  itbar_list3_->SetThumbnailClip(Handle(), form3_.Picture3.Left(), 0, form3_.Width(),
                                 form3_.Picture3.Height());
}

void Form1::Command8_Click() {
  // The thumbnail button reaches here while the button is disabled, and a click during a
  // standard pass would run the deep pass inside it.
  if (!CanOptimize()) return;
  Platform& p = platform();
  const int32_t before = memory::GetAvailableMemory(p.memory).ToInt32();
  p.pump.DoEvents();
  Command8.SetEnabled(false);
  DeepOptimize();
  Command8.SetEnabled(true);
  MsgBx(strings().Text(IDS_OPTIMIZE2_COMPLETE), 0);
  const std::string program = p.environment.ProgramPath();
  p.launcher.Start(QuoteForCommandLine(program) + " /o " + std::to_string(before), kShowNormal);
  // The new instance reports; this one must end even where a close would go to the tray.
  EndProgram();
}

void Form1::Command10_Click() {
  MsgBx(WithLineBreaks(strings().Text(IDS_OPTIMIZE2_EXPLANATION)), 0, strings().Text(IDS_OPTIMIZE2_QUESTION));
}

void Form1::endez_Click() {
  RemoveTrayIcon();
  Unload(ui::CloseReason::Code);
}

}  // namespace pravelo::app
