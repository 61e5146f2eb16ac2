#include "ui/timer_binding_win32.h"

namespace pravelo::ui {

TimerBinding::TimerBinding(Timer& timer, UINT_PTR id) : timer_(&timer), id_(id) { timer_->Attach(this); }

TimerBinding::~TimerBinding() {
  SetWindow(nullptr);
  if (timer_) timer_->Attach(nullptr);
}

void TimerBinding::SetWindow(HWND window) {
  if (window_ && window_ != window) KillTimer(window_, id_);
  window_ = window;
  if (window_ && timer_) Reset(*timer_);
}

void TimerBinding::Reset(const Timer& timer) {
  if (!window_) return;
  if (timer.Running()) {
    // Setting an existing timer again starts its countdown afresh.
    SetTimer(window_, id_, static_cast<UINT>(timer.Interval()), nullptr);
  } else {
    KillTimer(window_, id_);
  }
}

void TimerBinding::Released(const Timer&) {
  if (window_) KillTimer(window_, id_);
  timer_ = nullptr;
}

void TimerBinding::OnTick() {
  if (timer_ && timer_->Running()) timer_->Fire();
}

}  // namespace pravelo::ui
