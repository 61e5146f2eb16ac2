#include "app/form1.h"
#include "pravelo_version.h"

namespace pravelo::app {
namespace {

constexpr int kNotificationExtraHeight = 50;

}  // namespace

void Form1::MsgBx(const std::string& prompt, int /*button*/, std::optional<std::string> title) {
  Platform& p = platform();
  if (title) {
    p.dialogs.MessageBox(p.dialogs.DesktopWindow(), prompt, PRAVELO_PRODUCT_NAME, 0);
    return;
  }
  messageList.push_back(prompt);
  const int k = msgtimer.UpperBound() + 1;
  ui::Timer& timer = msgtimer.Load(k);
  timer.SetTag(std::to_string(messageList.size() - 1));
  timer.onTimer = [this, k] { msgtimer_Timer(k); };
  timer.SetEnabled(true);

  ui::Button& box = Status.Load(k);
  box.SetHeight(TextHeight(prompt) + kNotificationExtraHeight);
  box.SetText(prompt);
  box.onClick = [this, k] { Status_Click(k); };
  box.SetVisible(true);

  if (Status.UpperBound() != 1) msgtimer_Timer(Status.UpperBound() - 1);
  // A hidden window cannot take the focus, and a notification must not pull it forward:
  // the notification stays in the window and expires as usual.
  if (Visible()) box.SetFocus();
}

void Form1::msgtimer_Timer(int index) {
  if (index == 0 || !msgtimer.Contains(index)) return;
  msgtimer[index].SetEnabled(false);
  // The list keeps its first, empty entry.
  if (messageList.size() > 1) {
    const auto at = static_cast<std::size_t>(index);
    if (at < messageList.size()) messageList.erase(messageList.begin() + static_cast<std::ptrdiff_t>(at));
    else messageList.pop_back();
  }
  msgtimer.Unload(index);
  Status.Unload(index);
}

}  // namespace pravelo::app
