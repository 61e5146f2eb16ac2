#include "settings/form2.h"

#include <vector>

#include "base/numeric.h"
#include "platform/program_path.h"
#include "pravelo_version.h"
#include "settings/areas_window.h"
#include "settings/automation_window.h"
#include "settings/language_window.h"
#include "settings/machine_values.h"
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

std::span<const ui::ControlRow<Form2>> Form2::Controls() {
  using W = Form2;
  static constexpr ui::ControlRow<W> rows[] = {
      {"Check1", &W::Check1, layout::Check1, IDS_AUTOSTART},
      {"Check2", &W::Check2, layout::Check2, IDS_AUTO_OPTIMIZE},
      {"Command3", &W::Command3, layout::Command3, IDS_AREAS_BUTTON},
      {"Label1", &W::Label1, layout::Label1, IDS_INTERVAL},
      {"Text1", &W::Text1, layout::Text1},
      {"Label2", &W::Label2, layout::Label2, IDS_INTERVAL_NONE},
      {"Check3", &W::Check3, layout::Check3, IDS_TRAY_ON_MINIMIZE},
      {"Check5", &W::Check5, layout::Check5, IDS_MINIMIZE_ON_CLOSE},
      {"Check6", &W::Check6, layout::Check6, IDS_TRAY_AT_START},
      {"Check4", &W::Check4, layout::Check4, IDS_KERNEL_IN_MEMORY},
      {"Label3", &W::Label3, layout::Label3},
      {"Command2", &W::Command2, layout::Command2, IDS_UPDATE},
      {"Command1", &W::Command1, layout::Command1, IDS_SAVE},
      {"Command4", &W::Command4, layout::Command4, IDS_AUTOMATION_BUTTON},
      {"Command5", &W::Command5, layout::Command5, IDS_LANGUAGE_BUTTON},
  };
  return rows;
}

Form2::Form2(OptionsServices& services, AreasWindow& areas, AutomationWindow& automation,
             LanguageWindow& language)
    : SettingsWindow(layout::kWindow, services, SaveMessage::Saved),
      Timer1(kHoldTimerMs, false),
      options_(services),
      areas_(areas),
      automation_(automation),
      language_(language) {
  ui::PlaceControls(*this, Controls());
  Label3.SetText("Version " PRAVELO_VERSION_TEXT);
  // An unloaded window's timer is gone; a wait on it ends.
  onUnload = [this] { Timer1.SetEnabled(false); };
  Check2.onClick = [this] { Check2_Click(); };
  Command2.onClick = [this] { Command2_Click(); };
  Command3.onClick = [this] { Command3_Click(); };
  Command4.onClick = [this] { Command4_Click(); };
  Command5.onClick = [this] { Command5_Click(); };
  Timer1.onTimer = [this] { Timer1_Timer(); };
}

void Form2::Form_Load() {
  SettingsStore& store = options_.store();
  Check1.SetValue(CheckValue(store.Read(kAutoStart)));
  Check2.SetValue(CheckValue(store.Read(kAutoOptimize)));
  Check3.SetValue(CheckValue(store.Read(kMinimizeTray)));
  // A machine value that cannot be read shows as unchecked.
  Check4.SetValue(
      CheckValue(options_.platform()
                     .registry.Read(RegistryRoot::LocalMachine, kMemoryManagementKey, kDisablePagingExecutive)
                     .value_or("0")));
  Check5.SetValue(CheckValue(store.Read(kMinAtClose)));
  Check6.SetValue(CheckValue(store.Read(kTrayAtStart)));
  Text1.SetText(store.Read(kInterval));
  Text1.SetEnabled(Check2.Value() != 0);
}

void Form2::Check2_Click() { Text1.SetEnabled(Check2.Value() != 0); }

std::optional<std::string> Form2::Write() {
  SettingsStore& store = options_.store();

  store.Write(kAutoStart, ValueText(Check1));
  bool machineSaved = SaveAutostart();
  store.Write(kAutoOptimize, ValueText(Check2));
  store.Write(kMinimizeTray, ValueText(Check3));
  store.Write(kInterval, Text1.Text());
  store.Write(kTrayAtStart, ValueText(Check6));
  store.Write(kMinAtClose, ValueText(Check5));
  machineSaved = SaveKernelPaging() && machineSaved;

  options_.SettingsSaved();
  // The per-user settings are saved either way; a refused machine-wide change is said so.
  return machineSaved ? std::string() : options_.strings().Text(IDS_NEEDS_ADMINISTRATOR);
}

bool Form2::SaveAutostart() {
  Platform& p = options_.platform();
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
  return options_.platform().registry.WriteDword(RegistryRoot::LocalMachine, kMemoryManagementKey,
                                                 kDisablePagingExecutive, Check4.Value() != 0 ? 1 : 0);
}

void Form2::Command2_Click() {
  // A window opened from here or from the simple-mode window while the check waits would hold
  // the check, and its minute, until it closed. (The main window is disabled while this one is
  // shown.)
  std::vector<ui::Control*> blocked{&options_.SimpleWindow()};
  for (const ui::ControlRow<Form2>& row : Controls()) {
    if (std::holds_alternative<ui::Button Form2::*>(row.member))
      blocked.push_back(&ui::ControlOf(*this, row));
  }
  RunUpdateCommand(options_, options_.strings(), blocked, [this] {
    Platform& p = options_.platform();
    return update::RunUpdateCheck(
        {p.http, p.registry, p.environment, p.launcher, p.signatures, p.heldFiles, p.clock},
        {update::UpdateHost(p.environment), options_.UpdateKey(), options_.OwnVersion()});
  });
}

// Loaded afresh each time, so that it shows the settings and the last results as they are.
void Form2::Command3_Click() { areas_.ShowModal(this); }

void Form2::Command4_Click() { automation_.ShowModal(this); }

void Form2::Command5_Click() { language_.ShowModal(this); }

}  // namespace pravelo::settings
