// Which method of the taskbar list interface each wrapper operation calls, with which
// arguments after the interface pointer. Addresses of records and texts are given by the
// caller, who keeps them alive for the call.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/handles.h"
#include "taskbar/call_width.h"

namespace pravelo::taskbar {

// The taskbar list object and its ITaskbarList3 interface, as text for the conversions.
inline constexpr wchar_t kTaskbarListClassText[] = L"{56FDF344-FD6D-11d0-958A-006097C9A090}";
inline constexpr wchar_t kTaskbarList3InterfaceText[] = L"{EA1AFB91-9E28-4B86-90E9-9E9F8A5EEFAF}";

// Slots in the interface's method table, in the published ITaskbarList3 order.
enum TaskbarSlot : int32_t {
  kSlotRelease = 2,
  kSlotHrInit = 3,
  kSlotSetProgressValue = 9,
  kSlotSetProgressState = 10,
  kSlotThumbBarAddButtons = 15,
  kSlotSetOverlayIcon = 18,
  kSlotSetThumbnailTooltip = 19,
  kSlotSetThumbnailClip = 20,
};

struct InterfaceCall {
  int32_t slot = 0;
  std::vector<uint64_t> arguments;  // p0 first, each one machine word of the call's width
};

InterfaceCall ReleaseCall();
InterfaceCall HrInitCall();
// Both counts go out as 64-bit values: two words, low half first, on x86; one word on x64.
InterfaceCall ProgressValueCall(WindowId hwnd, uint32_t completed, uint32_t total,
                                CallWidth width = kNativeCallWidth);
InterfaceCall ProgressStateCall(WindowId hwnd, int32_t flags);
InterfaceCall AddButtonsCall(WindowId hwnd, int32_t count, std::uintptr_t recordsAddress);
// An empty description goes out as a null text address.
InterfaceCall OverlayIconCall(WindowId hwnd, NativeHandle icon, std::string_view description,
                              std::uintptr_t descriptionAddress);
InterfaceCall ThumbnailTooltipCall(WindowId hwnd, std::uintptr_t tipAddress);
InterfaceCall ThumbnailClipCall(WindowId hwnd, std::uintptr_t rectAddress);

}  // namespace pravelo::taskbar
