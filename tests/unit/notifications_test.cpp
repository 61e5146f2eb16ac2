#include <gtest/gtest.h>

#include "fakes/app_fixture.h"

namespace pravelo {
namespace {

using fakes::AppFixture;

int VisibleNotifications(app::Form1& form) {
  int count = 0;
  for (int i = 1; i <= form.Status.UpperBound(); ++i) count += form.Status.Contains(i) ? 1 : 0;
  return count;
}

TEST(MsgBx, WithAnyTitleAMessageBoxWithoutOneANotification) {
  AppFixture f;
  f.Start();
  f.form1().MsgBx("up to date", 0, std::string());
  ASSERT_EQ(f.dialogs.shown.size(), 1u);
  EXPECT_EQ(f.dialogs.shown[0].caption, "Pravelo");
  EXPECT_EQ(f.dialogs.shown[0].style, 0u);
  EXPECT_EQ(VisibleNotifications(f.form1()), 0);
  f.form1().MsgBx("freed", 64);
  EXPECT_EQ(f.dialogs.shown.size(), 1u);
  ASSERT_TRUE(f.form1().Status.Contains(1));
  const ui::Button& box = f.form1().Status[1];
  EXPECT_EQ(box.Text(), "freed");
  EXPECT_TRUE(box.Visible());
  EXPECT_EQ(box.Left(), 0);
  EXPECT_EQ(box.Top(), 48);
  EXPECT_EQ(box.Width(), 217);
  EXPECT_EQ(box.Height(), 16 + 50);
  EXPECT_EQ(f.PeerOf(f.form1().Status[1]).Count(ui::Change::Focus), 1);
}

TEST(MsgBx, TwoLinePromptIsTwoLinesHighPlusFifty) {
  AppFixture f;
  f.Start();
  f.form1().MsgBx("first\r\nsecond", 0);
  EXPECT_EQ(f.form1().Status[1].Height(), 32 + 50);
}

TEST(MsgBx, ClosesAfterTwoSecondsOrOnAClick) {
  AppFixture f;
  f.Start();
  f.form1().MsgBx("one", 0);
  f.timers.Advance(1990);
  EXPECT_TRUE(f.form1().Status.Contains(1));
  f.timers.Advance(20);
  EXPECT_FALSE(f.form1().Status.Contains(1));
  EXPECT_FALSE(f.form1().msgtimer.Contains(1));
  EXPECT_EQ(f.form1().messageList.size(), 1u);

  f.form1().MsgBx("two", 0);
  ASSERT_TRUE(f.form1().Status.Contains(1));  // indexes start again at 1
  f.form1().Status[1].Click();
  EXPECT_FALSE(f.form1().Status.Contains(1));
  EXPECT_FALSE(f.form1().msgtimer.Contains(1));
  f.timers.Advance(5000);  // its timer went with it
  EXPECT_EQ(f.form1().messageList.size(), 1u);
}

TEST(MsgBx, EachNewNotificationClosesTheOneBefore) {
  AppFixture f;
  f.Start();
  f.form1().MsgBx("a", 0);
  f.form1().MsgBx("b", 0);
  f.form1().MsgBx("c", 0);
  EXPECT_EQ(VisibleNotifications(f.form1()), 1);
  EXPECT_EQ(f.form1().Status[3].Text(), "c");
  f.timers.Advance(2001);
  EXPECT_EQ(VisibleNotifications(f.form1()), 0);
  EXPECT_EQ(f.form1().messageList, std::vector<std::string>{""});
  f.form1().MsgBx("d", 0);
  EXPECT_TRUE(f.form1().Status.Contains(1));
}

TEST(MsgBx, HiddenWindowTakesNoFocusAndTheNotificationExpires) {
  AppFixture f;
  f.Start();
  f.form1().Command2_Click();
  f.form1().MsgBx("while hidden", 0);
  ASSERT_TRUE(f.form1().Status.Contains(1));
  EXPECT_EQ(f.PeerOf(f.form1().Status[1]).Count(ui::Change::Focus), 0);
  f.form1().openz_Click();  // shown again within the two seconds: still there
  EXPECT_TRUE(f.form1().Status.Contains(1));
  f.timers.Advance(2001);
  EXPECT_FALSE(f.form1().Status.Contains(1));
}

TEST(MsgBx, ClosingAMissingIndexIsHarmless) {
  AppFixture f;
  f.Start();
  f.form1().msgtimer_Timer(0);
  f.form1().msgtimer_Timer(7);
  EXPECT_EQ(f.form1().messageList.size(), 1u);
  EXPECT_TRUE(f.form1().msgtimer.Contains(0));
  EXPECT_TRUE(f.form1().Status.Contains(0));
}

}  // namespace
}  // namespace pravelo
