#include "fakes/fake_ui.h"

namespace pravelo::fakes {

void TimerDriver::Reset(const ui::Timer& timer) {
  if (timer.Running()) {
    due_[&timer] = clock_.now + static_cast<uint64_t>(timer.Interval());
  } else {
    due_.erase(&timer);
  }
}

bool TimerDriver::FireNext() {
  if (due_.empty()) return false;
  auto next = due_.begin();
  for (auto it = due_.begin(); it != due_.end(); ++it) {
    if (it->second < next->second) next = it;
  }
  auto* timer = const_cast<ui::Timer*>(next->first);
  clock_.now = std::max(clock_.now, next->second);
  next->second = clock_.now + static_cast<uint64_t>(timer->Interval());
  timer->Fire();
  return true;
}

void TimerDriver::Advance(uint64_t ms) {
  const uint64_t end = clock_.now + ms;
  for (;;) {
    uint64_t earliest = end + 1;
    for (const auto& [timer, due] : due_) earliest = std::min(earliest, due);
    if (earliest > end) break;
    FireNext();
  }
  clock_.now = end;
}

int64_t TimerDriver::DueIn(const ui::Timer& timer) const {
  auto it = due_.find(&timer);
  return it == due_.end() ? -1 : static_cast<int64_t>(it->second - clock_.now);
}

}  // namespace pravelo::fakes
