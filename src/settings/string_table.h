// The program's texts by number, in the user's interface language.
#pragma once

#include <cstdint>
#include <string>

namespace pravelo::settings {

inline constexpr uint16_t kLanguageEnglish = 1033;
inline constexpr uint16_t kLanguageKorean = 1042;

// Korean for a Korean user interface, English for every other.
uint16_t ChooseTextLanguage(uint16_t userInterfaceLanguage);

class StringTable {
 public:
  virtual ~StringTable() = default;
  virtual std::string Text(int id) = 0;
};

}  // namespace pravelo::settings
