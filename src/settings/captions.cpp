#include "settings/captions.h"

#include <utility>

#include "app/form1.h"
#include "settings/form2.h"
#include "simple/form3.h"

namespace pravelo::settings {

void ApplyCaptions(StringTable& strings, app::Form1& form1, Form2& form2, simple::Form3& form3) {
  form2.Load();
  form3.Load();
  const std::pair<ui::Control*, int> captions[] = {
      {&form1.Command1, 101}, {&form1.Command2, 102}, {&form1.Command3, 103}, {&form1.Command5, 105},
      {&form1.Command7, 107}, {&form1.Command8, 108}, {&form1.Command10, 110}, {&form2, 115},
      {&form2.Check2, 116},   {&form2.Label1, 117},   {&form2.Label2, 118},   {&form2.Check5, 119},
      {&form2.Check6, 120},   {&form2.Check3, 121},   {&form2.Check4, 137},   {&form2.Check1, 122},
      {&form2.Command1, 123}, {&form2.Command2, 112}, {&form3, 124},          {&form3.Command4, 125},
      {&form3.Command1, 126}, {&form3.Command2, 127}, {&form3.Command3, 128},
      {&form2.Command3, 141},  // beside the options: the memory areas
      {&form2.Command4, 160},  // and the automation
  };
  for (const auto& [control, id] : captions) control->SetText(strings.Text(id));
}

}  // namespace pravelo::settings
