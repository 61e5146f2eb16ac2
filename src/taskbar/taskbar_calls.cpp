#include "taskbar/taskbar_calls.h"

namespace pravelo::taskbar {

InterfaceCall ReleaseCall() { return {kSlotRelease, {}}; }

InterfaceCall HrInitCall() { return {kSlotHrInit, {}}; }

InterfaceCall ProgressValueCall(WindowId hwnd, uint32_t completed, uint32_t total, CallWidth width) {
  if (width == CallWidth::X64) return {kSlotSetProgressValue, {hwnd, completed, total}};
  return {kSlotSetProgressValue, {hwnd, completed, 0, total, 0}};
}

InterfaceCall ProgressStateCall(WindowId hwnd, int32_t flags) {
  return {kSlotSetProgressState, {hwnd, static_cast<uint32_t>(flags)}};
}

InterfaceCall AddButtonsCall(WindowId hwnd, int32_t count, std::uintptr_t recordsAddress) {
  return {kSlotThumbBarAddButtons, {hwnd, static_cast<uint32_t>(count), recordsAddress}};
}

InterfaceCall OverlayIconCall(WindowId hwnd, NativeHandle icon, std::string_view description,
                              std::uintptr_t descriptionAddress) {
  return {kSlotSetOverlayIcon, {hwnd, icon, description.empty() ? 0 : descriptionAddress}};
}

InterfaceCall ThumbnailTooltipCall(WindowId hwnd, std::uintptr_t tipAddress) {
  return {kSlotSetThumbnailTooltip, {hwnd, tipAddress}};
}

InterfaceCall ThumbnailClipCall(WindowId hwnd, std::uintptr_t rectAddress) {
  return {kSlotSetThumbnailClip, {hwnd, rectAddress}};
}

}  // namespace pravelo::taskbar
