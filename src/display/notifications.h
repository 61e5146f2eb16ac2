// MsgBx: a message box when a title is given (even empty), otherwise a notification inside
// the window, a button that closes after two seconds, on a click, or when the next one comes.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/dialogs.h"
#include "ui/control_array.h"
#include "ui/form.h"

namespace pravelo::display {

inline constexpr int kNotificationMs = 2000;

// The arrays' templates: a hidden button at `bounds`, a disabled two-second timer.
ui::ControlArray<ui::Button> NotificationButtons(ui::Rect bounds);
ui::ControlArray<ui::Timer> NotificationTimers();

class Notifications {
 public:
  // The buttons and timers belong to `window`, which measures the texts.
  Notifications(ui::Form& window, ui::ControlArray<ui::Button>& buttons, ui::ControlArray<ui::Timer>& timers,
                Dialogs& dialogs);

  void MsgBx(const std::string& prompt, std::optional<std::string> title);
  // Closes notification `index`: its timer ran out or its button was clicked.
  void Close(int index);
  // Start-up: none shown, the list holds its one empty entry.
  void Clear() { messages_.assign(1, std::string()); }
  const std::vector<std::string>& Messages() const { return messages_; }

 private:
  ui::Form& window_;
  ui::ControlArray<ui::Button>& buttons_;
  ui::ControlArray<ui::Timer>& timers_;
  Dialogs& dialogs_;
  std::vector<std::string> messages_{std::string()};
};

}  // namespace pravelo::display
