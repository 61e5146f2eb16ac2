#include <gtest/gtest.h>

#include "settings/hotkey_text.h"

namespace pravelo::settings {
namespace {

TEST(HotkeyText, ParsesCombinationsAndRefusesTheRest) {
  struct Case {
    const char* text;
    std::optional<Hotkey> parsed;
  };
  const Case cases[] = {
      {"Ctrl+Alt+O", Hotkey{kModControl | kModAlt, 'O'}},
      {"alt + ctrl + o", Hotkey{kModControl | kModAlt, 'O'}},
      {"Win+Shift+7", Hotkey{kModWin | kModShift, '7'}},
      {"F9", Hotkey{0, 0x78}},
      {"Shift+F24", Hotkey{kModShift, 0x87}},
      {"ctrl+f1", Hotkey{kModControl, 0x70}},
      {"O", std::nullopt},  // would take the letter away from typing
      {"Shift+O", std::nullopt},
      {"F25", std::nullopt},
      {"F0", std::nullopt},
      {"F", std::nullopt},
      {"Ctrl+Ctrl+O", std::nullopt},
      {"Ctrl+", std::nullopt},
      {"+O", std::nullopt},
      {"Ctrl+Alt", std::nullopt},
      {"Ctrl+OO", std::nullopt},
      {"Control+O", std::nullopt},
      {"Ctrl+Ü", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseHotkey(c.text), c.parsed) << '"' << c.text << '"';
}

TEST(HotkeyText, WritesWhatItReadsInOneOrder) {
  EXPECT_EQ(HotkeyText({kModWin | kModShift | kModAlt | kModControl, 'Z'}), "Ctrl+Alt+Shift+Win+Z");
  EXPECT_EQ(HotkeyText({0, 0x7B}), "F12");
  for (const char* text : {"Ctrl+Alt+O", "Shift+F24", "Alt+Win+0", "F1"}) {
    EXPECT_EQ(HotkeyText(*ParseHotkey(text)), text);
  }
}

}  // namespace
}  // namespace pravelo::settings
