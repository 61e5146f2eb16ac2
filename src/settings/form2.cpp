#include "settings/form2.h"

#include <array>

#include "app/form1.h"
#include "base/numeric.h"
#include "platform/program_path.h"
#include "pravelo_version.h"
#include "settings/areas_window.h"
#include "settings/automation_window.h"
#include "settings/captions.h"
#include "settings/language_window.h"
#include "settings/machine_values.h"
#include "simple/form3.h"
#include "text_ids.h"
#include "ui/layout.h"
#include "update/update_check.h"

namespace pravelo::settings {
namespace {

namespace layout = ui::layout::form2;

// A stored number as a check box shows it: anything but 0 is checked.
int CheckValue(const std::string& text) { return RoundHalfEven32(NumericValue(text)) != 0 ? 1 : 0; }

std::string ValueText(const ui::CheckBox& box) { return box.Value() != 0 ? "1" : "0"; }

}  // namespace

// Design captions are the Korean texts; start-up replaces them from the string table.
Form2::Form2(app::Form1& form1, AreasWindow& areas, AutomationWindow& automation, LanguageWindow& language)
    : ui::Form(layout::kWindow, "옵션"),
      Check1(layout::Check1, "시스템 시작시 자동 시작"),
      Check2(layout::Check2, "자동최적화"),
      Check3(layout::Check3, "최소화 시 트레이로 이동"),
      Check4(layout::Check4, "XP 이상 커널 메모리에 할당"),
      Check5(layout::Check5, "닫기 버튼 누를 시 최소화"),
      Check6(layout::Check6, "프로그램 시작 시 트레이로 전환"),
      Text1(layout::Text1),
      Label1(layout::Label1, "최적화간격 설정(초)"),
      Label2(layout::Label2, "0은 없음"),
      Label3(layout::Label3, "Version " PRAVELO_VERSION_TEXT),
      Command1(layout::Command1, "저장"),
      Command2(layout::Command2, "업데이트"),
      Command3(layout::Command3, "메모리 영역..."),
      Command4(layout::Command4, "자동화..."),
      Command5(layout::Command5, "언어..."),
      Timer1(kHoldTimerMs, false),
      form1_(form1),
      areas_(areas),
      automation_(automation),
      language_(language) {
  onLoad = [this] { Form_Load(); };
  // An unloaded window's timer is gone; a wait on it ends.
  onUnload = [this] { Timer1.SetEnabled(false); };
  Check2.onClick = [this] { Check2_Click(); };
  Command1.onClick = [this] { Command1_Click(); };
  Command2.onClick = [this] { Command2_Click(); };
  Command3.onClick = [this] { Command3_Click(); };
  Command4.onClick = [this] { Command4_Click(); };
  Command5.onClick = [this] { Command5_Click(); };
  Timer1.onTimer = [this] { Timer1_Timer(); };
}

void Form2::Form_Load() {
  SettingsStore& store = form1_.store();
  Check1.SetValue(CheckValue(store.Read(kAutoStart)));
  Check2.SetValue(CheckValue(store.Read(kAutoOptimize)));
  Check3.SetValue(CheckValue(store.Read(kMinimizeTray)));
  // A machine value that cannot be read shows as unchecked.
  Check4.SetValue(
      CheckValue(form1_.platform()
                     .registry.Read(RegistryRoot::LocalMachine, kMemoryManagementKey, kDisablePagingExecutive)
                     .value_or("0")));
  Check5.SetValue(CheckValue(store.Read(kMinAtClose)));
  Check6.SetValue(CheckValue(store.Read(kTrayAtStart)));
  Text1.SetText(store.Read(kInterval));
  Text1.SetEnabled(Check2.Value() != 0);
}

void Form2::Check2_Click() { Text1.SetEnabled(Check2.Value() != 0); }

void Form2::Command1_Click() {
  SettingsStore& store = form1_.store();
  Platform& p = form1_.platform();

  store.Write(kAutoStart, ValueText(Check1));
  bool machineSaved = SaveAutostart();
  store.Write(kAutoOptimize, ValueText(Check2));
  store.Write(kMinimizeTray, ValueText(Check3));
  store.Write(kInterval, Text1.Text());
  store.Write(kTrayAtStart, ValueText(Check6));
  store.Write(kMinAtClose, ValueText(Check5));
  machineSaved = SaveKernelPaging() && machineSaved;

  ApplyCaptions(form1_.strings(), form1_, *this, form1_.Form3Window());
  form1_.ReadAutoOptimizeSwitch();
  form1_.ArmAutoOptimize();

  // The per-user settings are saved either way; a refused machine-wide change is said so.
  std::string message = form1_.strings().Text(IDS_SAVED);
  if (!machineSaved) message += "\r\n" + form1_.strings().Text(IDS_NEEDS_ADMINISTRATOR);
  p.dialogs.MessageBox(Handle(), message, PRAVELO_PRODUCT_NAME, 0);
  Unload();
}

bool Form2::SaveAutostart() {
  Platform& p = form1_.platform();
  if (Check1.Value() == 0) {
    // The copies made earlier stay where they are.
    return p.registry.DeleteValue(RegistryRoot::LocalMachine, kRunKey, kRunValueName);
  }
  const std::string system = p.environment.SystemFolder();
  const std::string folder = p.environment.ProgramFolder();
  const std::string program = p.environment.ProgramPath();
  const std::string copy = system + std::string(kAutostartProgram);
  // Running from that copy already: copying onto itself would only fail.
  const bool copied = SamePath(program, copy) || p.files.Copy(program, copy);
  // Nothing reads the picture; a missing one is no reason to call the autostart failed.
  p.files.Copy(folder + std::string(kPictureFile), system + std::string(kPictureFile));
  // Quoted only where a blank could split the path, so the usual value stays as it was.
  const std::string runValue = copy.find(' ') == std::string::npos ? copy : "\"" + copy + "\"";
  const bool registered =
      p.registry.WriteString(RegistryRoot::LocalMachine, kRunKey, kRunValueName, runValue);
  return copied && registered;
}

bool Form2::SaveKernelPaging() {
  return form1_.platform().registry.WriteDword(RegistryRoot::LocalMachine, kMemoryManagementKey,
                                               kDisablePagingExecutive, Check4.Value() != 0 ? 1 : 0);
}

void Form2::Command2_Click() {
  Platform& p = form1_.platform();
  update::UpdatePorts ports{p.http,       p.registry,  p.environment, p.launcher,
                            p.signatures, p.heldFiles, p.clock};
  // The check lets window messages run while it waits. A window opened from here or from the
  // simple-mode window meanwhile would hold the check, and its minute, until it closed; a
  // second check would nest. (The main window is disabled while this one is shown.)
  std::array<ui::Control*, 6> blocked = {&Command1, &Command2, &Command3,
                                         &Command4, &Command5, &form1_.Form3Window()};
  std::array<bool, 6> wereEnabled{};
  for (size_t i = 0; i < blocked.size(); ++i) {
    wereEnabled[i] = blocked[i]->Enabled();
    blocked[i]->SetEnabled(false);
  }
  const update::UpdateOutcome outcome = update::RunUpdateCheck(
      ports, {update::UpdateHost(p.environment), form1_.UpdateKey(), form1_.OwnVersion()});
  for (size_t i = 0; i < blocked.size(); ++i) blocked[i]->SetEnabled(wereEnabled[i]);
  switch (outcome) {
    case update::UpdateOutcome::UpToDate:
      form1_.MsgBx(form1_.strings().Text(IDS_UP_TO_DATE), 0, std::string());
      break;
    case update::UpdateOutcome::Failed:
      form1_.MsgBx(form1_.strings().Text(IDS_UPDATE_FAILED), 0);
      break;
    case update::UpdateOutcome::Started:
      form1_.EndProgram();
  }
}

// Loaded afresh each time, so that it shows the settings and the last results as they are.
void Form2::Command3_Click() { areas_.ShowModal(this); }

void Form2::Command4_Click() { automation_.ShowModal(this); }

void Form2::Command5_Click() { language_.ShowModal(this); }

}  // namespace pravelo::settings
