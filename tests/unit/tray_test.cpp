#include <gtest/gtest.h>

#include "display/tray_icon.h"
#include "fakes/app_fixture.h"

namespace pravelo {
namespace {

using fakes::AppFixture;
using fakes::ProcessEnded;

constexpr int kLeftUp = 0x202;
constexpr int kRightUp = 0x205;

TEST(TrayCallback, LeftClickRestoresTheRightWindowAndRemovesTheIcon) {
  for (bool simpleMode : {false, true}) {
    AppFixture f;
    f.Start();
    if (simpleMode) f.form1().Command7_Click();
    f.form1().Command2_Click();
    f.form1().SetWindowState(ui::WindowState::Minimized);
    f.form1().pichook_MouseMove(kLeftUp);
    EXPECT_EQ(f.form1().State(), ui::WindowState::Normal);
    EXPECT_EQ(f.form1().Visible(), !simpleMode);
    EXPECT_EQ(f.form3().Visible(), simpleMode);
    EXPECT_FALSE(f.tray.present);
    EXPECT_EQ(f.form1().Timer2.Interval(), 590);
  }
}

TEST(TrayCallback, DoubleClickShowsTwiceAndTheSecondDeleteIsHarmless) {
  AppFixture f;
  f.Start();
  f.form1().Command2_Click();
  f.form1().pichook_MouseMove(kLeftUp);
  f.form1().pichook_MouseMove(kLeftUp);
  EXPECT_TRUE(f.form1().Visible());
  EXPECT_EQ(f.tray.Count(display::TrayOperation::Delete), 2u);
}

TEST(TrayCallback, RightClickOpensOneMenuAndOtherEventsDoNothing) {
  AppFixture f;
  f.Start();
  f.form1().Command2_Click();
  int nested = 0;
  f.form1Peer.onMenu = [&](const std::vector<ui::MenuItem*>& items) -> ui::MenuItem* {
    std::vector<std::string> captions;
    for (const ui::MenuItem* item : items) captions.push_back(item->caption);
    EXPECT_EQ(captions, (std::vector<std::string>{"열기", "최적화", "옵션", "종료"}));
    // A second click while the menu is open is dropped.
    if (++nested == 1) f.form1().pichook_MouseMove(kRightUp);
    return nullptr;
  };
  f.form1().pichook_MouseMove(kRightUp);
  EXPECT_EQ(f.form1Peer.menus, 1);
  for (int event : {0x200, 0x201, 0x203, 0x204, 0x206}) f.form1().pichook_MouseMove(event);
  EXPECT_EQ(f.form1Peer.menus, 1);
  EXPECT_FALSE(f.form1().Visible());
  f.form1().pichook_MouseMove(kRightUp);  // not busy any more
  EXPECT_EQ(f.form1Peer.menus, 2);
}

TEST(TrayMenu, ItemsRunTheirCommands) {
  AppFixture f;
  f.Start();
  f.form1().Command2_Click();
  f.form1().optiz.onClick();
  EXPECT_GT(f.machine.opened.size(), 0u);
  f.form1().optnz.onClick();
  ASSERT_EQ(f.form2Peer.modalOwners.size(), 1u);
  EXPECT_EQ(f.form2Peer.modalOwners[0], &f.form1());
  f.form1().openz.onClick();
  EXPECT_TRUE(f.form1().Visible());
  f.form1().Command2_Click();
  f.form1Peer.onMenu = [&](const std::vector<ui::MenuItem*>& items) { return items[3]; };
  EXPECT_THROW(f.form1().pichook_MouseMove(kRightUp), ProcessEnded);
  EXPECT_FALSE(f.tray.present);
}

// One gate refuses a second run of anything: the menu holds it while it is open, and lets
// it go before the chosen item runs, so that the item's own pass is not refused.
TEST(TrayMenu, NoMenuOpensInsideAPassOrTheOptionsAndItsChoiceRunsAfterIt) {
  AppFixture f;
  f.Start();
  f.form1().Command2_Click();
  int menus = 0;
  f.form1Peer.onMenu = [&](const std::vector<ui::MenuItem*>& items) {
    ++menus;
    EXPECT_FALSE(f.form1().OptimizeMemory());  // a timer's pass while the menu is open
    return items[1];
  };
  int callbacksDuringPass = 0;
  f.pump.onDoEvents = [&] {
    if (callbacksDuringPass++ == 0) {
      f.form1().pichook_MouseMove(kRightUp);
      f.form1().pichook_MouseMove(kLeftUp);  // bringing the window back opens no menu
    }
  };
  f.form1().pichook_MouseMove(kRightUp);
  EXPECT_EQ(menus, 1);                  // the menu inside the chosen pass found the gate held
  EXPECT_GT(callbacksDuringPass, 0);    // so the chosen item's pass did run
  EXPECT_TRUE(f.form1().Visible());     // and the window came back during it
  EXPECT_FALSE(f.form1().Optimization().Gate().Running());
  f.pump.onDoEvents = nullptr;
  f.form1Peer.onMenu = [&](const std::vector<ui::MenuItem*>& items) {
    ++menus;
    return items[2];  // the options, twice: the second brings the open window forward
  };
  f.form2Peer.onModal = [&] {
    f.form2().SetVisible(true);  // as the window's own modal loop does
    f.form1().pichook_MouseMove(kRightUp);
  };
  f.form1().pichook_MouseMove(kRightUp);
  EXPECT_EQ(menus, 3);
  EXPECT_EQ(f.form2Peer.modalOwners.size(), 1u);
}

TEST(ThumbnailButtons, DispatchByIndex) {
  AppFixture f;
  f.Start();
  f.form1().itbar_list3_ButtonPressed(1);
  EXPECT_TRUE(f.form2().Visible());
  EXPECT_TRUE(f.form2Peer.modalOwners.empty());  // modeless, no owner
  f.form1().itbar_list3_ButtonPressed(0);
  EXPECT_EQ(f.form1().Status[f.form1().Status.UpperBound()].Text().rfind("Optimized.", 0), 0u);
  const int listings = f.machine.listings;
  for (int16_t index : {int16_t{3}, int16_t{6}, int16_t{-1}}) f.form1().itbar_list3_ButtonPressed(index);
  EXPECT_EQ(f.machine.listings, listings);
  EXPECT_THROW(f.taskbar->ButtonPressed(2), ProcessEnded);  // Optimize2, then the restart
  EXPECT_EQ(f.launcher.started.size(), 1u);
}

TEST(ThumbnailButtons, AddedAgainWhenTheTaskbarButtonIsCreatedAgain) {
  AppFixture f;
  f.Start();
  f.form1().TaskbarButtonCreated();
  EXPECT_EQ(f.taskbar->Named("readd").size(), 1u);
  AppFixture ten;
  ten.memory.version = fakes::FakeMemoryApi::VersionOf(10, 0);
  ten.Start();
  ten.form1().TaskbarButtonCreated();
  EXPECT_TRUE(ten.taskbar->Named("readd").empty());
}

TEST(TrayIconCanvas, EachNewPictureStartsFromAClearCanvas) {
  AppFixture f;
  f.memory.load = 60;
  f.Start();
  ASSERT_EQ(f.icon.bars.size(), 1u);
  f.memory.load = 40;
  f.form1().UpdateDisplay();
  EXPECT_TRUE(f.icon.bars.empty());  // the earlier red bar went with the clear
  ASSERT_EQ(f.icon.printed.size(), 1u);
  EXPECT_EQ(f.icon.printed[0].text, " 40 ");
  const int clears = f.icon.clears;
  f.form1().UpdateDisplay();  // the same picture again: nothing drawn
  EXPECT_EQ(f.icon.clears, clears);
}

TEST(TrayIconCache, RedrawsAndResendsOnlyOnChange) {
  display::TrayIconCache cache;
  EXPECT_TRUE(cache.CanvasChanges(" 45 ", std::nullopt));
  EXPECT_TRUE(cache.IconStale("Pravelo - 45%"));
  cache.IconSent("Pravelo - 45%");
  EXPECT_FALSE(cache.CanvasChanges(" 45 ", std::nullopt));
  EXPECT_FALSE(cache.IconStale("Pravelo - 45%"));
  EXPECT_TRUE(cache.IconStale("Pravelo - 46%"));  // the tip's own sample moved
  EXPECT_TRUE(cache.CanvasChanges(" 45 ", 24));     // same digits, now over a bar
  EXPECT_TRUE(cache.IconStale("Pravelo - 45%"));
  cache.IconSent("Pravelo - 45%");
  cache.ForgetSent();
  EXPECT_TRUE(cache.IconStale("Pravelo - 45%"));
}

TEST(TrayTip, FieldIsTextNulAndBlanks) {
  const std::string field = display::TipField("Pravelo");
  EXPECT_EQ(field.size(), 128u);
  EXPECT_EQ(field.substr(0, 8), std::string("Pravelo") + '\0');
  EXPECT_EQ(field.find_first_not_of(' ', 8), std::string::npos);
  EXPECT_EQ(display::TipField(std::string(300, 'x')).find('\0'), 127u);
}

}  // namespace
}  // namespace pravelo
