#include "taskbar/taskbar_calls.h"

namespace pravelo::taskbar {

namespace {

// Handles are 32-bit values in the interface's 32-bit calling convention.
uint32_t Value(std::uintptr_t handle) { return static_cast<uint32_t>(handle); }

}  // namespace

InterfaceCall ReleaseCall() { return {kSlotRelease, {}}; }

InterfaceCall HrInitCall() { return {kSlotHrInit, {}}; }

InterfaceCall ProgressValueCall(WindowId hwnd, uint32_t completed, uint32_t total) {
  return {kSlotSetProgressValue, {Value(hwnd), completed, 0, total, 0}};
}

InterfaceCall ProgressStateCall(WindowId hwnd, int32_t flags) {
  return {kSlotSetProgressState, {Value(hwnd), static_cast<uint32_t>(flags)}};
}

InterfaceCall AddButtonsCall(WindowId hwnd, int32_t count, uint32_t recordsAddress) {
  return {kSlotThumbBarAddButtons, {Value(hwnd), static_cast<uint32_t>(count), recordsAddress}};
}

InterfaceCall OverlayIconCall(WindowId hwnd, NativeHandle icon, std::string_view description,
                              uint32_t descriptionAddress) {
  return {kSlotSetOverlayIcon, {Value(hwnd), Value(icon), description.empty() ? 0 : descriptionAddress}};
}

InterfaceCall ThumbnailTooltipCall(WindowId hwnd, uint32_t tipAddress) {
  return {kSlotSetThumbnailTooltip, {Value(hwnd), tipAddress}};
}

InterfaceCall ThumbnailClipCall(WindowId hwnd, uint32_t rectAddress) {
  return {kSlotSetThumbnailClip, {Value(hwnd), rectAddress}};
}

}  // namespace pravelo::taskbar
