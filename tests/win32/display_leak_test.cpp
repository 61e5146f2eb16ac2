#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "display/window_region_win32.h"
#include "platform/gdi_win32.h"
#include "program_on_windows.h"

namespace pravelo::display {
namespace {


// Wine's GetGuiResources reports 0 for everything, so leaks are seen through the handle
// tables instead: they hand out the most recently freed slot (the handle's low word)
// first. While every object made is also destroyed, a probe made after each round lands
// on the same few slots; each object kept pushes the next probe onto a slot not seen yet.
struct SlotsSeen {
  std::set<unsigned> gdi;
  std::set<unsigned> user;

  void Probe() {
    UniqueRegion region(::CreateRectRgn(0, 0, 1, 1));
    UniqueMenu menu(::CreateMenu());
    ASSERT_TRUE(region && menu) << "handle creation failed";
    gdi.insert(LOWORD(ToNative(region.Get())));
    user.insert(LOWORD(ToNative(menu.Get())));
  }
};

struct GuiCounts {
  DWORD gdi, user;
  bool operator==(const GuiCounts&) const = default;
};

GuiCounts CountGuiObjects() {
  return {::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS),
          ::GetGuiResources(::GetCurrentProcess(), GR_USEROBJECTS)};
}

// Slots the system itself may use along the way.
constexpr std::size_t kSlack = 64;

TEST(HandleSlots, ProbesLandOnFewSlotsUnlessObjectsAreKept) {
  SlotsSeen flat, leaking;
  std::vector<UniqueRegion> kept;
  std::vector<UniqueMenu> keptMenus;
  for (int i = 0; i < 300; ++i) ASSERT_NO_FATAL_FAILURE(flat.Probe());
  for (int i = 0; i < 300; ++i) {
    kept.emplace_back(::CreateRectRgn(0, 0, 1, 1));
    keptMenus.emplace_back(::CreateMenu());
    ASSERT_NO_FATAL_FAILURE(leaking.Probe());
  }
  EXPECT_LE(flat.gdi.size(), kSlack);
  EXPECT_LE(flat.user.size(), kSlack);
  EXPECT_GT(leaking.gdi.size(), 250u);
  EXPECT_GT(leaking.user.size(), 250u);
}

// The program's own refresh, on its real windows, canvases, tray and region, with a load
// that moves so that every kind of work is done again and again.
class RefreshWork : public ::testing::Test {
 protected:
  void SetUp() override {
    program_.application.form1.Load();
    program_.application.form1.Command2_Click();  // in the tray: the icon is rebuilt and sent
  }
  void TearDown() override {
    program_.application.form1.openz_Click();  // takes the icon out of the tray again
    program_.binding.reset();
  }

  void Refresh(int run) {
    program_.memory.load = static_cast<uint32_t>(run % 101);
    program_.application.form1.UpdateDisplay();
  }

  pravelo::testing::ProgramOnWindows program_;
};

TEST_F(RefreshWork, TwentyThousandRefreshesLeaveTheHandleTablesFlat) {
  const GuiCounts countsBefore = CountGuiObjects();
  SlotsSeen slots;
  for (int run = 0; run < 20000; ++run) {
    ASSERT_NO_FATAL_FAILURE(Refresh(run));
    ASSERT_NO_FATAL_FAILURE(slots.Probe());
  }
  EXPECT_LE(slots.gdi.size(), kSlack);
  EXPECT_LE(slots.user.size(), kSlack);
  // Meaningful where the system counts (Windows); under Wine both stay 0.
  EXPECT_EQ(CountGuiObjects(), countsBefore);
  EXPECT_EQ(program_.application.form1.Label1.Text(), "1%");  // the last run's load: 19999 % 101
}

TEST(WindowRegion, ARegionTheWindowRefusesIsDeleted) {
  WindowRegionWin32 region;
  SlotsSeen slots;
  for (int run = 0; run < 2000; ++run) {
    region.SetRoundRectRegion(0, 145, 27);
    ASSERT_NO_FATAL_FAILURE(slots.Probe());
  }
  EXPECT_LE(slots.gdi.size(), kSlack);
}

}  // namespace
}  // namespace pravelo::display
