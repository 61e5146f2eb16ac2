// The two calling conventions the generated calls and records are laid out for.
#pragma once

namespace pravelo::taskbar {

enum class CallWidth {
  X86,  // 32-bit stdcall: arguments pushed, a 64-bit value as two halves
  X64,  // Microsoft x64: four register arguments, the rest on the stack, 64-bit words
};

inline constexpr CallWidth kNativeCallWidth = sizeof(void*) == 8 ? CallWidth::X64 : CallWidth::X86;

}  // namespace pravelo::taskbar
