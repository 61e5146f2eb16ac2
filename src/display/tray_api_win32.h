// The tray record handed to the shell.
#pragma once

#include <windows.h>

#include <shellapi.h>

#include "display/surfaces.h"
#include "display/tray_icon_data.h"

namespace pravelo::display {

// The shell's wide record for `data`: the same fields and flags, the tip up to its NUL.
NOTIFYICONDATAW ToNotifyIconData(const TrayIconData& data);

class TrayApiWin32 final : public TrayApi {
 public:
  bool NotifyIcon(TrayOperation operation, const TrayIconData& data) override;
};

}  // namespace pravelo::display
