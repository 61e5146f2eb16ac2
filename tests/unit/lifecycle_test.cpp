#include <gtest/gtest.h>

#include "fakes/app_fixture.h"

namespace pravelo {
namespace {

using fakes::AppFixture;
using fakes::ProcessEnded;
using ui::CloseReason;

TEST(CloseRequest, MinAtCloseMustBeExactlyTheTextOne) {
  struct Case {
    std::optional<std::string> minAtClose;
    bool toTray;
  };
  const Case cases[] = {{"1", true}, {"01", false}, {"true", false}, {"0", false}, {std::nullopt, false}, {"1 ", false}};
  for (const Case& c : cases) {
    AppFixture f;
    if (c.minAtClose) f.SetSetting("MinAtClose", *c.minAtClose);
    f.Start();
    if (c.toTray) {
      EXPECT_FALSE(f.form1().Unload(CloseReason::User));
      EXPECT_FALSE(f.form1().Visible());
      EXPECT_TRUE(f.tray.present);
      EXPECT_EQ(f.process.ended, 0);
    } else {
      EXPECT_THROW(f.form1().Unload(CloseReason::User), ProcessEnded) << c.minAtClose.value_or("missing");
      EXPECT_FALSE(f.tray.present);
    }
    if (!c.minAtClose) {
      EXPECT_EQ(f.Setting("MinAtClose"), "0");  // read, hence created
    }
  }
}

TEST(CloseRequest, OnlyTheSimpleWindowVisibleStillGoesToTheTray) {
  AppFixture f;
  f.SetSetting("MinAtClose", "1");
  f.Start();
  f.form1().Command7_Click();
  EXPECT_FALSE(f.form1().Unload(CloseReason::Code));
  EXPECT_FALSE(f.form3().Visible());
  EXPECT_TRUE(f.tray.present);
}

TEST(CloseRequest, InTheTrayWithNothingVisibleTheCloseGoesAhead) {
  AppFixture f;
  f.SetSetting("MinAtClose", "1");
  f.Start();
  f.form1().Command2_Click();
  EXPECT_THROW(f.form1().Unload(CloseReason::TaskManager), ProcessEnded);
  EXPECT_FALSE(f.tray.present);  // the unload removed the icon
}

TEST(CloseRequest, ShutdownEndsWithoutReadingTheSetting) {
  AppFixture f;
  f.SetSetting("MinAtClose", "1");
  f.Start();
  const int writesBefore = f.registry.writes;
  EXPECT_THROW(f.form1().Unload(CloseReason::Shutdown), ProcessEnded);
  EXPECT_EQ(f.registry.writes, writesBefore);
  EXPECT_FALSE(f.taskbar->Named("terminate").empty());
}

TEST(Resize, MinimizeTrayRoundsHalvesToEven) {
  const std::pair<const char*, bool> cases[] = {{"0.4", false}, {"0.5", false}, {"0.6", true},
                                                {"1.5", true},  {"1", true},    {"abc", false}};
  for (const auto& [setting, acts] : cases) {
    AppFixture f;
    f.SetSetting("MinimizeTray", setting);
    f.Start();
    f.form1().Command5_Click();
    EXPECT_EQ(f.tray.present, acts) << setting;
    EXPECT_EQ(!f.form1().Visible(), acts) << setting;
    if (acts) {
      auto clips = f.taskbar->Named("clip");
      ASSERT_EQ(clips.size(), 1u);
      EXPECT_EQ(clips[0].values, (std::vector<int64_t>{0, 0, 407, 179}));
      EXPECT_EQ(f.form1().Timer2.Interval(), 590);
    }
  }
}

TEST(Resize, MaximizeOrRestoreNeverGoesToTheTray) {
  AppFixture f;
  f.SetSetting("MinimizeTray", "1");
  f.Start();
  f.form1().SetWindowState(ui::WindowState::Maximized);
  f.form1().SetWindowState(ui::WindowState::Normal);
  EXPECT_TRUE(f.tray.calls.empty());
  EXPECT_TRUE(f.form1().Visible());
}

TEST(Resize, NoThumbnailClipOutsideWindowsSeven) {
  AppFixture f;
  f.memory.version = fakes::FakeMemoryApi::VersionOf(10, 0);
  f.SetSetting("MinimizeTray", "1");
  f.Start();
  f.form1().Command5_Click();
  EXPECT_TRUE(f.tray.present);
  EXPECT_TRUE(f.taskbar->Named("clip").empty());
}

}  // namespace
}  // namespace pravelo
