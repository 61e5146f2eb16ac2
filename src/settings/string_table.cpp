#include "settings/string_table.h"

namespace pravelo::settings {

uint16_t ChooseTextLanguage(uint16_t userInterfaceLanguage) {
  constexpr uint16_t kPrimaryKorean = 0x12;  // any sublanguage of Korean
  return (userInterfaceLanguage & 0x3FF) == kPrimaryKorean ? kLanguageKorean : kLanguageEnglish;
}

}  // namespace pravelo::settings
