// Portable models of the windows' controls. Handlers change a model; the model tells its
// peer (the Win32 binding in the program, a recording fake in tests), which brings the
// real control up to date. What the user changes comes back through the *FromUser calls,
// which do not echo to the peer.
#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/handles.h"

namespace pravelo::ui {

enum class Change { Text, Geometry, Visible, Enabled, Value, Picture, Focus };

class ChildBinding;
class PictureBinding;

class ControlPeer {
 public:
  virtual ~ControlPeer() = default;
  virtual void Apply(Change change) = 0;
  // The program is built without run-time type information: a peer says what it is.
  virtual ChildBinding* AsChildBinding() { return nullptr; }
  virtual PictureBinding* AsPictureBinding() { return nullptr; }
};

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

class Control {
 public:
  Control() = default;
  explicit Control(Rect bounds, std::string text = {}) : text_(std::move(text)), bounds_(bounds) {}
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control() = default;

  const std::string& Text() const { return text_; }
  void SetText(std::string text);

  const Rect& Bounds() const { return bounds_; }
  int Left() const { return bounds_.left; }
  int Top() const { return bounds_.top; }
  int Width() const { return bounds_.width; }
  int Height() const { return bounds_.height; }
  void Move(Rect bounds);
  void SetWidth(int width);
  void SetHeight(int height);

  bool Visible() const { return visible_; }
  void SetVisible(bool visible);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  void SetFocus() { Notify(Change::Focus); }

  // The real window behind the model; 0 in tests and before the binding.
  WindowId Handle() const { return handle_; }
  void Attach(ControlPeer* peer, WindowId handle);
  void Detach() { Attach(nullptr, 0); }
  ControlPeer* Peer() const { return peer_; }

  // State the user changed in the real control.
  void SetTextFromUser(std::string text) { text_ = std::move(text); }
  void SetBoundsFromUser(Rect bounds) { bounds_ = bounds; }

 protected:
  void Notify(Change change) {
    if (peer_) peer_->Apply(change);
  }

 private:
  std::string text_;
  Rect bounds_;
  bool visible_ = true;
  bool enabled_ = true;
  WindowId handle_ = 0;
  ControlPeer* peer_ = nullptr;
};

class Label : public Control {
 public:
  using Control::Control;
};

class TextBox : public Control {
 public:
  using Control::Control;
};

class Button : public Control {
 public:
  using Control::Control;
  std::function<void()> onClick;
  // A click by the user, which a disabled button never receives. The handler may unload
  // this very button, so it runs from a copy.
  void Click() {
    if (!Enabled() || !onClick) return;
    auto handler = onClick;
    handler();
  }
};

class CheckBox : public Control {
 public:
  using Control::Control;
  // 0 clear, 1 checked, 2 grayed.
  int Value() const { return value_; }
  void SetValue(int value);
  void SetValueFromUser(int value) { value_ = value; }
  std::function<void()> onClick;
  // A click by the user: toggles the box, then runs the handler.
  void Click();

 private:
  int value_ = 0;
};

// A list of texts to pick one from.
class ListBox : public Control {
 public:
  using Control::Control;
  const std::vector<std::string>& Items() const { return items_; }
  // New items leave nothing picked.
  void SetItems(std::vector<std::string> items);
  // The picked item's index; -1 for none.
  int ListIndex() const { return index_; }
  // An index outside the items picks none.
  void SetListIndex(int index);
  void SetListIndexFromUser(int index) { index_ = index; }

 private:
  std::vector<std::string> items_;
  int index_ = -1;
};

// The pictures a picture box can show.
enum class Picture { None, BarGreen, BarGrey, BarRed, Grid, IconStrip, Logo };

class PictureBox : public Control {
 public:
  using Control::Control;
  PictureBox(Rect bounds, Picture picture) : Control(bounds), picture_(picture) {}
  Picture CurrentPicture() const { return picture_; }
  void SetPicture(Picture picture);

 private:
  Picture picture_ = Picture::None;
};

class Timer;

class TimerPeer {
 public:
  virtual ~TimerPeer() = default;
  // The interval or the enabled state changed: the countdown starts again.
  virtual void Reset(const Timer& timer) = 0;
  // The timer is going away.
  virtual void Released(const Timer& timer) = 0;
};

class Timer {
 public:
  explicit Timer(int intervalMs = 0, bool enabled = true) : interval_(intervalMs), enabled_(enabled) {}
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;
  ~Timer() {
    if (peer_) peer_->Released(*this);
  }

  // Milliseconds; 0 gives no ticks.
  int Interval() const { return interval_; }
  void SetInterval(int intervalMs);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  // A free text the handlers keep with the timer.
  const std::string& Tag() const { return tag_; }
  void SetTag(std::string tag) { tag_ = std::move(tag); }
  // Whether the timer ticks at all.
  bool Running() const { return enabled_ && interval_ > 0; }

  std::function<void()> onTimer;
  // The handler may unload this very timer, so it runs from a copy.
  void Fire() {
    if (!onTimer) return;
    auto handler = onTimer;
    handler();
  }

  void Attach(TimerPeer* peer) {
    peer_ = peer;
    Reset();
  }

 private:
  void Reset() {
    if (peer_) peer_->Reset(*this);
  }
  int interval_;
  bool enabled_;
  std::string tag_;
  TimerPeer* peer_ = nullptr;
};

struct MenuItem {
  std::string caption;
  std::function<void()> onClick;
};

}  // namespace pravelo::ui
