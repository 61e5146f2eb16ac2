// The x86 code that a subclassed window runs as its window procedure: it hands each
// message to a stdcall procedure together with an object address and the address of a
// result, then returns that result.
//
// The procedure is called as
//   HRESULT __stdcall procedure(object, hwnd, uMsg, wParam, lParam, LRESULT* result)
// and its own return value is ignored.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace pravelo::taskbar {

// Two hexadecimal digits per byte; the two zero runs are the object and procedure slots.
inline constexpr std::string_view kSubclassTemplate =
    "558BEC83C4FC8D45FC50FF7514FF7510FF750CFF75086800000000B800000000FFD08B45FCC9C21000";
inline constexpr std::size_t kSubclassThunkSize = kSubclassTemplate.size() / 2;
inline constexpr std::size_t kSubclassObjectOffset = 23;
inline constexpr std::size_t kSubclassProcedureOffset = 28;

using SubclassThunk = std::array<uint8_t, kSubclassThunkSize>;

SubclassThunk BuildSubclassThunk(uint32_t objectAddress, uint32_t procedureAddress);

}  // namespace pravelo::taskbar
