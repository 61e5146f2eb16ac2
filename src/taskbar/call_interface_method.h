// Calls a method of a COM interface given only the interface pointer and the method's
// slot in its method table, through generated x86 code. Implemented for 32-bit Windows.
#pragma once

#include <cstdint>

#include "taskbar/taskbar_calls.h"

namespace pravelo::taskbar {

// Calls slot `slot` with the first `n` of p0 ... p9 after the interface pointer (a 64-bit
// value as two arguments, low half first; a pointer as its address) and returns what the
// method returned. Returns 0 without calling anything for a null interface, a negative
// slot, n outside 0 ... 10, or when no code block can be had. Takes no reference on the
// interface.
int32_t CallInterfaceMethod(std::uintptr_t interfacePointer, int32_t slot, int32_t n, uint32_t p0 = 0,
                            uint32_t p1 = 0, uint32_t p2 = 0, uint32_t p3 = 0, uint32_t p4 = 0,
                            uint32_t p5 = 0, uint32_t p6 = 0, uint32_t p7 = 0, uint32_t p8 = 0,
                            uint32_t p9 = 0);

// The same with the slot and arguments of one wrapper operation.
int32_t CallInterfaceMethod(std::uintptr_t interfacePointer, const InterfaceCall& call);

}  // namespace pravelo::taskbar
