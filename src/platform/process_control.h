// Ending the process at once: nothing after the call runs.
#pragma once

#include <exception>

namespace pravelo {

class ProcessControl {
 public:
  virtual ~ProcessControl() = default;
  [[noreturn]] void EndProcess() {
    End();
    std::terminate();  // End never returns
  }

 protected:
  virtual void End() = 0;
};

}  // namespace pravelo
