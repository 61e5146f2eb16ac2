// What start-up learns of the machine once: the installed memory and the Windows version.
#pragma once

#include <cstdint>

#include "platform/memory_api.h"

namespace pravelo::app {

struct MachineFacts {
  double TotalMem = 0;      // KB; 0 when it cannot be read
  int32_t TotalPhysMB = 0;  // rounded, half to even
  bool IsWindows7 = false;  // the taskbar's progress and thumbnail buttons
};

MachineFacts ReadMachineFacts(MemoryApi& memory);

}  // namespace pravelo::app
