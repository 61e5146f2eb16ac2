// The options window's Update button: one check at a time, nothing that could hold the
// check open while it waits, and its outcome told or acted on.
#pragma once

#include <functional>
#include <span>
#include <string>

#include "base/exclusive_run.h"
#include "settings/string_table.h"
#include "ui/controls.h"
#include "update/update_check.h"

namespace pravelo::settings {

enum class MessageKind {
  Box,     // a standard message box
  Notice,  // a notification inside the main window
};

class UpdateCommandHost {
 public:
  // The one guard that refuses a second run of any long work.
  virtual base::ExclusiveRun& busy() = 0;
  virtual void ShowMessage(const std::string& text, MessageKind kind) = 0;
  // Ends the program even where a close would move it to the tray: the new one replaces it.
  [[noreturn]] virtual void EndProgram() = 0;

 protected:
  ~UpdateCommandHost() = default;
};

// Runs `check` unless other work runs, in which case nothing at all happens. The check lets
// window messages run while it waits: `blocked` stay disabled meanwhile and are put back as
// they were before the outcome is told.
void RunUpdateCommand(UpdateCommandHost& host, StringTable& strings, std::span<ui::Control* const> blocked,
                      const std::function<update::UpdateOutcome()>& check);

}  // namespace pravelo::settings
