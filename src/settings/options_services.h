// What the options window needs of the program, in place of the whole main window.
#pragma once

#include <optional>
#include <string>

#include "settings/update_command.h"
#include "settings/window_services.h"
#include "ui/controls.h"
#include "update/version_file.h"

namespace pravelo::settings {

class OptionsServices : public WindowServices, public UpdateCommandHost {
 public:
  // The options were saved: the captions and the automatic optimization follow them now.
  virtual void SettingsSaved() = 0;
  // The simple-mode window, which could open a message box during the update check.
  virtual ui::Control& SimpleWindow() = 0;
  // The release key the update trusts, X then Y in hexadecimal; empty trusts nothing.
  virtual const std::string& UpdateKey() const = 0;
  // Nothing when the version record could not be read.
  virtual const std::optional<update::Version>& OwnVersion() const = 0;

 protected:
  ~OptionsServices() = default;
};

}  // namespace pravelo::settings
