#include <gtest/gtest.h>

#include "fakes/app_fixture.h"

namespace pravelo {
namespace {

using fakes::AppFixture;
using fakes::ProcessEnded;

TEST(SimpleMode, OptimizeShowsTheKoreanConfirmationInEveryLanguage) {
  AppFixture f;
  f.Start();
  f.form1().Command7_Click();
  f.form3().Command4.Click();
  EXPECT_GT(f.machine.opened.size(), 0u);
  ASSERT_EQ(f.dialogs.shown.size(), 1u);
  EXPECT_EQ(f.dialogs.shown[0].text, "최적화가 되었습니다.");
  EXPECT_EQ(f.dialogs.shown[0].caption, "Pravelo");
  EXPECT_EQ(f.dialogs.shown[0].style, 64u);
}

TEST(SimpleMode, TrayKeepsSimpleModeForTheRestore) {
  AppFixture f;
  f.Start();
  f.form1().Command7_Click();
  f.form3().Command1.Click();
  EXPECT_FALSE(f.form3().Visible());
  EXPECT_TRUE(f.form1().SimpleMode);
  EXPECT_TRUE(f.tray.present);
  f.form1().openz_Click();
  EXPECT_TRUE(f.form3().Visible());
  EXPECT_FALSE(f.form1().Visible());
}

TEST(SimpleMode, TogleBringsTheMainWindowBackAndStopsTheTaskbarRedirect) {
  AppFixture f;
  f.Start();
  f.form1().Command7_Click();
  f.form3().Command3.Click();
  EXPECT_FALSE(f.form1().SimpleMode);
  EXPECT_FALSE(f.form3().Visible());
  EXPECT_TRUE(f.form1().Visible());
  f.taskbar->calls.clear();
  f.form1().UpdateDisplay();
  EXPECT_EQ(f.taskbar->calls.front().window, fakes::kForm1Window);
}

TEST(SimpleMode, EndEndsEvenWhereCloseGoesToTheTray) {
  AppFixture f;
  f.SetSetting("MinAtClose", "1");
  f.Start();
  f.form1().Command7_Click();
  f.clock.now += 60 * 1000;  // an automatic optimization is due
  const int listings = f.machine.listings;
  EXPECT_THROW(f.form3().Command2.Click(), ProcessEnded);
  // Straight out: no icon left behind in the tray, no optimization on the way.
  EXPECT_FALSE(f.tray.present);
  EXPECT_EQ(f.machine.listings, listings);
}

TEST(SimpleMode, AltF4AndTheCloseBoxCloseTheProgram) {
  {
    AppFixture f;
    f.Start();
    f.form1().Command7_Click();
    f.form3().Form_KeyDown(115, 0);  // F4 alone
    f.form3().Form_KeyDown(65, 4);   // Alt+A
    EXPECT_EQ(f.process.ended, 0);
    EXPECT_THROW(f.form3().Form_KeyDown(115, 4), ProcessEnded);
  }
  {
    AppFixture f;
    f.Start();
    f.form1().Command7_Click();
    EXPECT_THROW(f.form3().Unload(ui::CloseReason::User), ProcessEnded);
  }
  {
    AppFixture f;
    f.SetSetting("MinAtClose", "1");
    f.Start();
    f.form1().Command7_Click();
    f.form3().Form_KeyDown(115, 4);
    EXPECT_TRUE(f.tray.present);  // the main window's close rule applies
    EXPECT_EQ(f.process.ended, 0);
  }
}

TEST(SimpleMode, BarAndLabelsFollowTheLoad) {
  AppFixture f;
  f.memory.load = 100;
  f.Start();
  EXPECT_EQ(f.form3().Picture3.Width(), 72);
  EXPECT_EQ(f.form3().Label1.Text(), "100%");
  EXPECT_EQ(f.form3().Label2.Text(), "100%");
}

}  // namespace
}  // namespace pravelo
