// Work that lets window messages run between its steps can be asked for again from one of
// those messages (a timer, the tray menu, the hotkey): that request does nothing.
#pragma once

namespace pravelo::base {

class ExclusiveRun {
 public:
  bool Running() const { return running_; }

  // Runs `work` unless work runs already; whether it ran. The hold is let go however the
  // work ends.
  template <typename Work>
  bool RunExclusive(Work&& work) {
    if (running_) return false;
    running_ = true;
    struct Release {
      bool& running;
      ~Release() { running = false; }
    } release{running_};
    work();
    return true;
  }

 private:
  bool running_ = false;
};

}  // namespace pravelo::base
