// The "Memory areas" window: which areas a manual and an automatic optimization free, and
// what the last optimization did in each.
#pragma once

#include <array>
#include <string>

#include "memory/memory_areas.h"
#include "memory/optimizer.h"
#include "settings/string_table.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace pravelo::app {
class Form1;
}

namespace pravelo::settings {

// What the last optimization did in an area, as the window shows it: the result, the change
// in available memory in the program's MB unit (a loss as the loss it was) and the time.
std::string AreaResultText(const memory::AreaResult& result, StringTable& strings,
                           const std::string& decimalSeparator);
// Why an area this Windows does not offer is off.
std::string SupportText(memory::AreaSupport support, StringTable& strings);

class AreasWindow : public ui::Form {
 public:
  explicit AreasWindow(app::Form1& form1);

  ui::Label ManualHeader, AutomaticHeader, ResultHeader;
  // One row per area, in the order a pass runs them.
  std::array<ui::Label, memory::kAreaCount> AreaLabel;
  std::array<ui::CheckBox, memory::kAreaCount> Manual;
  std::array<ui::CheckBox, memory::kAreaCount> Automatic;
  std::array<ui::Label, memory::kAreaCount> Result;
  ui::Button Command1;  // Save

  void Form_Load();
  void Command1_Click();

 private:
  app::Form1& form1_;
};

}  // namespace pravelo::settings
