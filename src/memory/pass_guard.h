// The pass lets window messages run between its steps, so a timer, the tray menu or the
// hotkey can ask for a pass while one runs: that request does nothing.
#pragma once

namespace pravelo::memory {

class PassGuard {
 public:
  bool Running() const { return running_; }

  // Runs `pass` unless one runs already; whether it ran. The guard is let go however the
  // pass ends.
  template <typename Pass>
  bool RunExclusive(Pass&& pass) {
    if (running_) return false;
    running_ = true;
    struct Release {
      bool& running;
      ~Release() { running = false; }
    } release{running_};
    pass();
    return true;
  }

 private:
  bool running_ = false;
};

}  // namespace pravelo::memory
