#include "ui/controls.h"

#include "ui/form.h"

namespace pravelo::ui {

void Control::SetText(std::string text) {
  text_ = std::move(text);
  Notify(Change::Text);
}

void Control::Move(Rect bounds) {
  bounds_ = bounds;
  Notify(Change::Geometry);
}

void Control::SetWidth(int width) {
  bounds_.width = width;
  Notify(Change::Geometry);
}

void Control::SetHeight(int height) {
  bounds_.height = height;
  Notify(Change::Geometry);
}

void Control::SetVisible(bool visible) {
  visible_ = visible;
  Notify(Change::Visible);
}

void Control::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Notify(Change::Enabled);
}

void Control::Attach(ControlPeer* peer, WindowId handle) {
  peer_ = peer;
  handle_ = handle;
}

void CheckBox::SetValue(int value) {
  value_ = value;
  Notify(Change::Value);
}

void CheckBox::Click() {
  if (!Enabled()) return;
  SetValue(value_ == 0 ? 1 : 0);
  if (onClick) onClick();
}

void ListBox::SetItems(std::vector<std::string> items) {
  items_ = std::move(items);
  index_ = -1;
  Notify(Change::Value);
}

void ListBox::SetListIndex(int index) {
  index_ = index >= 0 && static_cast<std::size_t>(index) < items_.size() ? index : -1;
  Notify(Change::Value);
}

void PictureBox::SetPicture(Picture picture) {
  picture_ = picture;
  Notify(Change::Picture);
}

void Timer::SetInterval(int intervalMs) {
  interval_ = intervalMs;
  Reset();
}

void Timer::SetEnabled(bool enabled) {
  enabled_ = enabled;
  Reset();
}

void Form::Load() {
  if (loaded_) return;
  loaded_ = true;
  if (formPeer_) formPeer_->Create();
  if (onLoad) onLoad();
}

void Form::Show() {
  Load();
  SetVisible(true);
}

void Form::Hide() {
  Load();
  SetVisible(false);
}

void Form::ShowModal(Form* owner) {
  Load();
  if (formPeer_) {
    formPeer_->RunModal(owner);
  } else {
    SetVisible(true);
  }
}

bool Form::Unload(CloseReason reason) {
  if (!loaded_) return true;
  bool cancel = false;
  if (onQueryUnload) onQueryUnload(cancel, reason);
  if (cancel) return false;
  if (onUnload) onUnload();
  loaded_ = false;
  SetVisible(false);
  if (formPeer_) formPeer_->Destroy();
  return true;
}

void Form::SetWindowState(WindowState state) {
  state_ = state;
  if (formPeer_) formPeer_->ApplyWindowState();
  // As a window does, a state set in code raises the resize event before the call returns.
  if (onResize) onResize();
}

MenuItem* Form::ChooseFromMenu(const std::vector<MenuItem*>& items) {
  return formPeer_ ? formPeer_->ChooseFromMenu(items) : nullptr;
}

int Form::TextHeight(std::string_view text) { return formPeer_ ? formPeer_->TextHeight(text) : 0; }

}  // namespace pravelo::ui
