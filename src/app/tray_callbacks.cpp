#include "app/form1.h"
#include "settings/form2.h"
#include "simple/form3.h"

namespace pravelo::app {

void Form1::pichook_MouseMove(int x) {
  const int event = x;
  // A callback while the menu is open, or while a pass runs, is dropped. The menu's choice
  // runs once the menu has closed and let the gate go, so that its pass can run.
  ui::MenuItem* chosen = nullptr;
  command_.Gate().RunExclusive([&] {
    if (event == display::kTrayLeftButtonUp) {
      SetWindowState(ui::WindowState::Normal);
      openz_Click();
    } else if (event == display::kTrayRightButtonUp) {
      chosen = ChooseFromMenu(msys);
    }
  });
  if (chosen && chosen->onClick) chosen->onClick();
}

void Form1::openz_Click() {
  if (SimpleMode) {
    form3_.Show();
  } else {
    Show();
  }
  Timer2.SetInterval(display::kTrayRefreshIntervalMs);
  tray_.Leave();
}

void Form1::optnz_Click() { form2_.ShowModal(this); }

void Form1::itbar_list3_ButtonPressed(int16_t index) {
  switch (index) {
    case 0:
      Command1_Click();
      break;
    case 1:
      form2_.Show();
      break;
    case 2:
      Command8_Click();
      break;
    default:
      break;
  }
}

void Form1::TaskbarCreated() { tray_.TaskbarCreated(); }

void Form1::TaskbarButtonCreated() {
  if (facts_.IsWindows7) itbar_list3_->ThumbBarReAddButtons();
}

}  // namespace pravelo::app
