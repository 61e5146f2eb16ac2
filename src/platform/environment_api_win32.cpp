#include "platform/environment_api_win32.h"

#include <windows.h>

#include "platform/command_line_text.h"
#include "platform/module_path_win32.h"
#include "platform/program_path.h"
#include "platform/system_folders_win32.h"
#include "platform/text_win32.h"

namespace pravelo {
namespace {

std::string RunningProgramPath() { return Narrow(RunningModulePath()); }

}  // namespace

std::optional<std::string> EnvironmentApiWin32::Variable(std::string_view name) {
  const std::wstring wideName = Widen(name);
  std::wstring value(64, L'\0');
  for (;;) {
    SetLastError(ERROR_SUCCESS);
    const DWORD length =
        GetEnvironmentVariableW(wideName.c_str(), value.data(), static_cast<DWORD>(value.size()));
    if (length == 0) {
      if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
      return std::string{};
    }
    // Too small a buffer is answered with the size needed, counting the NUL.
    if (length < value.size()) {
      value.resize(length);
      return Narrow(value);
    }
    value.resize(length);
  }
}

std::string EnvironmentApiWin32::WindowsFolder() { return Narrow(WindowsFolderPath()); }

std::string EnvironmentApiWin32::SystemFolder() { return Narrow(SystemFolderPath()); }

std::string EnvironmentApiWin32::ProgramFolder() { return SplitProgramPath(RunningProgramPath()).folder; }

std::string EnvironmentApiWin32::ProgramBaseName() { return SplitProgramPath(RunningProgramPath()).baseName; }

std::string EnvironmentApiWin32::CommandLine() {
  return std::string(ArgumentText(Narrow(GetCommandLineW())));
}

std::string EnvironmentApiWin32::DecimalSeparator() {
  wchar_t separator[8] = {};
  // A locale that cannot be read leaves the invariant separator.
  if (GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, separator, ARRAYSIZE(separator)) == 0) return ".";
  return Narrow(separator);
}

uint16_t EnvironmentApiWin32::UserInterfaceLanguage() { return GetUserDefaultUILanguage(); }

}  // namespace pravelo
