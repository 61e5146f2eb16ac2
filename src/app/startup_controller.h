// What start-up decides: the settings and machine values written before any window, the
// switch the command line selects and what it does, and whether the window starts in the
// tray.
#pragma once

#include <string>

#include "app/command_line.h"
#include "app/optimize_command.h"
#include "platform/platform.h"
#include "settings/settings_store.h"
#include "settings/string_table.h"

namespace pravelo::app {

// What the main window offers start-up.
class StartupHost {
 public:
  virtual bool OptimizeMemory() = 0;
  virtual bool DeepOptimize() = 0;
  virtual void MoveToTray() = 0;
  // A message box over the main window.
  virtual void ShowBox(const std::string& text) = 0;
  virtual void ClearNotifications() = 0;
  virtual void Notify(const std::string& text) = 0;

 protected:
  ~StartupHost() = default;
};

class Startup {
 public:
  Startup(Platform& platform, settings::SettingsStore& store, settings::StringTable& strings,
          OptimizeCommand& command);

  // Before any window: the settings read so that a first start creates them, the machine
  // values written, and the switch; "/clean" ends here.
  CommandLineSwitch Begin();
  // Once the window is shown: what the switch does; "/a", "/b" and "/q" end here.
  void Act(const CommandLineSwitch& commandSwitch, StartupHost& host);
  bool StartsInTray();

 private:
  Platform& platform_;
  settings::SettingsStore& store_;
  settings::StringTable& strings_;
  OptimizeCommand& command_;
};

}  // namespace pravelo::app
