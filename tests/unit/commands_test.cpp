#include <gtest/gtest.h>

#include "fakes/app_fixture.h"

namespace pravelo {
namespace {

using fakes::AppFixture;
using fakes::ProcessEnded;

constexpr uint64_t kBytesPerProgramMb = 1024000;

std::string ShownNotification(AppFixture& f) {
  const int top = f.form1().Status.UpperBound();
  return top == 0 ? std::string() : f.form1().Status[top].Text();
}

TEST(OptimizeCommand, ReportsMeasuredBeforeAndAfter) {
  AppFixture f;
  f.Start();
  // 1024.25 MB before the pass; the pass frees 512.5 MB.
  const uint64_t before = 1024250 * kBytesPerProgramMb / 1000;
  const uint64_t after = 1536750 * kBytesPerProgramMb / 1000;
  f.memory.availableSource = [&] { return f.machine.opened.empty() ? before : after; };
  f.form1().Command1.Click();
  EXPECT_EQ(ShownNotification(f), "Optimized.512.5MB\r\n1024.25 MB -> 1536.75 MB");
  EXPECT_TRUE(f.form1().Timer2.Enabled());
  EXPECT_TRUE(f.dialogs.shown.empty());
}

TEST(MoveToTray, HidesBothWindowsAddsTheIconAndSlowsTheRefresh) {
  AppFixture f;
  f.Start();
  f.form3().Show();
  f.form1().Command2.Click();
  EXPECT_FALSE(f.form1().Visible());
  EXPECT_FALSE(f.form3().Visible());
  ASSERT_EQ(f.tray.Count(display::TrayOperation::Add), 1u);
  const display::TrayIconData& added = f.tray.calls.back().data;
  EXPECT_EQ(added.uFlags, 0x17u);
  EXPECT_NE(added.hIcon, 0u);
  EXPECT_EQ(f.form1().Timer2.Interval(), 590);
  EXPECT_EQ(f.icon.live, 0);  // the shell keeps its own copy; ours is destroyed
}

TEST(OptionsCommand, OpensTheOptionsWindowModallyOverTheMainWindow) {
  AppFixture f;
  f.Start();
  f.form1().Command3.Click();
  ASSERT_EQ(f.form2Peer.modalOwners.size(), 1u);
  EXPECT_EQ(f.form2Peer.modalOwners[0], &f.form1());
}

TEST(MinimizeCommand, MinimizesAndTheResizeRuleDecides) {
  AppFixture f;
  f.Start();
  f.form1().Command5.Click();
  EXPECT_EQ(f.form1().State(), ui::WindowState::Minimized);
  EXPECT_TRUE(f.tray.calls.empty());  // "MinimizeTray" is 0
}

TEST(SimpleModeCommand, SwapsTheWindowsAndClipsTheThumbnail) {
  AppFixture f;
  f.Start();
  f.form1().Command7.Click();
  EXPECT_TRUE(f.form1().SimpleMode);
  EXPECT_TRUE(f.form3().Visible());
  EXPECT_FALSE(f.form1().Visible());
  auto clips = f.taskbar->Named("clip");
  ASSERT_EQ(clips.size(), 1u);
  const simple::Form3& simple = f.form3();
  EXPECT_EQ(clips[0].window, fakes::kForm1Window);
  EXPECT_EQ(clips[0].values,
            (std::vector<int64_t>{simple.Picture3.Left(), 0, simple.Width(), simple.Picture3.Height()}));
}

TEST(DeepOptimizeCommand, DisablesItselfReportsAndRestartsWithTheFigureBefore) {
  AppFixture f;
  f.environment.programFolder = "C:\\Program Files\\Pravelo";
  f.memory.availableBytes = 1536 * kBytesPerProgramMb + 400000;  // 1536.39 MB
  f.SetSetting("MinAtClose", "1");  // the restart ends this instance all the same
  f.Start();
  bool disabledDuringPass = false;
  bool passRanWhileDisabled = false;
  f.pump.onDoEvents = [&] {
    if (!f.form1().Command8.Enabled()) {
      disabledDuringPass = true;
      f.form1().Command8.Click();  // the button cannot be clicked meanwhile
      const int listings = f.machine.listings;
      f.form1().optiz_Click();  // and the standard pass does nothing
      passRanWhileDisabled = f.machine.listings != listings;
    }
  };
  f.memory.loadSource = [n = 0]() mutable { return ++n > 40 ? 96u : 45u; };
  EXPECT_THROW(f.form1().Command8.Click(), ProcessEnded);
  EXPECT_TRUE(disabledDuringPass);
  EXPECT_FALSE(passRanWhileDisabled);
  EXPECT_TRUE(f.form1().Command8.Enabled());
  ASSERT_EQ(f.launcher.started.size(), 1u);
  EXPECT_EQ(f.launcher.started[0].commandLine, "\"C:\\Program Files\\Pravelo\\pravelo.exe\" /o 1536");
  EXPECT_EQ(f.launcher.started[0].showStyle, 1);
  EXPECT_EQ(ShownNotification(f), "Optimize2 Complete");
  EXPECT_EQ(f.tray.Count(display::TrayOperation::Add), 0u);  // not moved to the tray
}

TEST(ExplanationCommand, LineBreaksAndTitle) {
  {
    AppFixture f;
    f.Start();
    f.form1().Command10.Click();
    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    EXPECT_EQ(f.dialogs.shown[0].text, f.strings.Text(113));  // the English text has no \n
    EXPECT_EQ(f.dialogs.shown[0].caption, "Pravelo");
    EXPECT_EQ(f.dialogs.shown[0].owner, fakes::FakeDialogs::kDesktop);
  }
  {
    AppFixture f;
    f.strings = fakes::RcStringTable(settings::kLanguageKorean);
    f.Start();
    f.form1().Command10_Click();
    ASSERT_EQ(f.dialogs.shown.size(), 1u);
    const std::string& text = f.dialogs.shown[0].text;
    EXPECT_NE(text.find("기법입니다.\r\n작업중에는"), std::string::npos);
    EXPECT_EQ(text.find("\\n"), std::string::npos);
  }
}

TEST(ExitMenuItem, RemovesTheIconAndEnds) {
  AppFixture f;
  f.Start();
  f.form1().Command2_Click();
  EXPECT_THROW(f.form1().endez.onClick(), ProcessEnded);
  EXPECT_FALSE(f.tray.present);
  EXPECT_GE(f.tray.Count(display::TrayOperation::Delete), 1u);
  ASSERT_FALSE(f.taskbar->Named("terminate").empty());
}

}  // namespace
}  // namespace pravelo
