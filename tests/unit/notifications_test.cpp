#include <gtest/gtest.h>

#include "display/notifications.h"
#include "fakes/fake_ui.h"

namespace pravelo::display {
namespace {

// The notifications of a bare window: its peer measures 16 pixels a line.
struct Window {
  Window() {
    window.AttachForm(&peer);
    window.Show();
    timers.onLoaded = [this](int, ui::Timer& timer) { driver.Watch(timer); };
    buttons.onLoaded = [this](int, ui::Button& button) { button.Attach(&peers[&button], 0); };
    buttons.onUnloading = [this](int, ui::Button& button) { peers.erase(&button); };
  }
  int Shown() const { return static_cast<int>(buttons.Size()) - 1; }
  int Focused(int index) { return peers[&buttons[index]].Count(ui::Change::Focus); }

  ui::Form window{{0, 0, 400, 200}};
  fakes::FakeFormPeer peer;
  fakes::FakeClock clock;
  fakes::TimerDriver driver{clock};
  fakes::FakeDialogs dialogs;
  ui::ControlArray<ui::Button> buttons = NotificationButtons({0, 48, 217, 40});
  ui::ControlArray<ui::Timer> timers = NotificationTimers();
  std::map<ui::Control*, fakes::RecordingPeer> peers;
  Notifications notifications{window, buttons, timers, dialogs};
};

TEST(Notifications, WithAnyTitleAMessageBoxWithoutOneAButtonSizedToItsText) {
  Window w;
  w.notifications.MsgBx("up to date", std::string());
  ASSERT_EQ(w.dialogs.shown.size(), 1u);
  EXPECT_EQ(w.dialogs.shown[0].owner, fakes::FakeDialogs::kDesktop);
  EXPECT_EQ(w.dialogs.shown[0].caption, "Pravelo");
  EXPECT_EQ(w.Shown(), 0);
  struct Case {
    const char* prompt;
    int height;
  };
  for (const Case& c : {Case{"freed", 16 + 50}, Case{"first\r\nsecond", 32 + 50}}) {
    w.notifications.MsgBx(c.prompt, std::nullopt);
    const ui::Button& box = w.buttons[w.buttons.UpperBound()];
    EXPECT_EQ(box.Text(), c.prompt);
    EXPECT_TRUE(box.Visible());
    EXPECT_EQ(box.Left(), 0);
    EXPECT_EQ(box.Top(), 48);
    EXPECT_EQ(box.Width(), 217);
    EXPECT_EQ(box.Height(), c.height);
    EXPECT_EQ(w.Focused(w.buttons.UpperBound()), 1);
  }
  EXPECT_EQ(w.dialogs.shown.size(), 1u);
}

TEST(Notifications, CloseAfterTwoSecondsOnAClickOrWhenTheNextComes) {
  Window w;
  w.notifications.MsgBx("one", std::nullopt);
  w.driver.Advance(1990);
  EXPECT_TRUE(w.buttons.Contains(1));
  w.driver.Advance(20);
  EXPECT_EQ(w.Shown(), 0);
  EXPECT_FALSE(w.timers.Contains(1));
  EXPECT_EQ(w.notifications.Messages(), std::vector<std::string>{""});

  w.notifications.MsgBx("two", std::nullopt);
  ASSERT_TRUE(w.buttons.Contains(1));  // indexes start again at 1
  w.buttons[1].Click();
  EXPECT_EQ(w.Shown(), 0);
  EXPECT_FALSE(w.timers.Contains(1));

  for (const char* text : {"a", "b", "c"}) w.notifications.MsgBx(text, std::nullopt);
  EXPECT_EQ(w.Shown(), 1);
  EXPECT_EQ(w.buttons[3].Text(), "c");
  EXPECT_EQ(w.notifications.Messages().size(), 2u);
  w.driver.Advance(2001);
  EXPECT_EQ(w.Shown(), 0);
  EXPECT_EQ(w.notifications.Messages(), std::vector<std::string>{""});
}

TEST(Notifications, AHiddenWindowTakesNoFocusAndTheNotificationStillExpires) {
  Window w;
  w.window.Hide();
  w.notifications.MsgBx("while hidden", std::nullopt);
  ASSERT_TRUE(w.buttons.Contains(1));
  EXPECT_EQ(w.Focused(1), 0);
  w.window.Show();  // shown again within the two seconds: still there
  w.driver.Advance(1000);
  EXPECT_TRUE(w.buttons.Contains(1));
  w.driver.Advance(1001);
  EXPECT_FALSE(w.buttons.Contains(1));
}

TEST(Notifications, ClosingTheTemplateOrAMissingIndexIsHarmless) {
  Window w;
  w.notifications.MsgBx("kept", std::nullopt);
  for (int index : {0, 7}) w.notifications.Close(index);
  EXPECT_TRUE(w.buttons.Contains(0));
  EXPECT_TRUE(w.timers.Contains(0));
  EXPECT_TRUE(w.buttons.Contains(1));
  EXPECT_EQ(w.notifications.Messages().size(), 2u);
}

}  // namespace
}  // namespace pravelo::display
