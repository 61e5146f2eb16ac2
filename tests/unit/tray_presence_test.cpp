#include <gtest/gtest.h>

#include "display/tray_presence.h"
#include "fakes/fake_surfaces.h"

namespace pravelo::display {
namespace {

constexpr WindowId kReceiver = 0xB00C;

struct Tray {
  fakes::FakeGraphCanvas graph;
  fakes::FakeIconCanvas icon;
  fakes::FakeTray shell;
  fakes::FakeRegion region;
  Surfaces surfaces{graph, icon, shell, region};
  TrayPresence tray{surfaces};
  std::string LastTip() const { return shell.calls.back().data.szTip.substr(0, 14); }
};

TEST(TrayPresence, OnlyInTheTrayAndOnlyWhatChangedIsSent) {
  Tray t;
  t.tray.Prepare(kReceiver);
  EXPECT_EQ(t.tray.Record().szTip.substr(0, 8), std::string("Pravelo") + '\0');
  for (int run = 0; run < 5; ++run) t.tray.Refresh(45, false);
  EXPECT_TRUE(t.shell.calls.empty());  // outside the tray nothing is sent
  t.tray.Enter(kReceiver);
  ASSERT_EQ(t.shell.calls.size(), 1u);
  const TrayIconData& added = t.shell.calls[0].data;
  EXPECT_EQ(t.shell.calls[0].operation, TrayOperation::Add);
  EXPECT_EQ(added.cbSize, 488u);
  EXPECT_EQ(added.hWnd, kReceiver);
  EXPECT_EQ(added.uFlags, 0x17u);
  EXPECT_NE(added.hIcon, 0u);
  for (int run = 0; run < 5; ++run) t.tray.Refresh(45, false);
  EXPECT_EQ(t.shell.calls.size(), 1u);  // the same digits and tip as the add carried
  t.tray.Refresh(46, false);
  ASSERT_EQ(t.shell.calls.size(), 2u);
  EXPECT_EQ(t.shell.calls.back().operation, TrayOperation::Modify);
  EXPECT_EQ(t.LastTip(), std::string("Pravelo - 46%") + '\0');
  EXPECT_EQ(t.shell.calls.back().data.szTip.find_first_not_of(' ', 14), std::string::npos);
  EXPECT_EQ(t.icon.live, 0);  // the shell keeps its own copies
  t.tray.Leave();
  EXPECT_FALSE(t.shell.present);
  EXPECT_FALSE(t.tray.InTray());
}

TEST(TrayPresence, AnIconTheShellLostOrRefusedIsAddedAgain) {
  struct Case {
    const char* name;
    bool firstAddAccepted;
    bool secondEnter;       // the shell refuses a second add of the same icon
    bool explorerRestarts;  // the shell forgets the icon
    TrayOperation next;     // what the next refresh or restart sends
  };
  const Case cases[] = {
      {"not ready at first", false, false, false, TrayOperation::Add},
      {"second move to the tray", true, true, false, TrayOperation::Modify},
      {"Explorer restarted", true, false, true, TrayOperation::Add},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Tray t;
    t.shell.acceptAdd = c.firstAddAccepted;
    t.tray.Enter(kReceiver);
    t.shell.acceptAdd = true;
    if (c.secondEnter) t.tray.Enter(kReceiver);
    if (c.explorerRestarts) {
      t.shell.present = false;
      t.tray.TaskbarCreated();
    } else {
      t.tray.Refresh(60, true);
    }
    EXPECT_EQ(t.shell.calls.back().operation, c.next);
    EXPECT_TRUE(t.shell.present);
    const std::size_t calls = t.shell.calls.size();
    t.tray.Refresh(60, true);
    if (!c.explorerRestarts) {
      EXPECT_EQ(t.shell.calls.size(), calls);  // nothing new to send
    }
  }
}

TEST(TrayPresence, ManyRefreshesLeaveNoIconBehind) {
  Tray t;
  t.tray.Enter(kReceiver);
  for (int run = 0; run < 2000; ++run) t.tray.Refresh(run % 101, run % 101 > 50);
  EXPECT_GT(t.icon.made, 1000);
  EXPECT_EQ(t.icon.live, 0);
}

TEST(TrayPresence, OutsideTheTrayExplorersRestartAddsNothing) {
  Tray t;
  t.tray.Prepare(kReceiver);
  t.tray.TaskbarCreated();
  EXPECT_TRUE(t.shell.calls.empty());
}

}  // namespace
}  // namespace pravelo::display
