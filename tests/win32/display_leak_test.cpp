#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "display/graph_canvas_win32.h"
#include "display/icon_canvas_win32.h"
#include "display/tray_api_win32.h"
#include "display/window_region_win32.h"

namespace pravelo::display {
namespace {

void DestroyMenuHandle(HMENU menu) noexcept { ::DestroyMenu(menu); }
using UniqueMenu = UniqueObject<HMENU, DestroyMenuHandle>;

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
    gdi.insert(LOWORD(ToNative(region.get())));
    user.insert(LOWORD(ToNative(menu.get())));
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

class RefreshWork : public testing::Test {
 protected:
  void SetUp() override {
    window_ =
        ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 145, 27, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window_);
    data_ = {kTrayRecordSize,  ToNative(window_),          kTrayIconId, kTrayFlags, kTrayCallbackMessage,
             icon_.MakeIcon(), std::string("Pravelo\0", 8)};
    data_.szTip.resize(kTrayTipLength, ' ');
    ASSERT_TRUE(tray_.NotifyIcon(TrayOperation::Add, data_));
    icon_.DestroyIcon(data_.hIcon);
  }
  void TearDown() override {
    tray_.NotifyIcon(TrayOperation::Delete, data_);
    ::DestroyWindow(window_);
  }

  // What one refresh does to the canvases, the tray and the bar.
  void Refresh(int run) {
    const int load = run % 101;
    graph_.ScrollLeft(2);
    graph_.DrawLine(215, 153 - (load + 50) % 101 * 153 / 100, 217, 153 - load * 153 / 100);
    if (load > 50) icon_.PaintFillBar(load * 48 / 100, 48);
    icon_.PrintText(-10, 0, " " + std::to_string(load) + " ");
    data_.hIcon = icon_.MakeIcon();
    ASSERT_NE(data_.hIcon, 0u) << "run " << run;
    tray_.NotifyIcon(TrayOperation::Modify, data_);
    icon_.DestroyIcon(data_.hIcon);
    region_.SetRoundRectRegion(ToNative(window_), 145 * load / 100, 27);
  }

  HWND window_ = nullptr;
  GraphCanvasWin32 graph_;
  IconCanvasWin32 icon_;
  TrayApiWin32 tray_;
  WindowRegionWin32 region_;
  TrayIconData data_;
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
}

TEST_F(RefreshWork, ARegionTheWindowRefusesIsDeleted) {
  SlotsSeen slots;
  for (int run = 0; run < 2000; ++run) {
    region_.SetRoundRectRegion(0, 145, 27);
    ASSERT_NO_FATAL_FAILURE(slots.Probe());
  }
  EXPECT_LE(slots.gdi.size(), kSlack);
}

}  // namespace
}  // namespace pravelo::display
