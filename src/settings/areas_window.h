// The "Memory areas" window: which areas a manual and an automatic optimization free, and
// what the last optimization did in each.
#pragma once

#include <array>
#include <string>

#include "memory/memory_areas.h"
#include "memory/optimizer.h"
#include "settings/string_table.h"
#include "settings/window_services.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace pravelo::settings {

// What the last optimization did in an area, as the window shows it: the result (with the
// processes' counts for the working sets), and what the area's counter freed in the
// program's MB unit, a loss as the loss it was, or "n/a".
std::string AreaResultText(const memory::AreaResult& result, StringTable& strings);
std::string FreedText(const memory::AreaResult& result, StringTable& strings,
                      const std::string& decimalSeparator);
// Why an area this Windows does not offer is off.
std::string SupportText(memory::AreaSupport support, StringTable& strings);

class AreasWindow : public ui::Form {
 public:
  explicit AreasWindow(WindowServices& services);

  ui::Label ManualHeader, AutomaticHeader, ResultHeader, FreedHeader, TimeHeader;
  // One row per area, in the order a pass runs them.
  std::array<ui::Label, memory::kAreaCount> AreaLabel;
  std::array<ui::CheckBox, memory::kAreaCount> Manual;
  std::array<ui::CheckBox, memory::kAreaCount> Automatic;
  // The last pass as a table: result, freed (MB), time (ms).
  std::array<ui::Label, memory::kAreaCount> Result;
  std::array<ui::Label, memory::kAreaCount> Freed;
  std::array<ui::Label, memory::kAreaCount> Time;
  ui::Button Command1;  // Save

  void Form_Load();
  void Command1_Click();

 private:
  WindowServices& services_;
};

}  // namespace pravelo::settings
