#include "settings/captions.h"

#include "app/form1.h"
#include "settings/form2.h"
#include "simple/form3.h"
#include "text_ids.h"

namespace pravelo::settings {

std::vector<std::pair<ui::Control*, int>> CaptionTable(app::Form1& form1, Form2& form2,
                                                       simple::Form3& form3) {
  return {
      {&form1.Command1, IDS_OPTIMIZE},
      {&form1.Command2, IDS_MOVE_ON_TRAY},
      {&form1.Command3, IDS_OPTIONS_BUTTON},
      {&form1.Command5, IDS_MINIMIZE},
      {&form1.Command7, IDS_SIMPLE_MODE},
      {&form1.Command8, IDS_OPTIMIZE2},
      {&form1.Command10, IDS_OPTIMIZE2_QUESTION},
      {&form2, IDS_OPTION},
      {&form2.Check2, IDS_AUTO_OPTIMIZE},
      {&form2.Label1, IDS_INTERVAL},
      {&form2.Label2, IDS_INTERVAL_NONE},
      {&form2.Check5, IDS_MINIMIZE_ON_CLOSE},
      {&form2.Check6, IDS_TRAY_AT_START},
      {&form2.Check3, IDS_TRAY_ON_MINIMIZE},
      {&form2.Check4, IDS_KERNEL_IN_MEMORY},
      {&form2.Check1, IDS_AUTOSTART},
      {&form2.Command1, IDS_SAVE},
      {&form2.Command2, IDS_UPDATE},
      {&form3, IDS_SIMPLE_TITLE},
      {&form3.Command4, IDS_SIMPLE_OPTIMIZE},
      {&form3.Command1, IDS_SIMPLE_TRAY},
      {&form3.Command2, IDS_SIMPLE_END},
      {&form3.Command3, IDS_SIMPLE_TOGGLE},
      {&form2.Command3, IDS_AREAS_BUTTON},       // beside the options: the memory areas
      {&form2.Command4, IDS_AUTOMATION_BUTTON},  // the automation
      {&form2.Command5, IDS_LANGUAGE_BUTTON},    // and the language
      // Pictures show no text; theirs is the name a screen reader gives them.
      {&form1.Picture1, IDS_NAME_GRAPH},
      {&form1.Picture4, IDS_NAME_GRAPH},
      {&form1.Picture6, IDS_NAME_LOAD_BAR},
      {&form1.Picture3, IDS_NAME_LOAD_BAR},
      {&form1.Picture5, IDS_NAME_LOGO},
      {&form3.Picture3, IDS_NAME_LOAD_BAR},
  };
}

void ApplyCaptions(StringTable& strings, app::Form1& form1, Form2& form2, simple::Form3& form3) {
  form2.Load();
  form3.Load();
  for (const auto& [control, id] : CaptionTable(form1, form2, form3)) control->SetText(strings.Text(id));
}

}  // namespace pravelo::settings
