// A small program for proving the end-to-end harness without the product: one window with
// two buttons and a label; "Count" counts on the label, "Save" writes the label to the
// registry. At start it records the user interface language there. Arguments: "/exit N" ends with N when the
// window closes; "/box" first shows a message box and opens the window once it is closed.
#include <windows.h>

#include <string>

#include "platform/environment_api_win32.h"
#include "platform/registry_api_win32.h"
#include "platform/text_win32.h"

namespace {

constexpr wchar_t kClassName[] = L"PraveloSample.Main";
constexpr wchar_t kCaption[] = L"Pravelo Sample";
constexpr char kSavedKey[] = "Software\\PraveloSample";
constexpr int kCountId = 101;
constexpr int kSaveId = 102;
constexpr int kLabelId = 103;

struct State {
  int clicks = 0;
  int exitCode = 0;
};
State state;

std::wstring LabelText() { return L"Clicks: " + std::to_wstring(state.clicks); }

void Save(HWND window) {
  wchar_t text[64] = {};
  GetDlgItemTextW(window, kLabelId, text, ARRAYSIZE(text));
  pravelo::RegistryApiWin32 registry;
  registry.WriteString(pravelo::RegistryRoot::CurrentUser, kSavedKey, "Label", pravelo::Narrow(text));
  registry.WriteDword(pravelo::RegistryRoot::CurrentUser, kSavedKey, "Clicks",
                      static_cast<uint32_t>(state.clicks));
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE: {
      const HINSTANCE instance = reinterpret_cast<CREATESTRUCTW*>(lParam)->hInstance;
      const auto id = [](int value) { return reinterpret_cast<HMENU>(static_cast<INT_PTR>(value)); };
      CreateWindowExW(0, L"BUTTON", L"Count", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 10, 100, 30, window,
                      id(kCountId), instance, nullptr);
      CreateWindowExW(0, L"BUTTON", L"&Save", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 120, 10, 100, 30, window,
                      id(kSaveId), instance, nullptr);
      CreateWindowExW(0, L"STATIC", LabelText().c_str(), WS_CHILD | WS_VISIBLE, 10, 50, 210, 20, window,
                      id(kLabelId), instance, nullptr);
      return 0;
    }
    case WM_COMMAND:
      if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == kCountId) {
        ++state.clicks;
        SetDlgItemTextW(window, kLabelId, LabelText().c_str());
      } else if (HIWORD(wParam) == BN_CLICKED && LOWORD(wParam) == kSaveId) {
        Save(window);
      }
      return 0;
    case WM_DESTROY:
      PostQuitMessage(state.exitCode);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  pravelo::EnvironmentApiWin32 environment;
  pravelo::RegistryApiWin32().WriteDword(pravelo::RegistryRoot::CurrentUser, kSavedKey, "Language",
                                         environment.UserInterfaceLanguage());
  const std::string arguments = environment.CommandLine();
  if (const size_t exit = arguments.find("/exit "); exit != std::string::npos) {
    state.exitCode = std::atoi(arguments.c_str() + exit + 6);
  }
  if (arguments.find("/box") != std::string::npos) {
    MessageBoxW(nullptr, L"샘플 메시지\nsecond line", L"Sample Box", MB_OK | MB_ICONINFORMATION);
  }

  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = kClassName;
  if (!RegisterClassExW(&windowClass)) return 90;
  HWND window = CreateWindowExW(0, kClassName, kCaption, WS_OVERLAPPEDWINDOW, 100, 100, 260, 130, nullptr,
                                nullptr, instance, nullptr);
  if (!window) return 91;
  ShowWindow(window, show);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}
