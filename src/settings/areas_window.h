// The "Memory areas" window: which areas a manual and an automatic optimization free, and
// what the last optimization did in each.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>

#include "memory/memory_areas.h"
#include "memory/optimizer.h"
#include "settings/settings_window.h"
#include "settings/string_table.h"
#include "ui/control_table.h"
#include "ui/controls.h"

namespace pravelo::settings {

// What the last optimization did in an area, as the window shows it: the result (with the
// processes' counts for the working sets), and what the area's counter freed in the
// program's MB unit, a loss as the loss it was, or "n/a".
std::string AreaResultText(const memory::AreaResult& result, StringTable& strings);
std::string FreedText(const memory::AreaResult& result, StringTable& strings,
                      const std::string& decimalSeparator);
// Why an area this Windows does not offer is off.
std::string SupportText(memory::AreaSupport support, StringTable& strings);

class AreasWindow : public SettingsWindow<AreasWindow> {
 public:
  explicit AreasWindow(WindowServices& services);
  static constexpr int kTitleId = IDS_AREAS_TITLE;
  static std::span<const ui::ControlRow<AreasWindow>> Controls();

  ui::Label ManualHeader, AutomaticHeader, ResultHeader, FreedHeader, TimeHeader;
  // One row per area, in the order a pass runs them.
  std::array<ui::Label, memory::kAreaCount> AreaLabel;
  std::array<ui::CheckBox, memory::kAreaCount> Manual;
  std::array<ui::CheckBox, memory::kAreaCount> Automatic;
  // The last pass as a table: result, freed (MB), time (ms).
  std::array<ui::Label, memory::kAreaCount> Result;
  std::array<ui::Label, memory::kAreaCount> Freed;
  std::array<ui::Label, memory::kAreaCount> Time;

  void Form_Load();

 private:
  friend SettingsWindow<AreasWindow>;
  // The two columns as checked; the window closes without a word.
  std::optional<std::string> Write();
};

}  // namespace pravelo::settings
