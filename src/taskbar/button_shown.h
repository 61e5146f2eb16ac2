// What the taskbar button shows from the calls made so far: the progress value, the
// progress state and the thumbnail's tooltip. A call that would set what the button shows
// already may be left out; the refresh repeats the same calls several times a second, and
// each one is a message to the shell.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/handles.h"

namespace pravelo::taskbar {

class ButtonShown {
 public:
  bool ShowsValue(WindowId window, uint32_t completed, uint32_t total) const;
  bool ShowsState(WindowId window, int32_t flags) const;
  bool ShowsTooltip(WindowId window, std::string_view tip) const;

  // Calls the shell accepted.
  void ValueSet(WindowId window, uint32_t completed, uint32_t total);
  // The states without a bar (none, indeterminate) drop the value; the coloured ones keep it.
  void StateSet(WindowId window, int32_t flags);
  void TooltipSet(WindowId window, std::string_view tip);

  // The button was made anew (the shell restarted, the window came back from the tray):
  // it shows none of what was set on the old one.
  void Forget();

 private:
  struct Value {
    WindowId window;
    uint32_t completed;
    uint32_t total;
  };
  struct State {
    WindowId window;
    int32_t flags;
  };
  std::optional<Value> value_;
  std::optional<State> state_;
  std::optional<WindowId> tooltipWindow_;
  std::string tooltip_;
};

}  // namespace pravelo::taskbar
