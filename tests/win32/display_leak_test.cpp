#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "display/graph_canvas_win32.h"
#include "display/icon_canvas_win32.h"
#include "display/tray_api_win32.h"
#include "display/window_region_win32.h"
#include "app/application.h"
#include "fakes/fake_memory_api.h"
#include "fakes/fake_system.h"
#include "platform/clock_win32.h"
#include "platform/dialogs_win32.h"
#include "platform/environment_api_win32.h"
#include "platform/file_api_win32.h"
#include "platform/held_file_api_win32.h"
#include "platform/http_api_win32.h"
#include "platform/message_pump_win32.h"
#include "platform/memory_operations_win32.h"
#include "platform/process_launcher_win32.h"
#include "platform/registry_api_win32.h"
#include "platform/signature_api_win32.h"
#include "settings/string_table_win32.h"
#include "taskbar/itaskbarlist3.h"
#include "ui/application_binding_win32.h"

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
class RefreshWork : public testing::Test {
 protected:
  class NoEnd final : public ProcessControl {
   protected:
    void End(uint32_t) override { throw std::logic_error("the program ended"); }
  };

  void SetUp() override {
    memory_.totalBytes = 4ull << 30;
    memory_.availableBytes = 2ull << 30;
    memory_.load = 45;
    binding_ = ui::BindApplication(::GetModuleHandleW(nullptr), application_, pump_);
    application_.form1.Load();
    application_.form1.Command2_Click();  // in the tray: the icon is rebuilt and sent
  }
  void TearDown() override {
    application_.form1.openz_Click();  // takes the icon out of the tray again
    binding_.reset();
  }

  void Refresh(int run) {
    memory_.load = static_cast<uint32_t>(run % 101);
    application_.form1.UpdateDisplay();
  }

  fakes::FakeMemoryApi memory_;
  MemoryOperationsWin32 operations_;
  RegistryApiWin32 registry_;
  FileApiWin32 files_;
  EnvironmentApiWin32 environment_;
  ProcessLauncherWin32 launcher_;
  NoEnd process_;
  MessagePumpWin32 pump_;
  ClockWin32 clock_;
  DialogsWin32 dialogs_;
  HttpApiWin32 http_{pump_};
  SignatureApiWin32 signatures_;
  HeldFileApiWin32 heldFiles_;
  fakes::FakeOutput output_;
  Platform platform_{memory_, operations_, registry_, files_,       environment_, launcher_, process_,
                     pump_,   clock_,      dialogs_,  http_,        signatures_,  heldFiles_, output_};
  settings::StringTableWin32 strings_{::GetModuleHandleW(nullptr), settings::kLanguageEnglish};
  GraphCanvasWin32 graph_;
  IconCanvasWin32 icon_;
  TrayApiWin32 tray_;
  WindowRegionWin32 region_;
  Surfaces surfaces_{graph_, icon_, tray_, region_};
  app::Application application_{app::Form1Services{
      platform_, strings_, surfaces_, [] { return std::make_unique<taskbar::ITaskBarList3>(); }, update::Version{1, 4, 2}, {}, {}}};
  std::unique_ptr<ui::ApplicationBinding> binding_;
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
  EXPECT_EQ(application_.form1.Label1.Text(), "1%");  // the last run's load: 19999 % 101
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
