// Every window declared in a table of its controls, in one list: the checks that cover all
// windows read it.
#pragma once

#include "fakes/app_fixture.h"
#include "ui/layout.h"

namespace pravelo::testing {

// Calls visit(name, client size, the table's rows, the window in a fixture) once per window.
template <class Visit>
void ForEachDeclaredWindow(Visit&& visit) {
  namespace layout = ui::layout;
  using fakes::AppFixture;
  visit("Form1", layout::form1::kClient, app::Form1::Controls(), &AppFixture::form1);
  visit("Form2", layout::form2::kClient, settings::Form2::Controls(), &AppFixture::form2);
  visit("Areas", layout::areas::kClient, settings::AreasWindow::Controls(), &AppFixture::areas);
  visit("Automation", layout::automation::kClient, settings::AutomationWindow::Controls(),
        &AppFixture::automation);
  visit("Language", layout::language::kClient, settings::LanguageWindow::Controls(), &AppFixture::language);
  visit("Form3", layout::form3::kClient, simple::Form3::Controls(), &AppFixture::form3);
}

}  // namespace pravelo::testing
