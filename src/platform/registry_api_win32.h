// The registry port on the Win32 registry functions. A 32-bit program sees the 32-bit view
// of the machine keys, as the program always has.
#pragma once

#include "platform/registry_api.h"

namespace pravelo {

class RegistryApiWin32 final : public RegistryApi {
 public:
  std::optional<std::string> Read(RegistryRoot root, std::string_view key, std::string_view name) override;
  bool WriteString(RegistryRoot root, std::string_view key, std::string_view name,
                   std::string_view value) override;
  bool WriteDword(RegistryRoot root, std::string_view key, std::string_view name, uint32_t value) override;
  bool DeleteValue(RegistryRoot root, std::string_view key, std::string_view name) override;
};

}  // namespace pravelo
