// Letting window messages run from inside a long handler.
#pragma once

namespace pravelo {

class MessagePump {
 public:
  virtual ~MessagePump() = default;
  // Dispatches every message waiting in the queue and returns.
  virtual void DoEvents() = 0;
  // Sleeps until a message arrives, then dispatches what is waiting.
  virtual void WaitAndDispatch() = 0;
};

}  // namespace pravelo
