// The thread's message loop: the main loop of the program, the nested loops of modal
// windows, and the do-events of long handlers.
#pragma once

#include <windows.h>

#include <optional>

#include "platform/message_pump.h"

namespace pravelo {

class MessagePumpWin32 final : public MessagePump {
 public:
  void DoEvents() override;
  void WaitAndDispatch() override;
  void RunBesideMessages(const std::function<void()>& call) override;
  void WaitForLongCall() override;

  // Runs until WM_QUIT, wherever it was taken from the queue; returns its exit code.
  int Run();
  // The exit code of a WM_QUIT that a nested loop took from the queue.
  std::optional<int> QuitCode() const { return quitCode_; }

 private:
  // Translates and dispatches one message; Tab and the arrow keys move between the
  // controls of our windows as in a dialog.
  static void Dispatch(MSG& message);
  void DispatchWaiting();

  std::optional<int> quitCode_;
  HANDLE longCall_ = nullptr;  // the thread of the call RunBesideMessages waits for
};

}  // namespace pravelo
