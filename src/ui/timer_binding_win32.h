// The peer of a timer model: a system timer on its form's window.
#pragma once

#include <windows.h>

#include "ui/controls.h"

namespace pravelo::ui {

class TimerBinding final : public TimerPeer {
 public:
  // `id` is unique within the window for as long as the binding lives.
  TimerBinding(Timer& timer, UINT_PTR id);
  TimerBinding(const TimerBinding&) = delete;
  TimerBinding& operator=(const TimerBinding&) = delete;
  // Stops the timer and detaches the model, which must still live.
  ~TimerBinding() override;

  // The form's window exists (now runs as the model says) or is gone (null).
  void SetWindow(HWND window);
  void Reset(const Timer& timer) override;
  // The model went first: the system timer stops and the binding forgets the model.
  void Released(const Timer& timer) override;
  // A WM_TIMER for this id; a stale one after a stop is dropped.
  void OnTick();

  Timer* Model() const { return timer_; }
  UINT_PTR Id() const { return id_; }

 private:
  Timer* timer_;
  UINT_PTR id_;
  HWND window_ = nullptr;
};

}  // namespace pravelo::ui
