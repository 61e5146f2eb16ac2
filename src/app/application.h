// The windows of the program, made together because each reaches the others.
#pragma once

#include "app/form1.h"
#include "settings/areas_window.h"
#include "settings/automation_window.h"
#include "settings/form2.h"
#include "settings/language_window.h"
#include "simple/form3.h"

namespace pravelo::app {

struct Application {
  explicit Application(Form1Services services)
      : form1(services, form2, form3),
        form2(form1.Services(), areas, automation, language),
        form3(form1),
        areas(form1.Services()),
        automation(form1.Services()),
        language(form1.Services()) {}

  Form1 form1;
  settings::Form2 form2;
  simple::Form3 form3;
  settings::AreasWindow areas;
  settings::AutomationWindow automation;
  settings::LanguageWindow language;
};

}  // namespace pravelo::app
