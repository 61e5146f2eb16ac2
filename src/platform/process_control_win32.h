// Ending the process with ExitProcess.
#pragma once

#include "platform/process_control.h"

namespace pravelo {

class ProcessControlWin32 final : public ProcessControl {
 public:
  [[noreturn]] void EndProcess() override;
};

}  // namespace pravelo
