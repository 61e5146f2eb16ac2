// What the simple window needs of the program, in place of the whole main window.
#pragma once

#include "platform/dialogs.h"

namespace pravelo::simple {

class SimpleModeHost {
 public:
  // A manual optimization; whether it ran (it does not while another pass runs).
  virtual bool OptimizeMemory() = 0;
  virtual void MoveToTray() = 0;
  // Ends the program even where a close would move it to the tray.
  virtual void EndProgram() = 0;
  // Closes the main window as a user's close would: maybe to the tray, maybe the end.
  virtual void CloseMainWindow() = 0;
  // Leaves simple mode: the main window comes back in place of this one.
  virtual void BackToMainWindow() = 0;
  virtual Dialogs& dialogs() = 0;

 protected:
  ~SimpleModeHost() = default;
};

}  // namespace pravelo::simple
