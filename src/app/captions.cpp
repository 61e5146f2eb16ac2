#include "app/captions.h"

#include "app/form1.h"
#include "settings/form2.h"
#include "simple/form3.h"
#include "text_ids.h"

namespace pravelo::app {
namespace {

template <class F>
void AddCaptionedRows(std::vector<std::pair<ui::Control*, int>>& table, F& form) {
  for (const ui::ControlRow<F>& row : F::Controls()) {
    if (row.captionId != 0) table.emplace_back(&ui::ControlOf(form, row), row.captionId);
  }
}

}  // namespace

std::vector<std::pair<ui::Control*, int>> CaptionTable(Form1& form1, simple::Form3& form3) {
  std::vector<std::pair<ui::Control*, int>> table = {{&form3, simple::Form3::kTitleId}};
  AddCaptionedRows(table, form1);
  AddCaptionedRows(table, form3);
  return table;
}

void ApplyCaptions(settings::StringTable& strings, Form1& form1, settings::Form2& form2,
                   simple::Form3& form3) {
  form2.ApplyCaptions();
  form3.Load();
  for (const auto& [control, id] : CaptionTable(form1, form3)) control->SetText(strings.Text(id));
}

}  // namespace pravelo::app
