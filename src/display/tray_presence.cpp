#include "display/tray_presence.h"

#include "display/canvas_sizes.h"
#include "display/figures.h"
#include "pravelo_version.h"

namespace pravelo::display {

void TrayPresence::Prepare(WindowId callbackWindow) {
  FillFields(callbackWindow);
  ReplaceIcon(surfaces_.icon.MakeIcon());
  record_.szTip = TipField(PRAVELO_PRODUCT_NAME);
}

void TrayPresence::Enter(WindowId callbackWindow) {
  // "/tray" comes here before start-up has filled the record; an icon added without its
  // window and number could never be modified, clicked or deleted again.
  FillFields(callbackWindow);
  ReplaceIcon(surfaces_.icon.MakeIcon());
  inTray_ = true;
  Send(TrayOperation::Add);
}

void TrayPresence::Refresh(int load, bool high) {
  record_.cbSize = kTrayRecordSize;
  const std::string printed = PrintedNumber(load);
  const std::optional<int> bar = high ? std::optional<int>(IconBarWidth(load)) : std::nullopt;
  if (cache_.CanvasChanges(printed, bar)) {
    // Cleared first: digits printed over earlier digits would soon be unreadable.
    surfaces_.icon.Clear();
    if (bar) surfaces_.icon.PaintFillBar(*bar, kIconCanvasSize);
    surfaces_.icon.PrintText(kIconTextX, 0, printed);
  }
  const std::string tip = TrayTip(load);
  record_.szTip = TipField(tip);
  // Outside the tray a modify could only fail; inside it, an unchanged icon need not be sent.
  if (!inTray_ || !cache_.IconStale(tip)) return;
  ReplaceIcon(surfaces_.icon.MakeIcon());
  Send(shellHasIcon_ ? TrayOperation::Modify : TrayOperation::Add);
}

void TrayPresence::Leave() {
  Send(TrayOperation::Delete);
  inTray_ = false;
  shellHasIcon_ = false;
  cache_.ForgetSent();
}

void TrayPresence::TaskbarCreated() {
  shellHasIcon_ = false;
  cache_.ForgetSent();
  if (!inTray_) return;
  ReplaceIcon(surfaces_.icon.MakeIcon());
  Send(TrayOperation::Add);
}

void TrayPresence::FillFields(WindowId callbackWindow) {
  record_.cbSize = kTrayRecordSize;
  record_.hWnd = callbackWindow;
  record_.uID = kTrayIconId;
  record_.uFlags = kTrayFlags;
  record_.uCallbackMessage = kTrayCallbackMessage;
}

void TrayPresence::ReplaceIcon(NativeHandle icon) {
  if (record_.hIcon != 0) surfaces_.icon.DestroyIcon(record_.hIcon);
  record_.hIcon = icon;
}

bool TrayPresence::Send(TrayOperation operation) {
  const bool sent = surfaces_.tray.NotifyIcon(operation, record_);
  // The shell keeps its own copy of the icon.
  ReplaceIcon(0);
  if (operation == TrayOperation::Delete) return sent;
  // An add that failed (the shell not ready yet) or a modify of a lost icon is retried as
  // an add at the next refresh. An add refused because the shell has the icon already (a
  // second move to the tray) leaves it there, to be modified.
  shellHasIcon_ = sent || (operation == TrayOperation::Add && shellHasIcon_);
  if (sent) {
    cache_.IconSent(record_.szTip.substr(0, record_.szTip.find('\0')));
  } else {
    cache_.ForgetSent();
  }
  return sent;
}

}  // namespace pravelo::display
