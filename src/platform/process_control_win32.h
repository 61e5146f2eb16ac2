// Ending the process with ExitProcess.
#pragma once

#include "platform/process_control.h"

namespace pravelo {

class ProcessControlWin32 final : public ProcessControl {
 protected:
  void End(uint32_t exitCode) override;
};

}  // namespace pravelo
