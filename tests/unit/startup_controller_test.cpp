#include <gtest/gtest.h>

#include "app/startup_controller.h"
#include "fakes/fake_platform.h"

namespace pravelo::app {
namespace {

struct Window final : StartupHost {
  bool OptimizeMemory() override { return ++passes; }
  bool DeepOptimize() override { return ++deepPasses; }
  void MoveToTray() override { inTray = true; }
  void ShowBox(const std::string& text) override { boxes.push_back(text); }
  void ClearNotifications() override { notifications.clear(); }
  void Notify(const std::string& text) override { notifications.push_back(text); }

  int passes = 0;
  int deepPasses = 0;
  bool inTray = false;
  std::vector<std::string> boxes;
  std::vector<std::string> notifications{"from before"};
};

TEST(StartupController, EachSwitchDoesItsOneThing) {
  struct Case {
    const char* line;
    int passes;
    int deepPasses;
    bool inTray;
    std::vector<std::string> boxes;
    std::vector<std::string> notifications;
    std::optional<uint32_t> exitCode;  // nothing: start-up goes on
  };
  const Case cases[] = {
      {"", 0, 0, false, {}, {}, std::nullopt},
      {"/a", 1, 0, false, {}, {"from before"}, 0},
      {"/b", 0, 1, false, {}, {"from before"}, 0},
      {"/tray", 0, 0, true, {}, {}, std::nullopt},
      {"/u", 0, 0, false, {"C:\\Tools\\pravelo"}, {}, std::nullopt},
      {"/o 1536", 0, 0, false, {}, {"Optimize2 Complete\r\n1536 MB ->2000 MB"}, std::nullopt},
      {"/q other", 0, 0, false, {}, {}, 0},  // nothing verified: nothing copied or started
      {"/clean bogus", 0, 0, false, {}, {"from before"}, kCleanUnknownArea},
      {"/A", 0, 0, false, {}, {}, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    fakes::FakePlatform f;
    f.environment.commandLine = c.line;
    f.memory.availableBytes = 2048000000;  // 2000 of its 1,024,000-byte megabytes
    settings::SettingsStore store{f.registry};
    fakes::RcStringTable strings{settings::kLanguageEnglish};
    OptimizeCommand command{f.platform, store, {}};
    Startup startup{f.platform, store, strings, command};
    Window window;
    bool ended = false;
    try {
      startup.Act(startup.Begin(), window);
    } catch (const fakes::ProcessEnded&) {
      ended = true;
    }
    EXPECT_EQ(window.passes, c.passes);
    EXPECT_EQ(window.deepPasses, c.deepPasses);
    EXPECT_EQ(window.inTray, c.inTray);
    EXPECT_EQ(window.boxes, c.boxes);
    EXPECT_EQ(window.notifications, c.notifications);
    EXPECT_EQ(ended ? std::optional(f.process.exitCode) : std::nullopt, c.exitCode);
    EXPECT_TRUE(f.launcher.started.empty());
  }
}

}  // namespace
}  // namespace pravelo::app
