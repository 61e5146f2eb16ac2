#include "settings/automation_settings.h"

#include "base/numeric.h"

namespace pravelo::settings {
namespace {

std::optional<int32_t> Threshold(std::string_view text) {
  return WholeNumberIn(text, kLowestThreshold, kHighestThreshold);
}

std::optional<int32_t> Cooldown(std::string_view text) {
  return WholeNumberIn(text, kShortestCooldownSeconds, kLongestCooldownSeconds);
}

// Empty is off; anything else must be a combination.
bool HotkeyAcceptable(std::string_view text) {
  return text.find_first_not_of(' ') == std::string_view::npos || ParseHotkey(text).has_value();
}

}  // namespace

AutomationSettings ReadAutomationSettings(SettingsStore& store) {
  AutomationSettings settings;
  settings.thresholdPercent = Threshold(store.Read(kThreshold)).value_or(settings.thresholdPercent);
  settings.cooldownSeconds = Cooldown(store.Read(kCooldown)).value_or(settings.cooldownSeconds);
  settings.hotkey = ParseHotkey(store.Read(kHotkey));
  const std::string exclusions = store.Read(kExclusions);
  if (std::optional<memory::Exclusions> parsed = memory::Exclusions::Parse(exclusions)) {
    settings.exclusions = std::move(*parsed);
    settings.exclusionsText = exclusions;
  }
  return settings;
}

std::optional<AutomationInputError> CheckAutomationInput(const AutomationInput& input) {
  if (input.thresholdOn && !Threshold(input.threshold)) return AutomationInputError::Threshold;
  if (!Cooldown(input.cooldown)) return AutomationInputError::Cooldown;
  if (!HotkeyAcceptable(input.hotkey)) return AutomationInputError::Hotkey;
  if (!memory::Exclusions::Parse(input.exclusions)) return AutomationInputError::Exclusions;
  return std::nullopt;
}

bool WriteAutomationSettings(SettingsStore& store, const AutomationInput& input) {
  if (CheckAutomationInput(input)) return false;
  const std::optional<int32_t> threshold = input.thresholdOn ? Threshold(input.threshold) : std::nullopt;
  const std::optional<Hotkey> hotkey = ParseHotkey(input.hotkey);
  bool saved = store.Write(kThreshold, std::to_string(threshold.value_or(0)));
  saved = store.Write(kCooldown, std::to_string(*Cooldown(input.cooldown))) && saved;
  saved = store.Write(kHotkey, hotkey ? HotkeyText(*hotkey) : std::string()) && saved;
  return store.Write(kExclusions, input.exclusions) && saved;
}

}  // namespace pravelo::settings
