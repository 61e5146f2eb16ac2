// A key combination as the user writes it ("Ctrl+Alt+O") and as the system registers it
// (modifier flags and a virtual-key code).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pravelo::settings {

// The modifier flags of a registered hotkey, as the system numbers them.
inline constexpr uint32_t kModAlt = 0x1;
inline constexpr uint32_t kModControl = 0x2;
inline constexpr uint32_t kModShift = 0x4;
inline constexpr uint32_t kModWin = 0x8;

struct Hotkey {
  uint32_t modifiers = 0;
  uint32_t virtualKey = 0;
  bool operator==(const Hotkey&) const = default;
};

// Modifiers (Ctrl, Alt, Shift, Win, any case and order, each once) joined by "+" and ending
// in one key: A-Z, 0-9 or F1-F24. A letter or digit needs Ctrl, Alt or Win, so that the
// combination never takes a key away from typing. Nothing when the text is not one.
std::optional<Hotkey> ParseHotkey(std::string_view text);
// The text ParseHotkey reads back, modifiers in the order Ctrl, Alt, Shift, Win.
std::string HotkeyText(const Hotkey& hotkey);

}  // namespace pravelo::settings
