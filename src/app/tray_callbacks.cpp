#include "app/form1.h"
#include "settings/form2.h"
#include "simple/form3.h"

namespace pravelo::app {

void Form1::pichook_MouseMove(int x) {
  const int event = x;
  // Bringing the window back opens no loop of its own, so it works even during a pass.
  if (event == display::kTrayLeftButtonUp) {
    SetWindowState(ui::WindowState::Normal);
    openz_Click();
    return;
  }
  if (event != display::kTrayRightButtonUp) return;
  // The menu is a modal loop: none opens while a pass, the deep pass or an update check runs.
  // Its choice runs once the menu has closed and let the gate go, so that its pass can run.
  ui::MenuItem* chosen = nullptr;
  command_.Gate().RunExclusive([&] { chosen = ChooseFromMenu(msys); });
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

void Form1::optnz_Click() {
  // Chosen from the tray while the window is open already: a second modal loop would nest.
  if (form2_.Visible()) return form2_.Show();
  form2_.ShowModal(this);
}

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
