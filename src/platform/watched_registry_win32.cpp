#include "platform/watched_registry_win32.h"

#include <windows.h>

namespace pravelo {
namespace {

bool Arm(HANDLE changed) {
  return RegNotifyChangeKeyValue(HKEY_CURRENT_USER, TRUE, REG_NOTIFY_CHANGE_NAME | REG_NOTIFY_CHANGE_LAST_SET,
                                 changed, TRUE) == ERROR_SUCCESS;
}

}  // namespace

WatchedRegistryWin32::WatchedRegistryWin32(RegistryApi& registry)
    : registry_(registry), changed_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
  watching_ = changed_ && Arm(changed_.Get());
}

bool WatchedRegistryWin32::Unchanged() {
  if (!watching_) return false;
  if (WaitForSingleObject(changed_.Get(), 0) == WAIT_TIMEOUT) return true;
  values_.clear();
  ResetEvent(changed_.Get());
  // Armed again before the next read, so a change during that read is seen next time.
  watching_ = Arm(changed_.Get());
  return false;
}

std::optional<std::string> WatchedRegistryWin32::Read(RegistryRoot root, std::string_view key,
                                                      std::string_view name) {
  if (root != RegistryRoot::CurrentUser) return registry_.Read(root, key, name);
  const bool unchanged = Unchanged();
  auto address = std::make_pair(std::string(key), std::string(name));
  if (unchanged) {
    if (auto kept = values_.find(address); kept != values_.end()) return kept->second;
  }
  std::optional<std::string> value = registry_.Read(root, key, name);
  if (watching_) values_.insert_or_assign(std::move(address), value);
  return value;
}

bool WatchedRegistryWin32::WriteString(RegistryRoot root, std::string_view key, std::string_view name,
                                       std::string_view value) {
  values_.clear();
  return registry_.WriteString(root, key, name, value);
}

bool WatchedRegistryWin32::WriteDword(RegistryRoot root, std::string_view key, std::string_view name,
                                      uint32_t value) {
  values_.clear();
  return registry_.WriteDword(root, key, name, value);
}

bool WatchedRegistryWin32::DeleteValue(RegistryRoot root, std::string_view key, std::string_view name) {
  values_.clear();
  return registry_.DeleteValue(root, key, name);
}

}  // namespace pravelo
