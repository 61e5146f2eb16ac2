// The automation settings: their own key beside General, each value read with the same
// read-with-default rule, and the check the Automation window makes before a save.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "memory/exclusions.h"
#include "settings/hotkey_text.h"
#include "settings/settings_store.h"

namespace pravelo::settings {

inline constexpr std::string_view kAutomationSection = "Automation";
inline constexpr Setting kThreshold{"Threshold", "0", kAutomationSection};  // percent; 0 is off
inline constexpr Setting kCooldown{"Cooldown", "60", kAutomationSection};   // seconds
inline constexpr Setting kHotkey{"Hotkey", "", kAutomationSection};         // empty is off
inline constexpr Setting kExclusions{"Exclusions", "", kAutomationSection};

inline constexpr int kLowestThreshold = 1;
inline constexpr int kHighestThreshold = 99;
inline constexpr int kShortestCooldownSeconds = 1;
inline constexpr int kLongestCooldownSeconds = 86'400;

struct AutomationSettings {
  int thresholdPercent = 0;
  int cooldownSeconds = 60;
  std::optional<Hotkey> hotkey;
  memory::Exclusions exclusions;
  std::string exclusionsText;  // as stored, when it is in force
};

// A value edited by hand into something the window would refuse counts as its default.
AutomationSettings ReadAutomationSettings(SettingsStore& store);

// What the Automation window holds, as typed.
struct AutomationInput {
  bool thresholdOn = false;
  std::string threshold;
  std::string cooldown;
  std::string hotkey;
  std::string exclusions;
};

enum class AutomationInputError { Threshold, Cooldown, Hotkey, Exclusions };

// The first value the window must refuse, or nothing when all four can be saved.
std::optional<AutomationInputError> CheckAutomationInput(const AutomationInput& input);
// Saves input that passes the check, numbers and the hotkey in their plain form; false,
// with nothing written, for input that does not, and false when the registry refused a value.
bool WriteAutomationSettings(SettingsStore& store, const AutomationInput& input);

}  // namespace pravelo::settings
