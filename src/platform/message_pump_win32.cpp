#include "platform/message_pump_win32.h"

#include <exception>

#include "platform/owned_win32.h"

namespace pravelo {

void MessagePumpWin32::Dispatch(MSG& message) {
  // Our windows carry WS_EX_CONTROLPARENT; the dialog manager gives them keyboard
  // navigation and dispatches what it does not use itself.
  HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
  if (root && (GetWindowLongPtrW(root, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) &&
      IsDialogMessageW(root, &message)) {
    return;
  }
  TranslateMessage(&message);
  DispatchMessageW(&message);
}

void MessagePumpWin32::DispatchWaiting() {
  MSG message;
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // Kept for the main loop, which ends on it; whoever waits here for something else
      // (a timer, a window closing) still gets its messages.
      quitCode_ = static_cast<int>(message.wParam);
      continue;
    }
    Dispatch(message);
  }
}

void MessagePumpWin32::DoEvents() { DispatchWaiting(); }

void MessagePumpWin32::WaitAndDispatch() {
  // Unlike WaitMessage, this also returns for input that an earlier peek saw but left.
  MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  DispatchWaiting();
}

namespace {

struct LongCall {
  const std::function<void()>& call;
  std::exception_ptr failure;
};

DWORD WINAPI RunLongCall(void* parameter) {
  auto* longCall = static_cast<LongCall*>(parameter);
  try {
    longCall->call();
  } catch (...) {
    // Handed back to the window's thread, where the pass goes on.
    longCall->failure = std::current_exception();
  }
  return 0;
}

}  // namespace

void MessagePumpWin32::RunBesideMessages(const std::function<void()>& call) {
  LongCall longCall{call, nullptr};
  OwnedHandle thread(CreateThread(nullptr, 0, RunLongCall, &longCall, 0, nullptr));
  if (!thread) {
    // No thread to be had: the call still runs, only the window waits for it.
    call();
    return;
  }
  longCall_ = thread.Get();
  while (true) {
    const DWORD woken =
        MsgWaitForMultipleObjectsEx(1, &longCall_, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (woken == WAIT_OBJECT_0) break;
    if (woken != WAIT_OBJECT_0 + 1) {
      // The wait itself failed: the call must still end before the pass goes on.
      WaitForSingleObject(longCall_, INFINITE);
      break;
    }
    DispatchWaiting();
  }
  longCall_ = nullptr;
  if (longCall.failure) std::rethrow_exception(longCall.failure);
}

void MessagePumpWin32::WaitForLongCall() {
  if (longCall_) WaitForSingleObject(longCall_, INFINITE);
}

int MessagePumpWin32::Run() {
  while (!quitCode_) {
    MSG message;
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
      quitCode_ = static_cast<int>(message.wParam);
    } else if (got > 0) {
      Dispatch(message);
    } else {
      // An invalid call, not a message: nothing more will come.
      quitCode_ = -1;
    }
  }
  return *quitCode_;
}

}  // namespace pravelo
