#include "app/captions.h"

#include "app/form1.h"
#include "settings/form2.h"
#include "simple/form3.h"
#include "text_ids.h"

namespace pravelo::app {

std::vector<std::pair<ui::Control*, int>> CaptionTable(Form1& form1, simple::Form3& form3) {
  return {
      {&form1.Command1, IDS_OPTIMIZE},
      {&form1.Command2, IDS_MOVE_ON_TRAY},
      {&form1.Command3, IDS_OPTIONS_BUTTON},
      {&form1.Command5, IDS_MINIMIZE},
      {&form1.Command7, IDS_SIMPLE_MODE},
      {&form1.Command8, IDS_OPTIMIZE2},
      {&form1.Command10, IDS_OPTIMIZE2_QUESTION},
      {&form3, IDS_SIMPLE_TITLE},
      {&form3.Command4, IDS_SIMPLE_OPTIMIZE},
      {&form3.Command1, IDS_SIMPLE_TRAY},
      {&form3.Command2, IDS_SIMPLE_END},
      {&form3.Command3, IDS_SIMPLE_TOGGLE},
  };
}

void ApplyCaptions(settings::StringTable& strings, Form1& form1, settings::Form2& form2,
                   simple::Form3& form3) {
  form2.ApplyCaptions();
  form3.Load();
  for (const auto& [control, id] : CaptionTable(form1, form3)) control->SetText(strings.Text(id));
}

}  // namespace pravelo::app
