// The registry port with the per-user values kept between reads. The whole per-user tree
// is watched with RegNotifyChangeKeyValue: any change in it, by this program or another
// (a key deleted and made again included), makes the next read go to the registry again.
// So every read gives what a fresh read would, at the cost of one wait check instead of an
// open, a query and a close.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>

#include "platform/owned_win32.h"
#include "platform/registry_api.h"

namespace pravelo {

class WatchedRegistryWin32 final : public RegistryApi {
 public:
  explicit WatchedRegistryWin32(RegistryApi& registry);

  std::optional<std::string> Read(RegistryRoot root, std::string_view key, std::string_view name) override;
  bool WriteString(RegistryRoot root, std::string_view key, std::string_view name,
                   std::string_view value) override;
  bool WriteDword(RegistryRoot root, std::string_view key, std::string_view name, uint32_t value) override;
  bool DeleteValue(RegistryRoot root, std::string_view key, std::string_view name) override;

 private:
  // Whether kept values may be used: the tree is watched and nothing changed since.
  bool Unchanged();

  RegistryApi& registry_;
  OwnedHandle changed_;  // signalled by the registry on any change in the tree
  bool watching_ = false;
  std::map<std::pair<std::string, std::string>, std::optional<std::string>> values_;
};

}  // namespace pravelo
