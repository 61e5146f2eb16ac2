// Letting window messages run from inside a long handler.
#pragma once

#include <functional>

namespace pravelo {

class MessagePump {
 public:
  virtual ~MessagePump() = default;
  // Dispatches every message waiting in the queue and returns.
  virtual void DoEvents() = 0;
  // Sleeps until a message arrives, then dispatches what is waiting.
  virtual void WaitAndDispatch() = 0;
  // Runs `call`, which can block for long, on another thread and dispatches messages until
  // it ends; the caller's sequence goes on only after it.
  virtual void RunBesideMessages(const std::function<void()>& call) = 0;
  // Waits for a call that RunBesideMessages started to end: nothing may end the process
  // under a request the system is carrying out.
  virtual void WaitForLongCall() = 0;
};

}  // namespace pravelo
