// Calls a method of a COM interface given only the interface pointer and the method's
// slot in its method table, through generated code of the program's own width.
// Implemented for Windows only.
#pragma once

#include <cstdint>

#include "taskbar/taskbar_calls.h"

namespace pravelo::taskbar {

// Calls slot `slot` with the first `n` of p0 ... p9 after the interface pointer (a pointer
// as its address; a 64-bit value as two arguments, low half first, in the 32-bit program
// and as one in the 64-bit program) and returns what the method returned. Returns 0
// without calling anything for a null interface, a negative slot, n outside 0 ... 10, or
// when no code block can be had. Takes no reference on the interface.
int32_t CallInterfaceMethod(std::uintptr_t interfacePointer, int32_t slot, int32_t n, std::uintptr_t p0 = 0,
                            std::uintptr_t p1 = 0, std::uintptr_t p2 = 0, std::uintptr_t p3 = 0,
                            std::uintptr_t p4 = 0, std::uintptr_t p5 = 0, std::uintptr_t p6 = 0,
                            std::uintptr_t p7 = 0, std::uintptr_t p8 = 0, std::uintptr_t p9 = 0);

// The same with the slot and arguments of one wrapper operation.
int32_t CallInterfaceMethod(std::uintptr_t interfacePointer, const InterfaceCall& call);

}  // namespace pravelo::taskbar
