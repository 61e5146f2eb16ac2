// Started by the launcher tests: writes what it received beside itself, then ends with the
// exit code named by its first argument, or through the process-control port for "end".
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/environment_api_win32.h"
#include "platform/process_control_win32.h"
#include "platform/text_win32.h"

int wmain() {
  pravelo::EnvironmentApiWin32 environment;
  const std::string arguments = environment.CommandLine();
  const std::string folder = environment.ProgramFolder();
  const std::string baseName = environment.ProgramBaseName();
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  GetStartupInfoW(&startup);
  {
    std::ofstream report(std::filesystem::path(pravelo::Widen(folder + "\\" + baseName + ".txt")),
                         std::ios::binary);
    report << "arguments=" << arguments << "\n"
           << "folder=" << folder << "\n"
           << "base=" << baseName << "\n"
           << "show="
           << ((startup.dwFlags & STARTF_USESHOWWINDOW) ? std::to_string(startup.wShowWindow) : "none")
           << "\n";
  }
  const std::string first = arguments.substr(0, arguments.find(' '));
  if (first == "end") pravelo::ProcessControlWin32().EndProcess();
  return first.empty() ? 99 : std::stoi(first);
}
