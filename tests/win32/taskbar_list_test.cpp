// The wrapper over a fake taskbar list whose method table is laid out by the SDK's own C
// declaration of ITaskbarList3, so the slots the wrapper calls are checked against it.
#define CINTERFACE
#include <windows.h>

#include <shobjidl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "taskbar/itaskbarlist3.h"

namespace pravelo::taskbar {
namespace {

struct Call {
  Call(int slot, std::vector<uint64_t> words = {}) : slot(slot), words(std::move(words)) {}
  int slot;
  std::vector<uint64_t> words;       // the arguments after the interface, as the method saw them
  std::vector<THUMBBUTTON> buttons;  // copies of what pointers led to at the time
  RECT rect{};
  std::wstring text;
};

// Results are distinct per slot, to see that each comes back unchanged.
HRESULT ResultOf(int slot) { return 0x100 + slot; }

struct FakeTaskbarList {
  ITaskbarList3 object;  // first: the interface pointer is the fake's address
  ITaskbarList3Vtbl table;
  std::vector<Call> calls;
  int releases = 0;
  HRESULT hrInitResult = S_OK;

  FakeTaskbarList();
  std::uintptr_t Interface() { return reinterpret_cast<std::uintptr_t>(&object); }
  std::vector<Call> CallsTo(int slot) const {
    std::vector<Call> found;
    for (const Call& call : calls) {
      if (call.slot == slot) found.push_back(call);
    }
    return found;
  }
};

FakeTaskbarList& Fake(ITaskbarList3* self) { return *reinterpret_cast<FakeTaskbarList*>(self); }
uint64_t Word(const void* pointer) { return reinterpret_cast<std::uintptr_t>(pointer); }

template <int Slot, typename... Arguments>
HRESULT STDMETHODCALLTYPE Unexpected(ITaskbarList3* self, Arguments...) {
  Fake(self).calls.push_back({Slot});
  return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE QueryInterface(ITaskbarList3* self, REFIID, void** object) {
  Fake(self).calls.push_back({0});
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE AddRef(ITaskbarList3* self) {
  Fake(self).calls.push_back({1});
  return 2;
}

ULONG STDMETHODCALLTYPE Release(ITaskbarList3* self) {
  Fake(self).calls.push_back({2});
  ++Fake(self).releases;
  return 0;
}

HRESULT STDMETHODCALLTYPE HrInit(ITaskbarList3* self) {
  Fake(self).calls.push_back({3});
  return Fake(self).hrInitResult;
}

HRESULT STDMETHODCALLTYPE SetProgressValue(ITaskbarList3* self, HWND hwnd, ULONGLONG completed,
                                           ULONGLONG total) {
  Fake(self).calls.push_back({9, {Word(hwnd), completed, total}});
  return ResultOf(9);
}

HRESULT STDMETHODCALLTYPE SetProgressState(ITaskbarList3* self, HWND hwnd, TBPFLAG flags) {
  Fake(self).calls.push_back({10, {Word(hwnd), static_cast<uint32_t>(flags)}});
  return ResultOf(10);
}

HRESULT STDMETHODCALLTYPE ThumbBarAddButtons(ITaskbarList3* self, HWND hwnd, UINT count,
                                             LPTHUMBBUTTON buttons) {
  Call call{15, {Word(hwnd), count}};
  if (buttons) call.buttons.assign(buttons, buttons + count);
  Fake(self).calls.push_back(call);
  return ResultOf(15);
}

HRESULT STDMETHODCALLTYPE SetOverlayIcon(ITaskbarList3* self, HWND hwnd, HICON icon, LPCWSTR description) {
  Call call{18, {Word(hwnd), Word(icon), Word(description)}};
  if (description) call.text = description;
  Fake(self).calls.push_back(call);
  return ResultOf(18);
}

HRESULT STDMETHODCALLTYPE SetThumbnailTooltip(ITaskbarList3* self, HWND hwnd, LPCWSTR tip) {
  Call call{19, {Word(hwnd)}};
  if (tip) call.text = tip;
  Fake(self).calls.push_back(call);
  return ResultOf(19);
}

HRESULT STDMETHODCALLTYPE SetThumbnailClip(ITaskbarList3* self, HWND hwnd, RECT* clip) {
  Call call{20, {Word(hwnd)}};
  if (clip) call.rect = *clip;
  Fake(self).calls.push_back(call);
  return ResultOf(20);
}

FakeTaskbarList::FakeTaskbarList() : object{&table}, table{} {
  table.QueryInterface = QueryInterface;
  table.AddRef = AddRef;
  table.Release = Release;
  table.HrInit = HrInit;
  table.AddTab = Unexpected<4>;
  table.DeleteTab = Unexpected<5>;
  table.ActivateTab = Unexpected<6>;
  table.SetActiveAlt = Unexpected<7>;
  table.MarkFullscreenWindow = Unexpected<8>;
  table.SetProgressValue = SetProgressValue;
  table.SetProgressState = SetProgressState;
  table.RegisterTab = Unexpected<11>;
  table.UnregisterTab = Unexpected<12>;
  table.SetTabOrder = Unexpected<13>;
  table.SetTabActive = Unexpected<14>;
  table.ThumbBarAddButtons = ThumbBarAddButtons;
  table.ThumbBarUpdateButtons = Unexpected<16>;
  table.ThumbBarSetImageList = Unexpected<17>;
  table.SetOverlayIcon = SetOverlayIcon;
  table.SetThumbnailTooltip = SetThumbnailTooltip;
  table.SetThumbnailClip = SetThumbnailClip;
}

// A real window whose own procedure logs what reaches it.
struct Received {
  UINT message;
  WPARAM wParam;
};
std::vector<Received> received;
constexpr LRESULT kCommandAnswer = 0x5A;

LRESULT CALLBACK LoggingProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  received.push_back({message, wParam});
  if (message == WM_COMMAND) return kCommandAnswer;
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK LoggingProcA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  received.push_back({message, wParam});
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

class TestWindow {
 public:
  explicit TestWindow(bool wide = true) {
    if (wide) {
      static const ATOM registered = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = LoggingProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"PraveloTaskbarTestW";
        return RegisterClassW(&wc);
      }();
      EXPECT_NE(registered, 0);
      hwnd_ = CreateWindowExW(0, L"PraveloTaskbarTestW", L"", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    } else {
      static const ATOM registered = [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = LoggingProcA;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = "PraveloTaskbarTestA";
        return RegisterClassA(&wc);
      }();
      EXPECT_NE(registered, 0);
      hwnd_ = CreateWindowExA(0, "PraveloTaskbarTestA", "", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    }
    EXPECT_NE(hwnd_, nullptr);
    original_ = GetWindowLongPtrW(hwnd_, GWLP_WNDPROC);
    received.clear();
  }
  ~TestWindow() { Destroy(); }
  TestWindow(const TestWindow&) = delete;
  TestWindow& operator=(const TestWindow&) = delete;

  void Destroy() {
    if (hwnd_) DestroyWindow(hwnd_);
    hwnd_ = nullptr;
  }
  HWND Handle() const { return hwnd_; }
  WindowId Id() const { return reinterpret_cast<WindowId>(hwnd_); }
  bool Subclassed() const { return GetWindowLongPtrW(hwnd_, GWLP_WNDPROC) != original_; }
  LRESULT Command(WPARAM wParam) const { return SendMessageW(hwnd_, WM_COMMAND, wParam, 0); }

 private:
  HWND hwnd_ = nullptr;
  LONG_PTR original_ = 0;
};

int CommandsReceived(WPARAM wParam) {
  int count = 0;
  for (const Received& r : received) count += r.message == WM_COMMAND && r.wParam == wParam;
  return count;
}

const std::vector<NativeHandle> kIcons = {0x1111, 0x2222, 0x3333};

TEST(TaskbarListWrapper, CreationInitializesTheInterfaceFirst) {
  FakeTaskbarList fake;
  ITaskBarList3 wrapper(fake.Interface());
  EXPECT_TRUE(wrapper.Available());
  ASSERT_EQ(fake.calls.size(), 1u);
  EXPECT_EQ(fake.calls[0].slot, 3);
}

TEST(TaskbarListWrapper, FailedInitializationLeavesNothingToCall) {
  FakeTaskbarList fake;
  fake.hrInitResult = E_FAIL;
  ITaskBarList3 wrapper(fake.Interface());
  EXPECT_FALSE(wrapper.Available());
  EXPECT_EQ(fake.releases, 1);
  TestWindow window;
  EXPECT_EQ(wrapper.SetProgressState(window.Id(), 2), 0);
  EXPECT_EQ(wrapper.ThumbBarAddButtons(window.Id(), 3, kIcons), 0);
  EXPECT_EQ(fake.calls.size(), 2u);  // HrInit and Release only
  // The toolbar's presses still come back, as there may be a toolbar all the same.
  EXPECT_TRUE(window.Subclassed());
  wrapper.Class_Terminate();
  EXPECT_EQ(fake.releases, 1);
}

TEST(TaskbarListWrapper, OperationsReachTheirSlotsWithTheirArguments) {
  FakeTaskbarList fake;
  ITaskBarList3 wrapper(fake.Interface());
  const WindowId h = 0x00012345;
  EXPECT_EQ(wrapper.SetProgressValue(h, 30, 100), ResultOf(9));
  EXPECT_EQ(wrapper.SetProgressState(h, kProgressErrorPaused), ResultOf(10));
  EXPECT_EQ(wrapper.SetOverlayIcon(h, 0x4444, ""), ResultOf(18));
  EXPECT_EQ(wrapper.SetOverlayIcon(h, 0x4444, "Busy"), ResultOf(18));
  EXPECT_EQ(wrapper.SetThumbnailClip(h, -1, 2, 300, 400), ResultOf(20));
  EXPECT_EQ(wrapper.SetThumbnailTooltip(h, "메모리 45%"), ResultOf(19));

  ASSERT_EQ(fake.calls.size(), 7u);
  // The two counts are 64-bit values: two words each in the 32-bit program, one in the 64-bit.
  EXPECT_EQ(fake.calls[1].words, (std::vector<uint64_t>{h, 30, 100}));
  EXPECT_EQ(fake.calls[2].words, (std::vector<uint64_t>{h, 12}));
  EXPECT_EQ(fake.calls[3].words, (std::vector<uint64_t>{h, 0x4444, 0}));
  EXPECT_NE(fake.calls[4].words[2], 0u);
  EXPECT_EQ(fake.calls[4].text, L"Busy");
  const RECT& clip = fake.calls[5].rect;
  EXPECT_EQ(fake.calls[5].words, (std::vector<uint64_t>{h}));
  EXPECT_EQ((std::vector<LONG>{clip.left, clip.top, clip.right, clip.bottom}),
            (std::vector<LONG>{-1, 2, 300, 400}));
  EXPECT_EQ(fake.calls[6].text, L"\uBA54\uBAA8\uB9AC 45%");
}

TEST(TaskbarListWrapper, RepeatsReachTheShellOnlyWhenTheButtonMayShowOtherwise) {
  FakeTaskbarList fake;
  ITaskBarList3 wrapper(fake.Interface());
  const WindowId h = 0x00012345;
  const auto refresh = [&](uint32_t load, int32_t state) {
    wrapper.SetProgressValue(h, load, 100);
    wrapper.SetProgressState(h, state);
    wrapper.SetThumbnailTooltip(h, "Pravelo - " + std::to_string(load) + "%");
  };
  refresh(40, kProgressNormal);
  refresh(40, kProgressNormal);
  EXPECT_EQ(fake.calls.size(), 4u);  // HrInit and the first refresh's three
  refresh(41, kProgressNormal);
  EXPECT_EQ(fake.CallsTo(9).size(), 2u);
  EXPECT_EQ(fake.CallsTo(10).size(), 1u);
  EXPECT_EQ(fake.CallsTo(19).size(), 2u);
  // Another state may drop the value the button shows: the value is set again after it.
  refresh(41, kProgressIndeterminate);
  refresh(41, kProgressNormal);
  EXPECT_EQ(fake.CallsTo(9).size(), 3u);
  EXPECT_EQ(fake.CallsTo(10).size(), 3u);
  // A new button shows nothing of the old one's.
  wrapper.ThumbBarReAddButtons();
  refresh(41, kProgressNormal);
  EXPECT_EQ(fake.CallsTo(9).size(), 4u);
  EXPECT_EQ(fake.CallsTo(10).size(), 4u);
  EXPECT_EQ(fake.CallsTo(19).size(), 3u);
  // Another window's button is another button.
  wrapper.SetThumbnailTooltip(h + 1, "Pravelo - 41%");
  EXPECT_EQ(fake.CallsTo(19).size(), 4u);
}

HRESULT STDMETHODCALLTYPE RefusingSetProgressValue(ITaskbarList3* self, HWND, ULONGLONG, ULONGLONG) {
  Fake(self).calls.push_back({9});
  return E_FAIL;
}

TEST(TaskbarListWrapper, RefusedCallIsMadeAgain) {
  FakeTaskbarList fake;
  fake.table.SetProgressValue = RefusingSetProgressValue;
  ITaskBarList3 wrapper(fake.Interface());
  EXPECT_EQ(wrapper.SetProgressValue(0x10, 5, 100), E_FAIL);
  EXPECT_EQ(wrapper.SetProgressValue(0x10, 5, 100), E_FAIL);
  EXPECT_EQ(fake.CallsTo(9).size(), 2u);
}

TEST(TaskbarListWrapper, ButtonRecordsArriveAsTheSystemReadsThem) {
  FakeTaskbarList fake;
  ITaskBarList3 wrapper(fake.Interface());
  TestWindow window;
  EXPECT_EQ(wrapper.ThumbBarAddButtons(window.Id(), 5, kIcons), ResultOf(15));
  const auto adds = fake.CallsTo(15);
  ASSERT_EQ(adds.size(), 1u);
  EXPECT_EQ(adds[0].words, (std::vector<uint64_t>{window.Id(), 5}));
  ASSERT_EQ(adds[0].buttons.size(), 5u);
  const std::vector<NativeHandle> icons = {0x1111, 0x2222, 0x3333, 0, 0};
  for (UINT i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    const THUMBBUTTON& button = adds[0].buttons[i];
    EXPECT_EQ(button.dwMask, THB_ICON);
    EXPECT_EQ(button.iId, i);
    EXPECT_EQ(button.iBitmap, 0u);
    EXPECT_EQ(reinterpret_cast<NativeHandle>(button.hIcon), icons[i]);
    EXPECT_EQ(button.szTip[0], L'\0');
    EXPECT_EQ(button.dwFlags, THBF_ENABLED);
  }
  EXPECT_TRUE(window.Subclassed());
}

TEST(TaskbarListWrapper, OneToolbarOfOneToSevenButtons) {
  FakeTaskbarList fake;
  ITaskBarList3 wrapper(fake.Interface());
  TestWindow window;
  const std::vector<NativeHandle> seven = {1, 2, 3, 4, 5, 6, 7};
  EXPECT_EQ(wrapper.ThumbBarAddButtons(window.Id(), 8, seven), 0);
  EXPECT_EQ(wrapper.ThumbBarAddButtons(window.Id(), 0, seven), 0);
  EXPECT_EQ(wrapper.ThumbBarAddButtons(window.Id(), 3, {}), 0);
  EXPECT_TRUE(fake.CallsTo(15).empty());
  EXPECT_FALSE(window.Subclassed());

  EXPECT_EQ(wrapper.ThumbBarAddButtons(window.Id(), 7, seven), ResultOf(15));
  TestWindow other;
  EXPECT_EQ(wrapper.ThumbBarAddButtons(other.Id(), 3, kIcons), 0);
  EXPECT_EQ(fake.CallsTo(15).size(), 1u);
  EXPECT_FALSE(other.Subclassed());
}

TEST(TaskbarListWrapper, ButtonCommandsRaiseThePressAndAreForwarded) {
  FakeTaskbarList fake;
  ITaskBarList3 wrapper(fake.Interface());
  std::vector<int16_t> presses;
  wrapper.ButtonPressed = [&](int16_t index) { presses.push_back(index); };
  TestWindow window;
  ASSERT_NE(wrapper.ThumbBarAddButtons(window.Id(), 3, kIcons), 0);

  const WPARAM secondButton = MAKEWPARAM(1, THBN_CLICKED);
  EXPECT_EQ(window.Command(secondButton), kCommandAnswer);
  EXPECT_EQ(presses, std::vector<int16_t>{1});
  EXPECT_EQ(CommandsReceived(secondButton), 1);

  // A menu item, an accelerator, an edit control's notification, a neighbouring code:
  // passed on, no press.
  for (const WPARAM other :
       {MAKEWPARAM(1, 0), MAKEWPARAM(1, 1), MAKEWPARAM(1, EN_CHANGE), MAKEWPARAM(1, 0x1801)}) {
    EXPECT_EQ(window.Command(other), kCommandAnswer);
    EXPECT_EQ(CommandsReceived(other), 1);
  }
  EXPECT_EQ(presses, std::vector<int16_t>{1});

  // Every other message goes through too.
  SetWindowTextW(window.Handle(), L"caption");
  wchar_t text[16] = {};
  GetWindowTextW(window.Handle(), text, 16);
  EXPECT_STREQ(text, L"caption");
}

TEST(TaskbarListWrapper, TerminationRestoresTheWindowAndReleasesOnce) {
  FakeTaskbarList fake;
  TestWindow window;
  {
    ITaskBarList3 wrapper(fake.Interface());
    int presses = 0;
    wrapper.ButtonPressed = [&](int16_t) { ++presses; };
    ASSERT_NE(wrapper.ThumbBarAddButtons(window.Id(), 3, kIcons), 0);
    ASSERT_TRUE(window.Subclassed());
    wrapper.Class_Terminate();
    EXPECT_FALSE(window.Subclassed());
    EXPECT_EQ(fake.releases, 1);
    window.Command(MAKEWPARAM(0, THBN_CLICKED));
    EXPECT_EQ(presses, 0);
    EXPECT_EQ(wrapper.SetProgressState(window.Id(), 2), 0);
    wrapper.Class_Terminate();
  }
  EXPECT_EQ(fake.releases, 1);
  EXPECT_EQ(fake.calls.back().slot, 2);
}

TEST(TaskbarListWrapper, TerminationFromAPressStillForwardsThatPress) {
  FakeTaskbarList fake;
  ITaskBarList3 wrapper(fake.Interface());
  TestWindow window;
  wrapper.ButtonPressed = [&](int16_t) { wrapper.Class_Terminate(); };
  ASSERT_NE(wrapper.ThumbBarAddButtons(window.Id(), 3, kIcons), 0);
  const WPARAM exitButton = MAKEWPARAM(2, THBN_CLICKED);
  EXPECT_EQ(window.Command(exitButton), kCommandAnswer);
  EXPECT_EQ(CommandsReceived(exitButton), 1);
  EXPECT_FALSE(window.Subclassed());
  EXPECT_EQ(fake.releases, 1);
}

TEST(TaskbarListWrapper, ToolbarIsAddedAgainForANewTaskbarButton) {
  FakeTaskbarList fake;
  ITaskBarList3 wrapper(fake.Interface());
  TestWindow window;
  EXPECT_EQ(wrapper.ThumbBarReAddButtons(), 0);
  EXPECT_TRUE(fake.CallsTo(15).empty());

  ASSERT_NE(wrapper.ThumbBarAddButtons(window.Id(), 5, kIcons), 0);
  EXPECT_EQ(wrapper.ThumbBarReAddButtons(), ResultOf(15));
  const auto adds = fake.CallsTo(15);
  ASSERT_EQ(adds.size(), 2u);
  EXPECT_EQ(adds[1].words, adds[0].words);
  ASSERT_EQ(adds[1].buttons.size(), 5u);
  EXPECT_EQ(std::memcmp(adds[1].buttons.data(), adds[0].buttons.data(), 5 * sizeof(THUMBBUTTON)), 0);
  // Still one subclass: a press is raised once.
  int presses = 0;
  wrapper.ButtonPressed = [&](int16_t) { ++presses; };
  window.Command(MAKEWPARAM(0, THBN_CLICKED));
  EXPECT_EQ(presses, 1);

  wrapper.Class_Terminate();
  EXPECT_EQ(wrapper.ThumbBarReAddButtons(), 0);
  EXPECT_EQ(fake.CallsTo(15).size(), 2u);
}

TEST(TaskbarListWrapper, TextOfAnAnsiWindowSurvivesTheSubclass) {
  FakeTaskbarList fake;
  ITaskBarList3 wrapper(fake.Interface());
  TestWindow window(false);
  ASSERT_NE(wrapper.ThumbBarAddButtons(window.Id(), 1, kIcons), 0);
  ASSERT_TRUE(SetWindowTextW(window.Handle(), L"Pravelo 1.4"));
  char text[32] = {};
  GetWindowTextA(window.Handle(), text, sizeof text);
  EXPECT_STREQ(text, "Pravelo 1.4");
}

TEST(TaskbarListWrapper, WindowGoneBeforeTerminationIsHarmless) {
  FakeTaskbarList fake;
  ITaskBarList3 wrapper(fake.Interface());
  TestWindow window;
  ASSERT_NE(wrapper.ThumbBarAddButtons(window.Id(), 3, kIcons), 0);
  window.Destroy();
  wrapper.Class_Terminate();
  EXPECT_EQ(fake.releases, 1);
}

TEST(TaskbarListSystem, RealObjectIsCreatedAndAnswers) {
  TestWindow window;
  ITaskBarList3 wrapper;
  ASSERT_TRUE(wrapper.Available());
  EXPECT_EQ(wrapper.SetProgressState(window.Id(), kProgressNormal), S_OK);
  EXPECT_EQ(wrapper.SetProgressValue(window.Id(), 30, 100), S_OK);
  HICON icon = LoadIconW(nullptr, IDI_APPLICATION);
  EXPECT_GE(wrapper.ThumbBarAddButtons(window.Id(), 1, {reinterpret_cast<NativeHandle>(icon)}), 0);
  EXPECT_TRUE(window.Subclassed());
  wrapper.Class_Terminate();
  EXPECT_FALSE(window.Subclassed());
}

}  // namespace
}  // namespace pravelo::taskbar
