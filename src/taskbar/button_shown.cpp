#include "taskbar/button_shown.h"

#include "taskbar/taskbar_list.h"

namespace pravelo::taskbar {

bool ButtonShown::ShowsValue(WindowId window, uint32_t completed, uint32_t total) const {
  return value_ && value_->window == window && value_->completed == completed && value_->total == total;
}

bool ButtonShown::ShowsState(WindowId window, int32_t flags) const {
  return state_ && state_->window == window && state_->flags == flags;
}

bool ButtonShown::ShowsTooltip(WindowId window, std::string_view tip) const {
  return tooltipWindow_ == window && tooltip_ == tip;
}

void ButtonShown::ValueSet(WindowId window, uint32_t completed, uint32_t total) {
  value_ = Value{window, completed, total};
}

void ButtonShown::StateSet(WindowId window, int32_t flags) {
  if (flags == kNoProgress || flags == kProgressIndeterminate) value_.reset();
  state_ = State{window, flags};
}

void ButtonShown::TooltipSet(WindowId window, std::string_view tip) {
  tooltipWindow_ = window;
  tooltip_ = tip;
}

void ButtonShown::Forget() { *this = ButtonShown(); }

}  // namespace pravelo::taskbar
