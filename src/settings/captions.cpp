#include "settings/captions.h"

#include "app/form1.h"
#include "settings/form2.h"
#include "simple/form3.h"
#include "text_ids.h"

namespace pravelo::settings {
namespace {

template <class F>
void AddCaptionedRows(std::vector<std::pair<ui::Control*, int>>& table, F& form) {
  for (const ui::ControlRow<F>& row : F::Controls()) {
    if (row.captionId != 0) table.emplace_back(&ui::ControlOf(form, row), row.captionId);
  }
}

}  // namespace

std::vector<std::pair<ui::Control*, int>> CaptionTable(app::Form1& form1, Form2& form2,
                                                       simple::Form3& form3) {
  std::vector<std::pair<ui::Control*, int>> table = {
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
      {&form2.Command3, IDS_AREAS_BUTTON},       // beside the options: the memory areas
      {&form2.Command4, IDS_AUTOMATION_BUTTON},  // and the automation
  };
  AddCaptionedRows(table, form1);
  AddCaptionedRows(table, form3);
  return table;
}

void ApplyCaptions(StringTable& strings, app::Form1& form1, Form2& form2, simple::Form3& form3) {
  form2.Load();
  form3.Load();
  for (const auto& [control, id] : CaptionTable(form1, form2, form3)) control->SetText(strings.Text(id));
}

}  // namespace pravelo::settings
