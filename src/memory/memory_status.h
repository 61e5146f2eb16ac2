// The program's view of the machine: available memory, load and version, each taken
// afresh on every call.
#pragma once

#include <cstdint>

#include "base/currency.h"
#include "platform/memory_api.h"

namespace pravelo::memory {

// Available physical memory in units of 1,024,000 bytes, to two decimals.
Currency GetAvailableMemory(MemoryApi& memory);
// A byte count of available memory in the same unit and rounding.
Currency AvailableMemoryOf(uint64_t bytes);
// Memory load in percent.
int16_t GetMemoryLoad(MemoryApi& memory);
// major.minor read as one decimal number: 6.1, 6 for 6.0, 4.1 for 4.10.
double GetWindowsVersion(MemoryApi& memory);

}  // namespace pravelo::memory
