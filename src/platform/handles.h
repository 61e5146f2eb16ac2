// Handles and window identities as the portable core sees them: plain numbers that only
// the Windows adapters interpret.
#pragma once

#include <cstdint>

namespace pravelo {

using NativeHandle = std::uintptr_t;  // a kernel or GDI handle; 0 is none
using WindowId = std::uintptr_t;      // a window handle; 0 is none

}  // namespace pravelo
