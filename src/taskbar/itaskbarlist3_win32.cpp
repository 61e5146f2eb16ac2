#include "taskbar/itaskbarlist3.h"

#include <windows.h>

#include <shobjidl.h>

#include <algorithm>
#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "platform/text_win32.h"
#include "taskbar/call_interface_method.h"
#include "taskbar/subclass_thunk.h"
#include "taskbar/taskbar_calls.h"
#include "taskbar/taskbar_records.h"
#include "taskbar/thumb_toolbar.h"
#include "ui/system_function_win32.h"

namespace pravelo::taskbar {

// The portable layouts and codes are the SDK's.
constexpr const ThumbButtonLayout& kThumbButton = ThumbButtonLayoutOf(kNativeCallWidth);
static_assert(sizeof(THUMBBUTTON) == kThumbButton.size);
static_assert(offsetof(THUMBBUTTON, dwMask) == kThumbButton.maskOffset);
static_assert(offsetof(THUMBBUTTON, iId) == kThumbButton.idOffset);
static_assert(offsetof(THUMBBUTTON, iBitmap) == kThumbButton.bitmapOffset);
static_assert(offsetof(THUMBBUTTON, hIcon) == kThumbButton.iconOffset);
static_assert(sizeof(THUMBBUTTON::hIcon) == kThumbButton.iconSize);
static_assert(offsetof(THUMBBUTTON, szTip) == kThumbButton.tipOffset);
static_assert(sizeof(THUMBBUTTON::szTip) / sizeof(WCHAR) == kThumbButtonTipLength);
static_assert(offsetof(THUMBBUTTON, dwFlags) == kThumbButton.flagsOffset);
static_assert(THB_ICON == kThumbButtonIconOnly && THBF_ENABLED == kThumbButtonEnabled);
static_assert(THBN_CLICKED == kThumbButtonClicked && WM_COMMAND == kCommandMessage);
static_assert(sizeof(RECT) == kRectSize && offsetof(RECT, bottom) == 12);
static_assert(TBPF_NOPROGRESS == kNoProgress && TBPF_INDETERMINATE == kProgressIndeterminate &&
              TBPF_NORMAL == kProgressNormal && TBPF_PAUSED == kProgressPaused &&
              (static_cast<int>(TBPF_ERROR) | TBPF_PAUSED) == kProgressErrorPaused);

namespace {

std::uintptr_t AddressOf(const void* data) { return reinterpret_cast<std::uintptr_t>(data); }

std::uintptr_t CreateTaskbarList() {
  CLSID classId{};
  IID interfaceId{};
  CLSIDFromString(kTaskbarListClassText, &classId);
  IIDFromString(kTaskbarList3InterfaceText, &interfaceId);
  void* object = nullptr;
  // Before Windows 7 there is no such interface: then there is simply nothing to call.
  if (FAILED(CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, interfaceId, &object))) return 0;
  return reinterpret_cast<std::uintptr_t>(object);
}

#ifdef _WIN64
// The 64-bit subclass finds its object in this table. A window property would serve too,
// but under Wine reading one is a call to the window server for every message.
class SubclassedWindows {
 public:
  // A window has one entry: a second subclass of it replaces the first.
  void Add(HWND window, ITaskBarList3* object) {
    AcquireSRWLockExclusive(&lock_);
    std::erase_if(entries_, [window](const auto& entry) { return entry.first == window; });
    entries_.emplace_back(window, object);
    ReleaseSRWLockExclusive(&lock_);
  }
  ITaskBarList3* Find(HWND window) {
    AcquireSRWLockShared(&lock_);
    const auto entry =
        std::find_if(entries_.begin(), entries_.end(), [window](const auto& e) { return e.first == window; });
    ITaskBarList3* found = entry == entries_.end() ? nullptr : entry->second;
    ReleaseSRWLockShared(&lock_);
    return found;
  }
  // Only the object's own entry: the window may be gone and its handle given to another.
  void Remove(HWND window, const ITaskBarList3* object) {
    AcquireSRWLockExclusive(&lock_);
    std::erase_if(entries_,
                  [&](const auto& entry) { return entry.first == window && entry.second == object; });
    ReleaseSRWLockExclusive(&lock_);
  }

 private:
  SRWLOCK lock_ = SRWLOCK_INIT;
  std::vector<std::pair<HWND, ITaskBarList3*>> entries_;
};

SubclassedWindows& Subclassed() {
  static SubclassedWindows windows;
  return windows;
}

LRESULT CALLBACK SubclassEntry(HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
  ITaskBarList3* self = Subclassed().Find(hwnd);
  if (!self) return DefWindowProcW(hwnd, uMsg, wParam, lParam);
  if (uMsg == WM_NCDESTROY) Subclassed().Remove(hwnd, self);
  return self->ButtonsWindowProc(reinterpret_cast<WindowId>(hwnd), uMsg, wParam, lParam);
}
#else
// Called by the subclass code for every message of the window.
HRESULT CALLBACK SubclassEntry(ITaskBarList3* self, HWND hwnd, UINT uMsg, WPARAM wParam, LPARAM lParam,
                               LRESULT* result) {
  *result = self->ButtonsWindowProc(reinterpret_cast<WindowId>(hwnd), uMsg, wParam, lParam);
  return S_OK;
}
#endif

// A program running elevated gets no messages from the shell unless it lets them in.
// Looked up by name: the call exists from Windows 7 on.
void AllowShellMessages(HWND window) {
  using ChangeFilter = BOOL(WINAPI*)(HWND, UINT, DWORD, PCHANGEFILTERSTRUCT);
  const auto change = ui::User32Function<ChangeFilter>("ChangeWindowMessageFilterEx");
  if (!change) return;
  change(window, WM_COMMAND, MSGFLT_ALLOW, nullptr);
  change(window, TaskbarButtonCreatedMessage(), MSGFLT_ALLOW, nullptr);
}

}  // namespace

ITaskBarList3::ITaskBarList3() : apartment_(ComApartment::Enter()) { Adopt(CreateTaskbarList()); }

ITaskBarList3::ITaskBarList3(std::uintptr_t taskbarListInterface) { Adopt(taskbarListInterface); }

ITaskBarList3::~ITaskBarList3() { Class_Terminate(); }

void ITaskBarList3::Adopt(std::uintptr_t taskbarListInterface) {
  taskbarList = taskbarListInterface;
  // The interface may be used only once HrInit has succeeded.
  if (Call(HrInitCall()) < 0) {
    Call(ReleaseCall());
    taskbarList = 0;
  }
}

int32_t ITaskBarList3::Call(const InterfaceCall& call) const {
  return CallInterfaceMethod(taskbarList, call);
}

int32_t ITaskBarList3::SetProgressState(WindowId hwnd, int32_t tbpFlags) {
  if (shown_.ShowsState(hwnd, tbpFlags)) return S_OK;
  const int32_t result = Call(ProgressStateCall(hwnd, tbpFlags));
  if (SUCCEEDED(result)) shown_.StateSet(hwnd, tbpFlags);
  return result;
}

int32_t ITaskBarList3::SetProgressValue(WindowId hwnd, uint32_t ullCompleted, uint32_t ullTotal) {
  if (shown_.ShowsValue(hwnd, ullCompleted, ullTotal)) return S_OK;
  const int32_t result = Call(ProgressValueCall(hwnd, ullCompleted, ullTotal));
  if (SUCCEEDED(result)) shown_.ValueSet(hwnd, ullCompleted, ullTotal);
  return result;
}

int32_t ITaskBarList3::SetOverlayIcon(WindowId hwnd, NativeHandle hIcon, std::string_view pszDescription) {
  const std::wstring description = Widen(pszDescription);
  return Call(OverlayIconCall(hwnd, hIcon, pszDescription, AddressOf(description.c_str())));
}

int32_t ITaskBarList3::SetThumbnailClip(WindowId hwnd, int32_t left, int32_t top, int32_t right,
                                        int32_t bottom) {
  alignas(RECT) const auto rect = RectRecord(left, top, right, bottom);
  return Call(ThumbnailClipCall(hwnd, AddressOf(rect.data())));
}

int32_t ITaskBarList3::SetThumbnailTooltip(WindowId hwnd, std::string_view pszTip) {
  if (shown_.ShowsTooltip(hwnd, pszTip)) return S_OK;
  const std::wstring tip = Widen(pszTip);
  const int32_t result = Call(ThumbnailTooltipCall(hwnd, AddressOf(tip.c_str())));
  if (SUCCEEDED(result)) shown_.TooltipSet(hwnd, pszTip);
  return result;
}

int32_t ITaskBarList3::ThumbBarAddButtons(WindowId hwnd, int32_t cButtons,
                                          const std::vector<NativeHandle>& icons) {
  const auto buttonIcons = ThumbButtonIcons(cButtons, icons, buttonsWindow != 0);
  if (!buttonIcons) return 0;
  buttonRecords_ = ThumbButtonRecords(*buttonIcons);
  buttonCount_ = cButtons;
  const int32_t result = Call(AddButtonsCall(hwnd, buttonCount_, AddressOf(buttonRecords_.data())));
  buttonsWindow = hwnd;
  SubclassWindow();
  return result;
}

int32_t ITaskBarList3::ThumbBarReAddButtons() {
  shown_.Forget();
  if (buttonsWindow == 0) return 0;
  return Call(AddButtonsCall(buttonsWindow, buttonCount_, AddressOf(buttonRecords_.data())));
}

void ITaskBarList3::SubclassWindow() {
  const auto window = reinterpret_cast<HWND>(buttonsWindow);
  if (!IsWindow(window)) return;
#ifdef _WIN64
  Subclassed().Add(window, this);
  const auto procedure = reinterpret_cast<std::uintptr_t>(&SubclassEntry);
#else
  if (!thunkCode) {
    const auto entry = static_cast<uint32_t>(reinterpret_cast<std::uintptr_t>(&SubclassEntry));
    ExecutableBlock block(kSubclassThunkSize);
    if (!block.Seal(BuildSubclassThunk(static_cast<uint32_t>(AddressOf(this)), entry))) return;
    thunkCode = std::move(block);
  }
  const auto procedure = reinterpret_cast<std::uintptr_t>(thunkCode.Code());
#endif
  AllowShellMessages(window);
  previousWindowProc = SetWindowLongPtrW(window, GWLP_WNDPROC, static_cast<LONG_PTR>(procedure));
}

void ITaskBarList3::UnsubclassWindow() {
  const auto window = reinterpret_cast<HWND>(buttonsWindow);
  if (previousWindowProc != 0 && IsWindow(window))
    SetWindowLongPtrW(window, GWLP_WNDPROC, previousWindowProc);
#ifdef _WIN64
  Subclassed().Remove(window, this);
#endif
  previousWindowProc = 0;
  buttonsWindow = 0;
}

void ITaskBarList3::Class_Terminate() {
  UnsubclassWindow();
  if (taskbarList != 0) {
    Call(ReleaseCall());
    taskbarList = 0;
  }
}

std::intptr_t ITaskBarList3::ButtonsWindowProc(WindowId hwnd, uint32_t uMsg, std::uintptr_t wParam,
                                               std::intptr_t lParam) {
  // Taken first: a handler may end the subclass, and this message still goes on.
  const auto previous = reinterpret_cast<WNDPROC>(previousWindowProc);
  if (const auto index = PressedThumbButton(uMsg, wParam); index && ButtonPressed) {
    try {
      ButtonPressed(*index);
    } catch (...) {
      // Nothing may unwind through the system's window-procedure caller.
    }
  }
  // The W form, as the subclass was set with it: the messages arrived in their wide form.
  const LRESULT result = CallWindowProcW(previous, reinterpret_cast<HWND>(hwnd), uMsg, wParam, lParam);
  // The subclass ends with its window, so that termination cannot later touch another
  // window that was given the same handle.
  if (uMsg == WM_NCDESTROY && hwnd == buttonsWindow) previousWindowProc = 0;
  return result;
}

uint32_t TaskbarButtonCreatedMessage() { return RegisterWindowMessageW(L"TaskbarButtonCreated"); }

}  // namespace pravelo::taskbar
