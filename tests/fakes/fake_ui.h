// Stand-ins for the window binding: peers that count what the models changed, form peers
// whose modal runs and menus are scripted, and virtual time that fires the timers.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "fakes/fake_system.h"
#include "platform/message_pump.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace pravelo::fakes {

class RecordingPeer final : public ui::ControlPeer {
 public:
  void Apply(ui::Change change) override { ++changes[change]; }
  int Count(ui::Change change) const {
    auto it = changes.find(change);
    return it == changes.end() ? 0 : it->second;
  }
  std::map<ui::Change, int> changes;
};

class FakeFormPeer final : public ui::FormPeer {
 public:
  void Apply(ui::Change change) override { ++changes[change]; }
  void Create() override { ++created; }
  void Destroy() override { ++destroyed; }
  void RunModal(ui::Form* owner) override {
    modalOwners.push_back(owner);
    if (onModal) onModal();
  }
  ui::MenuItem* ChooseFromMenu(const std::vector<ui::MenuItem*>& items) override {
    ++menus;
    return onMenu ? onMenu(items) : nullptr;
  }
  // Each line is 16 pixels high.
  int TextHeight(std::string_view text) override {
    int lines = 1;
    for (char c : text) lines += c == '\n';
    return lines * 16;
  }
  void ApplyWindowState() override { ++stateChanges; }

  std::map<ui::Change, int> changes;
  int created = 0, destroyed = 0, menus = 0, stateChanges = 0;
  std::vector<ui::Form*> modalOwners;
  std::function<void()> onModal;
  // What the user chooses while the menu is open; nothing when empty.
  std::function<ui::MenuItem*(const std::vector<ui::MenuItem*>&)> onMenu;
};

// Virtual time: timers tick when time is advanced, in the order they come due.
class TimerDriver final : public ui::TimerPeer {
 public:
  explicit TimerDriver(FakeClock& clock) : clock_(clock) {}
  void Reset(const ui::Timer& timer) override;
  void Released(const ui::Timer& timer) override { due_.erase(&timer); }
  void Watch(ui::Timer& timer) { timer.Attach(this); }

  // Fires every tick that comes due up to now + ms.
  void Advance(uint64_t ms);
  // Moves to the next tick and fires it; false when no timer runs.
  bool FireNext();
  // Milliseconds until the timer's next tick; -1 when it does not run.
  int64_t DueIn(const ui::Timer& timer) const;

 private:
  FakeClock& clock_;
  std::map<const ui::Timer*, uint64_t> due_;
};

class FakePump final : public MessagePump {
 public:
  explicit FakePump(TimerDriver& timers) : timers_(timers) {}
  void DoEvents() override {
    ++doEvents;
    if (onDoEvents) onDoEvents();
  }
  void WaitAndDispatch() override {
    ++waits;
    if (!timers_.FireNext()) throw std::logic_error("waiting with no timer running");
  }
  // The window is served before and after the call, as it is while another thread runs it.
  void RunBesideMessages(const std::function<void()>& call) override {
    ++longCalls;
    DoEvents();
    call();
    DoEvents();
  }
  void WaitForLongCall() override { ++longCallWaits; }
  int doEvents = 0;
  int waits = 0;
  int longCalls = 0;
  int longCallWaits = 0;
  std::function<void()> onDoEvents;

 private:
  TimerDriver& timers_;
};

}  // namespace pravelo::fakes
