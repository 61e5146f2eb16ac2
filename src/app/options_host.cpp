// What the main window does for the options window.
#include "app/captions.h"
#include "app/form1.h"
#include "simple/form3.h"

namespace pravelo::app {

void Form1::SettingsSaved() {
  ApplyCaptions(services_.strings, *this, form2_, form3_);
  autoOptimize_.ReadSwitch();
  autoOptimize_.Arm(Timer1);
}

}  // namespace pravelo::app
