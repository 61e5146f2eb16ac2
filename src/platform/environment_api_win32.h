// The environment port on kernel32: variables, the program's own path and command line,
// and the user's locale.
#pragma once

#include "platform/environment_api.h"

namespace pravelo {

class EnvironmentApiWin32 final : public EnvironmentApi {
 public:
  std::optional<std::string> Variable(std::string_view name) override;
  std::string WindowsFolder() override;
  std::string SystemFolder() override;
  std::string ProgramFolder() override;
  std::string ProgramBaseName() override;
  std::string CommandLine() override;
  std::string DecimalSeparator() override;
  uint16_t UserInterfaceLanguage() override;
};

}  // namespace pravelo
