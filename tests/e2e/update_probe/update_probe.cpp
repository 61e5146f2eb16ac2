// Served by the update tests as the "new version": records how it was started and ends.
// The report is written under another name and moved into place, so a test that sees the
// file sees all of it.
#include <windows.h>

#include <fstream>
#include <string>

#include "platform/text_win32.h"

namespace {

constexpr wchar_t kReport[] = L"C:\\update_probe.txt";
constexpr wchar_t kPartialReport[] = L"C:\\update_probe.txt.partial";

std::wstring ModulePath() {
  std::wstring path(32768, L'\0');
  path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  return path;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  {
    std::ofstream report(kPartialReport, std::ios::binary);
    report << "command_line=" << pravelo::Narrow(GetCommandLineW()) << "\n"
           << "module=" << pravelo::Narrow(ModulePath()) << "\n";
  }
  return MoveFileExW(kPartialReport, kReport, MOVEFILE_REPLACE_EXISTING) ? 0 : 1;
}
