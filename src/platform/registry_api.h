// Registry values addressed by root, key path and value name. Texts are UTF-8.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pravelo {

enum class RegistryRoot { CurrentUser, LocalMachine };

class RegistryApi {
 public:
  virtual ~RegistryApi() = default;
  // The value as text: a string as stored, a DWORD as its decimal text. Nothing when the
  // key or the value is missing or cannot be read.
  virtual std::optional<std::string> Read(RegistryRoot root, std::string_view key, std::string_view name) = 0;
  // REG_SZ; creates the key and its missing parents.
  virtual bool WriteString(RegistryRoot root, std::string_view key, std::string_view name,
                           std::string_view value) = 0;
  // REG_DWORD; creates the key and its missing parents.
  virtual bool WriteDword(RegistryRoot root, std::string_view key, std::string_view name, uint32_t value) = 0;
  // True when the value is gone afterwards, also when it was never there.
  virtual bool DeleteValue(RegistryRoot root, std::string_view key, std::string_view name) = 0;
};

}  // namespace pravelo
