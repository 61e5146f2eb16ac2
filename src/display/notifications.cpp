#include "display/notifications.h"

#include "pravelo_version.h"

namespace pravelo::display {
namespace {

constexpr int kNotificationExtraHeight = 50;

}  // namespace

ui::ControlArray<ui::Button> NotificationButtons(ui::Rect bounds) {
  auto templ = std::make_unique<ui::Button>(bounds);
  templ->SetVisible(false);
  return ui::ControlArray<ui::Button>(std::move(templ), [](const ui::Button& from) {
    auto button = std::make_unique<ui::Button>(from.Bounds(), from.Text());
    button->SetVisible(false);
    return button;
  });
}

ui::ControlArray<ui::Timer> NotificationTimers() {
  return ui::ControlArray<ui::Timer>(
      std::make_unique<ui::Timer>(kNotificationMs, false),
      [](const ui::Timer& from) { return std::make_unique<ui::Timer>(from.Interval(), from.Enabled()); });
}

Notifications::Notifications(ui::Form& window, ui::ControlArray<ui::Button>& buttons,
                             ui::ControlArray<ui::Timer>& timers, Dialogs& dialogs)
    : window_(window), buttons_(buttons), timers_(timers), dialogs_(dialogs) {}

void Notifications::MsgBx(const std::string& prompt, std::optional<std::string> title) {
  if (title) {
    dialogs_.MessageBox(dialogs_.DesktopWindow(), prompt, PRAVELO_PRODUCT_NAME, 0);
    return;
  }
  messages_.push_back(prompt);
  const int k = timers_.UpperBound() + 1;
  ui::Timer& timer = timers_.Load(k);
  timer.SetTag(std::to_string(messages_.size() - 1));
  timer.onTimer = [this, k] { Close(k); };
  timer.SetEnabled(true);

  ui::Button& box = buttons_.Load(k);
  box.SetHeight(window_.TextHeight(prompt) + kNotificationExtraHeight);
  box.SetText(prompt);
  box.onClick = [this, k] { Close(k); };
  box.SetVisible(true);

  if (buttons_.UpperBound() != 1) Close(buttons_.UpperBound() - 1);
  // A hidden window cannot take the focus, and a notification must not pull it forward:
  // the notification stays in the window and expires as usual.
  if (window_.Visible()) box.SetFocus();
}

void Notifications::Close(int index) {
  if (index == 0 || !timers_.Contains(index)) return;
  timers_[index].SetEnabled(false);
  // The list keeps its first, empty entry.
  if (messages_.size() > 1) {
    const auto at = static_cast<std::size_t>(index);
    if (at < messages_.size())
      messages_.erase(messages_.begin() + static_cast<std::ptrdiff_t>(at));
    else
      messages_.pop_back();
  }
  timers_.Unload(index);
  buttons_.Unload(index);
}

}  // namespace pravelo::display
