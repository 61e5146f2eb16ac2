#include "platform/message_pump_win32.h"

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
