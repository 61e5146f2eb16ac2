// The Language window, opened from the options window: the languages in their own names
// and "Same as Windows"; the pick is stored for the next start.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "settings/settings_window.h"
#include "text_ids.h"
#include "ui/control_table.h"
#include "ui/controls.h"

namespace pravelo::settings {

class LanguageWindow : public SettingsWindow<LanguageWindow> {
 public:
  explicit LanguageWindow(WindowServices& services);
  static constexpr int kTitleId = IDS_LANGUAGE_TITLE;
  static std::span<const ui::ControlRow<LanguageWindow>> Controls();

  ui::ListBox List1;  // Windows' language, then each table
  ui::Label Label1;   // the change applies at the next start

  void Form_Load();

 private:
  friend SettingsWindow<LanguageWindow>;
  std::optional<std::string> Write();
};

}  // namespace pravelo::settings
