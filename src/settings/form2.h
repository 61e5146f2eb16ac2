// The options window: the settings as check boxes and an interval box, Save and Update,
// and the one-shot timer the deep pass waits on.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "settings/options_services.h"
#include "settings/settings_window.h"
#include "ui/control_table.h"
#include "ui/controls.h"

namespace pravelo::settings {

inline constexpr int kHoldTimerMs = 5000;

class AreasWindow;
class AutomationWindow;
class LanguageWindow;

class Form2 : public SettingsWindow<Form2> {
 public:
  Form2(OptionsServices& services, AreasWindow& areas, AutomationWindow& automation,
        LanguageWindow& language);
  static constexpr int kTitleId = IDS_OPTION;
  static std::span<const ui::ControlRow<Form2>> Controls();

  ui::CheckBox Check1;  // autostart
  ui::CheckBox Check2;  // automatic optimization
  ui::CheckBox Check3;  // minimize to the tray
  ui::CheckBox Check4;  // kernel kept in memory (DisablePagingExecutive)
  ui::CheckBox Check5;  // close to the tray
  ui::CheckBox Check6;  // start in the tray
  ui::TextBox Text1;    // interval in seconds
  ui::Label Label1, Label2, Label3;
  ui::Button Command2;  // Update
  ui::Button Command3;  // the memory areas window
  ui::Button Command4;  // the automation window
  ui::Button Command5;  // the language window
  ui::Timer Timer1;

  void Form_Load();
  void Check2_Click();
  void Command2_Click();
  void Command3_Click();
  void Command4_Click();
  void Command5_Click();
  void Timer1_Timer() { Timer1.SetEnabled(false); }

 private:
  friend SettingsWindow<Form2>;
  // The save's writes; the refused machine-wide part, said below "Saved".
  std::optional<std::string> Write();
  // The machine-wide part of the save; false when any of it was refused.
  bool SaveAutostart();
  bool SaveKernelPaging();

  OptionsServices& options_;
  AreasWindow& areas_;
  AutomationWindow& automation_;
  LanguageWindow& language_;
};

}  // namespace pravelo::settings
