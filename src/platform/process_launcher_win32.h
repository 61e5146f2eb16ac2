// Starting programs with CreateProcessW.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/owned_win32.h"
#include "platform/process_launcher.h"

namespace pravelo {

// A started process, for a caller that waits for it.
class StartedProcess {
 public:
  explicit StartedProcess(OwnedHandle process) : process_(std::move(process)) {}
  // The exit code, or nothing when the process still runs after `timeoutMs`.
  std::optional<uint32_t> Wait(uint32_t timeoutMs) const;

 private:
  OwnedHandle process_;
};

class ProcessLauncherWin32 final : public ProcessLauncher {
 public:
  bool Start(std::string_view commandLine, int showStyle) override;
  // Nothing when the process did not start.
  std::optional<StartedProcess> StartProcess(std::string_view commandLine, int showStyle);
};

}  // namespace pravelo
