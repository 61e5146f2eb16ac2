// The per-user settings: text values under HKCU\Software\zEVID\<application><section>.
#pragma once

#include <string>
#include <string_view>

#include "platform/registry_api.h"
#include "pravelo_version.h"

namespace pravelo::settings {

inline constexpr std::string_view kApplicationName = PRAVELO_PRODUCT_NAME;
inline constexpr std::string_view kSectionName = "General";

// A setting's value name and the default its readers pass.
struct Setting {
  std::string_view name;
  std::string_view defaultValue;
  std::string_view section = kSectionName;
};

inline constexpr Setting kAutoOptimize{"AutoOptimize", "1"};
inline constexpr Setting kInterval{"Interval", "50"};
inline constexpr Setting kTrayAtStart{"TrayAtStart", "0"};
inline constexpr Setting kMinimizeTray{"MinimizeTray", "0"};
inline constexpr Setting kMinAtClose{"MinAtClose", "0"};
inline constexpr Setting kAutoStart{"AutoStart", "0"};
inline constexpr Setting kKernelMemoryUse{"KernelMemoryUse", "0"};

// The key of one section of the program's settings.
std::string SettingsKeyPath(std::string_view section);

class SettingsStore {
 public:
  explicit SettingsStore(RegistryApi& registry) : registry_(registry) {}

  // The stored text; a missing or empty value is created with the default, which is then
  // returned. Never fails.
  std::string ReadSetting(std::string_view appName, std::string_view valueName,
                          std::string_view defaultValue);
  // The same rule for a value of another section: a key of its own beside General.
  std::string ReadSettingIn(std::string_view appName, std::string_view section, std::string_view valueName,
                            std::string_view defaultValue);
  // Stores a REG_SZ text; false when the registry refused it.
  bool WriteSetting(std::string_view appName, std::string_view section, std::string_view valueName,
                    std::string_view value);

  std::string Read(const Setting& setting) {
    return ReadIn(kApplicationName, setting.section, setting.name, setting.defaultValue);
  }
  bool Write(const Setting& setting, std::string_view value) {
    return WriteSetting(kApplicationName, setting.section, setting.name, value);
  }

 private:
  // The read-with-default rule, in any section's key.
  std::string ReadIn(std::string_view appName, std::string_view section, std::string_view valueName,
                     std::string_view defaultValue);

  RegistryApi& registry_;
};

}  // namespace pravelo::settings
