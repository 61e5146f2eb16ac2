#include "platform/process_launcher_win32.h"

#include <windows.h>

#include <string>

#include "platform/text_win32.h"

namespace pravelo {

std::optional<uint32_t> StartedProcess::Wait(uint32_t timeoutMs) const {
  if (WaitForSingleObject(process_.Get(), timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
  DWORD exitCode = 0;
  if (!GetExitCodeProcess(process_.Get(), &exitCode)) return std::nullopt;
  return exitCode;
}

std::optional<StartedProcess> ProcessLauncherWin32::StartProcess(std::string_view commandLine,
                                                                 int showStyle) {
  // CreateProcessW may write into the command line it is given.
  std::wstring writable = Widen(commandLine);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(showStyle);
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &started)) {
    return std::nullopt;
  }
  OwnedHandle thread(started.hThread);
  return StartedProcess(OwnedHandle(started.hProcess));
}

bool ProcessLauncherWin32::Start(std::string_view commandLine, int showStyle) {
  return StartProcess(commandLine, showStyle).has_value();
}

}  // namespace pravelo
