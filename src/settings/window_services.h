// What a settings window needs of the program, in place of the whole main window.
#pragma once

#include "memory/optimizer.h"
#include "platform/platform.h"
#include "settings/settings_store.h"
#include "settings/string_table.h"

namespace pravelo::settings {

class WindowServices {
 public:
  virtual Platform& platform() = 0;
  virtual SettingsStore& store() = 0;
  virtual StringTable& strings() = 0;
  virtual memory::Optimizer& optimizer() = 0;
  // Puts the saved automation into force; false when another program holds the hotkey.
  virtual bool ApplyAutomation() = 0;

 protected:
  ~WindowServices() = default;
};

}  // namespace pravelo::settings
