// Ending the process at once: nothing after the call runs.
#pragma once

namespace pravelo {

class ProcessControl {
 public:
  virtual ~ProcessControl() = default;
  [[noreturn]] virtual void EndProcess() = 0;
};

}  // namespace pravelo
