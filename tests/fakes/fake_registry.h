// An in-memory registry: values by root, key (case-insensitive, as Windows compares) and
// name, each with its type; writes can be refused per root.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <tuple>

#include "platform/registry_api.h"

namespace pravelo::fakes {

struct RegistryValue {
  enum class Type { String, Dword } type = Type::String;
  std::string text;
  uint32_t dword = 0;
};

class FakeRegistry final : public RegistryApi {
 public:
  std::optional<std::string> Read(RegistryRoot root, std::string_view key, std::string_view name) override;
  bool WriteString(RegistryRoot root, std::string_view key, std::string_view name, std::string_view value) override;
  bool WriteDword(RegistryRoot root, std::string_view key, std::string_view name, uint32_t value) override;
  bool DeleteValue(RegistryRoot root, std::string_view key, std::string_view name) override;

  // Test set-up and inspection.
  const RegistryValue* Find(RegistryRoot root, std::string_view key, std::string_view name) const;
  void SetString(RegistryRoot root, std::string_view key, std::string_view name, std::string_view value) {
    WriteString(root, key, name, value);
  }
  std::size_t CountUnder(RegistryRoot root, std::string_view key) const;
  bool refuseLocalMachine = false;  // as for a user without administrator rights
  bool refuseCurrentUser = false;
  int writes = 0;

 private:
  using Key = std::tuple<RegistryRoot, std::string, std::string>;
  static Key MakeKey(RegistryRoot root, std::string_view key, std::string_view name);
  bool Refused(RegistryRoot root) const {
    return root == RegistryRoot::LocalMachine ? refuseLocalMachine : refuseCurrentUser;
  }
  std::map<Key, RegistryValue> values_;
};

// The settings key as the program addresses it.
inline constexpr std::string_view kSettingsKey = "Software\\zEVID\\PraveloGeneral";
inline constexpr std::string_view kAreasKey = "Software\\zEVID\\PraveloAreas";

}  // namespace pravelo::fakes
