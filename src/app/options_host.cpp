// What the main window does for the options window.
#include "app/captions.h"
#include "app/form1.h"
#include "simple/form3.h"

namespace pravelo::app {

void Form1::ShowMessage(const std::string& text, settings::MessageKind kind) {
  if (kind == settings::MessageKind::Box)
    MsgBx(text, 0, std::string());
  else
    MsgBx(text, 0);
}

void Form1::SettingsSaved() {
  ApplyCaptions(strings(), *this, form2_, form3_);
  autoOptimize_.ReadSwitch();
  autoOptimize_.Arm(Timer1);
}

}  // namespace pravelo::app
