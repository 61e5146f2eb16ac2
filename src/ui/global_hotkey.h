// A key combination the system reports to the window whichever program has the focus.
#pragma once

#include <cstdint>
#include <functional>

namespace pravelo::ui {

class GlobalHotkeyPeer {
 public:
  virtual ~GlobalHotkeyPeer() = default;
  // Replaces any earlier combination; false when the system refused it, which is what it
  // does when another program holds the combination.
  virtual bool Register(uint32_t modifiers, uint32_t virtualKey) = 0;
  virtual void Unregister() = 0;
};

class GlobalHotkey {
 public:
  // True without a peer: nothing refused it.
  bool Set(uint32_t modifiers, uint32_t virtualKey) {
    return !peer_ || peer_->Register(modifiers, virtualKey);
  }
  void Clear() {
    if (peer_) peer_->Unregister();
  }
  void Attach(GlobalHotkeyPeer* peer) { peer_ = peer; }

  std::function<void()> onPressed;
  void Press() {
    if (onPressed) onPressed();
  }

 private:
  GlobalHotkeyPeer* peer_ = nullptr;
};

}  // namespace pravelo::ui
