// The Language window, opened from the options window: the languages in their own names
// and "Same as Windows"; the pick is stored for the next start.
#pragma once

#include <span>

#include "settings/window_services.h"
#include "text_ids.h"
#include "ui/control_table.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace pravelo::settings {

class LanguageWindow : public ui::Form {
 public:
  explicit LanguageWindow(WindowServices& services);
  static constexpr int kTitleId = IDS_LANGUAGE_TITLE;
  static std::span<const ui::ControlRow<LanguageWindow>> Controls();

  ui::ListBox List1;    // Windows' language, then each table
  ui::Label Label1;     // the change applies at the next start
  ui::Button Command1;  // Save

  void Form_Load();
  void Command1_Click();

 private:
  WindowServices& services_;
};

}  // namespace pravelo::settings
