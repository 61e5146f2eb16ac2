// The Automation window, opened from the options window: the load threshold, the wait
// between its passes, the hotkey and the programs never trimmed.
#pragma once

#include <span>

#include "settings/window_services.h"
#include "ui/control_table.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace pravelo::settings {

class AutomationWindow : public ui::Form {
 public:
  explicit AutomationWindow(WindowServices& services);
  static std::span<const ui::ControlRow<AutomationWindow>> Controls();

  ui::CheckBox Check1;  // optimize on high load
  ui::TextBox Text1;    // threshold, percent
  ui::Label Label1;
  ui::TextBox Text2;  // cooldown, seconds
  ui::Label Label2;
  ui::TextBox Text3;  // hotkey
  ui::Label Label3;
  ui::TextBox Text4;    // exclusions
  ui::Label Label4;     // the deep pass cannot leave them out
  ui::Button Command1;  // Save

  void Form_Load();
  void Check1_Click() { Text1.SetEnabled(Check1.Value() != 0); }
  // Refused input gets a message and nothing is saved; the window stays open to mend it.
  void Command1_Click();

 private:
  WindowServices& services_;
};

}  // namespace pravelo::settings
