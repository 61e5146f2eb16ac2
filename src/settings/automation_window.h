// The Automation window, opened from the options window: the load threshold, the wait
// between its passes, the hotkey and the programs never trimmed.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "settings/automation_settings.h"
#include "settings/settings_window.h"
#include "ui/control_table.h"
#include "ui/controls.h"

namespace pravelo::settings {

class AutomationWindow : public SettingsWindow<AutomationWindow> {
 public:
  explicit AutomationWindow(WindowServices& services);
  static constexpr int kTitleId = IDS_AUTOMATION_TITLE;
  static std::span<const ui::ControlRow<AutomationWindow>> Controls();

  ui::CheckBox Check1;  // optimize on high load
  ui::TextBox Text1;    // threshold, percent
  ui::Label Label1;
  ui::TextBox Text2;  // cooldown, seconds
  ui::Label Label2;
  ui::TextBox Text3;  // hotkey
  ui::Label Label3;
  ui::TextBox Text4;  // exclusions
  ui::Label Label4;   // the deep pass cannot leave them out

  void Form_Load();
  void Check1_Click() { Text1.SetEnabled(Check1.Value() != 0); }

 private:
  friend SettingsWindow<AutomationWindow>;
  AutomationInput Input() const;
  std::optional<int> Refusal();
  // The saved automation in force; a hotkey another program holds is said below "Saved".
  std::optional<std::string> Write();
};

}  // namespace pravelo::settings
