#include "app/form1.h"
#include "display/figures.h"
#include "settings/form2.h"
#include "simple/form3.h"

namespace pravelo::app {

void Form1::DrawTrayIcon(int load, bool high) {
  display::Surfaces& surfaces = services_.surfaces;
  TrayIconData.cbSize = display::kTrayRecordSize;
  const std::string printed = display::PrintedNumber(load);
  const std::optional<int> bar = high ? std::optional<int>(display::IconBarWidth(load)) : std::nullopt;
  if (trayCache_.CanvasChanges(printed, bar)) {
    // Cleared first: digits printed over earlier digits would soon be unreadable.
    surfaces.icon.Clear();
    if (bar) surfaces.icon.PaintFillBar(*bar, display::kIconCanvasSize);
    surfaces.icon.PrintText(display::kIconTextX, 0, printed);
  }
  const std::string tip = display::TrayTip(load);
  TrayIconData.szTip = display::TipField(tip);
  // Outside the tray a modify could only fail; inside it, an unchanged icon need not be sent.
  if (!inTray_ || !trayCache_.IconStale(tip)) return;
  ReplaceRecordIcon(surfaces.icon.MakeIcon());
  SendTrayIcon(trayAdded_ ? display::TrayOperation::Modify : display::TrayOperation::Add);
}

void Form1::FillTrayRecordFields() {
  TrayIconData.cbSize = display::kTrayRecordSize;
  TrayIconData.hWnd = pichook.Handle();
  TrayIconData.uID = display::kTrayIconId;
  TrayIconData.uFlags = display::kTrayFlags;
  TrayIconData.uCallbackMessage = display::kTrayCallbackMessage;
}

void Form1::ReplaceRecordIcon(NativeHandle icon) {
  if (TrayIconData.hIcon != 0) services_.surfaces.icon.DestroyIcon(TrayIconData.hIcon);
  TrayIconData.hIcon = icon;
}

bool Form1::SendTrayIcon(display::TrayOperation operation) {
  const bool sent = services_.surfaces.tray.NotifyIcon(operation, TrayIconData);
  // The shell keeps its own copy of the icon.
  ReplaceRecordIcon(0);
  if (operation == display::TrayOperation::Delete) return sent;
  // An add that failed (the shell not ready yet) or a modify of a lost icon is retried as
  // an add at the next refresh. An add refused because the shell has the icon already (a
  // second move to the tray) leaves it there, to be modified.
  trayAdded_ = sent || (operation == display::TrayOperation::Add && trayAdded_);
  if (sent) {
    trayCache_.IconSent(TrayIconData.szTip.substr(0, TrayIconData.szTip.find('\0')));
  } else {
    trayCache_.ForgetSent();
  }
  return sent;
}

void Form1::RemoveTrayIcon() {
  SendTrayIcon(display::TrayOperation::Delete);
  inTray_ = false;
  trayAdded_ = false;
  trayCache_.ForgetSent();
}

void Form1::pichook_MouseMove(int x) {
  const int event = x;
  if (TrayBusy) return;
  TrayBusy = true;
  struct ClearBusy {
    bool& busy;
    ~ClearBusy() { busy = false; }
  } clearBusy{TrayBusy};
  if (event == display::kTrayLeftButtonUp) {
    SetWindowState(ui::WindowState::Normal);
    openz_Click();
  } else if (event == display::kTrayRightButtonUp) {
    PopupMenu(msys);
  }
}

void Form1::openz_Click() {
  if (SimpleMode) {
    form3_.Show();
  } else {
    Show();
  }
  Timer2.SetInterval(kTrayRefreshIntervalMs);
  RemoveTrayIcon();
}

void Form1::optiz_Click() { OptimizeMemory(); }

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

void Form1::TaskbarCreated() {
  // Explorer started again: the icon it held is gone.
  trayAdded_ = false;
  trayCache_.ForgetSent();
  if (!inTray_) return;
  ReplaceRecordIcon(services_.surfaces.icon.MakeIcon());
  SendTrayIcon(display::TrayOperation::Add);
}

void Form1::TaskbarButtonCreated() {
  if (IsWindows7) itbar_list3_->ThumbBarReAddButtons();
}

}  // namespace pravelo::app
