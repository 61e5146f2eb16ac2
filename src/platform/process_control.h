// Ending the process at once: nothing after the call runs.
#pragma once

#include <cstdint>
#include <exception>

namespace pravelo {

class ProcessControl {
 public:
  virtual ~ProcessControl() = default;
  [[noreturn]] void EndProcess(uint32_t exitCode = 0) {
    End(exitCode);
    std::terminate();  // End never returns
  }

 protected:
  virtual void End(uint32_t exitCode) = 0;
};

}  // namespace pravelo
