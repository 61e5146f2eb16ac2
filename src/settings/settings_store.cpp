#include "settings/settings_store.h"

namespace pravelo::settings {
namespace {

std::string KeyPath(std::string_view appName, std::string_view section) {
  std::string key = PRAVELO_VENDOR_KEY "\\";
  key += appName;
  key += section;
  return key;
}

}  // namespace

std::string SettingsKeyPath(std::string_view section) { return KeyPath(kApplicationName, section); }

std::string SettingsStore::ReadSetting(std::string_view appName, std::string_view valueName,
                                       std::string_view defaultValue) {
  return ReadIn(appName, kSectionName, valueName, defaultValue);
}

std::string SettingsStore::ReadIn(std::string_view appName, std::string_view section, std::string_view valueName,
                                  std::string_view defaultValue) {
  const std::string key = KeyPath(appName, section);
  std::string value = registry_.Read(RegistryRoot::CurrentUser, key, valueName).value_or(std::string());
  if (!value.empty()) return value;
  // A failed write-back still leaves the caller with the default.
  registry_.WriteString(RegistryRoot::CurrentUser, key, valueName, defaultValue);
  return std::string(defaultValue);
}

bool SettingsStore::WriteSetting(std::string_view appName, std::string_view section, std::string_view valueName,
                                 std::string_view value) {
  return registry_.WriteString(RegistryRoot::CurrentUser, KeyPath(appName, section), valueName, value);
}

}  // namespace pravelo::settings
