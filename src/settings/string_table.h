// The program's texts by number, in the user's interface language.
#pragma once

#include <cstdint>
#include <string>

namespace pravelo::settings {

inline constexpr uint16_t kLanguageEnglish = 1033;
inline constexpr uint16_t kLanguageKorean = 1042;

class StringTable {
 public:
  virtual ~StringTable() = default;
  virtual std::string Text(int id) = 0;
};

}  // namespace pravelo::settings
