// The program's place in the notification area: the one tray record, whether the shell
// holds the icon, and when the icon must be added, modified or deleted.
#pragma once

#include <string_view>

#include "display/surfaces.h"
#include "display/tray_icon.h"
#include "display/tray_icon_data.h"

namespace pravelo::display {

class TrayPresence {
 public:
  explicit TrayPresence(Surfaces& surfaces) : surfaces_(surfaces) {}

  // Start-up: the record filled, with a first icon and the product's tip, but not added.
  void Prepare(WindowId callbackWindow);
  // Going to the tray: the icon is added. Also before start-up filled the record.
  void Enter(WindowId callbackWindow);
  // Every refresh: the canvas for this load, and in the tray the icon when it changed.
  void Refresh(int load, bool high);
  // Leaving the tray, or the program.
  void Leave();
  // Explorer started again: the icon it held is gone, and comes back when in the tray.
  void TaskbarCreated();

  bool InTray() const { return inTray_; }
  const TrayIconData& Record() const { return record_; }

 private:
  void FillFields(WindowId callbackWindow);
  // The record's icon is owned here: a new one replaces (and destroys) the last.
  void ReplaceIcon(NativeHandle icon);
  // Hands the record to the shell; the icon passed is destroyed after the call.
  bool Send(TrayOperation operation);

  Surfaces& surfaces_;
  TrayIconData record_;
  TrayIconCache cache_;
  bool inTray_ = false;  // the program sits in the tray (its windows hidden)
  bool shellHasIcon_ = false;
};

}  // namespace pravelo::display
