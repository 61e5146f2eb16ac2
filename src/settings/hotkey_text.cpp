#include "settings/hotkey_text.h"

#include <algorithm>
#include <array>
#include <utility>

namespace pravelo::settings {
namespace {

constexpr uint32_t kVirtualKeyF1 = 0x70;
constexpr int kFunctionKeys = 24;

struct ModifierName {
  std::string_view name;
  uint32_t flag;
};
constexpr std::array<ModifierName, 4> kModifiers{
    {{"Ctrl", kModControl}, {"Alt", kModAlt}, {"Shift", kModShift}, {"Win", kModWin}}};

char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameWord(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](char x, char y) { return Upper(x) == Upper(y); });
}

std::string_view Trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(' ') + 1 - first);
}

// The virtual-key code of a key name; 0 for none. F-keys also tell that they are one.
std::pair<uint32_t, bool> KeyCode(std::string_view name) {
  if (name.size() == 1) {
    const char c = Upper(name[0]);
    if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return {static_cast<uint32_t>(c), false};
    return {0, false};
  }
  if (name.size() < 2 || name.size() > 3 || Upper(name[0]) != 'F' || name[1] < '1' || name[1] > '9')
    return {0, false};
  int number = name[1] - '0';
  if (name.size() == 3) {
    if (name[2] < '0' || name[2] > '9') return {0, false};
    number = number * 10 + (name[2] - '0');
  }
  if (number > kFunctionKeys) return {0, false};
  return {kVirtualKeyF1 + static_cast<uint32_t>(number - 1), true};
}

}  // namespace

std::optional<Hotkey> ParseHotkey(std::string_view text) {
  Hotkey hotkey;
  std::size_t start = 0;
  while (true) {
    const std::size_t plus = text.find('+', start);
    const std::string_view part =
        Trimmed(text.substr(start, plus == std::string_view::npos ? plus : plus - start));
    if (plus == std::string_view::npos) {
      const auto [code, functionKey] = KeyCode(part);
      if (code == 0) return std::nullopt;
      if (!functionKey && (hotkey.modifiers & (kModControl | kModAlt | kModWin)) == 0) return std::nullopt;
      hotkey.virtualKey = code;
      return hotkey;
    }
    const auto modifier = std::find_if(kModifiers.begin(), kModifiers.end(),
                                       [part](const ModifierName& m) { return SameWord(part, m.name); });
    if (modifier == kModifiers.end() || (hotkey.modifiers & modifier->flag) != 0) return std::nullopt;
    hotkey.modifiers |= modifier->flag;
    start = plus + 1;
  }
}

std::string HotkeyText(const Hotkey& hotkey) {
  std::string text;
  for (const ModifierName& modifier : kModifiers) {
    if ((hotkey.modifiers & modifier.flag) != 0) text.append(modifier.name).append("+");
  }
  if (hotkey.virtualKey >= kVirtualKeyF1 && hotkey.virtualKey < kVirtualKeyF1 + kFunctionKeys) {
    text += "F" + std::to_string(hotkey.virtualKey - kVirtualKeyF1 + 1);
  } else {
    text += static_cast<char>(hotkey.virtualKey);
  }
  return text;
}

}  // namespace pravelo::settings
