// The languages of the string table and which one the program shows: the override the
// Language window stores, else Windows' display language, else English.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/registry_api.h"

namespace pravelo::settings {

struct Language {
  uint16_t id;       // Windows' language identifier of the table
  const char* tag;   // its file in resources/lang: "de", "pt-BR"
  const char* name;  // in the language itself, as the Language window lists it
};

// Every table, English and Korean among them, in the order of their tags.
std::span<const Language> Languages();

inline constexpr std::string_view kDisplaySection = "Display";
inline constexpr std::string_view kLanguageValue = "Language";

// The table a language tag such as "de-DE" names: its own tag, or its primary language where
// the table serves every region ("de"); none for an unknown or malformed tag.
const Language* LanguageOfTag(std::string_view tag);

// The override's table when it names one; else the table of the interface language, by its
// identifier or, where the table serves every region, its primary language (so any Korean
// is Korean); else English.
uint16_t ChooseTextLanguage(uint16_t userInterfaceLanguage, std::string_view overrideTag = {});

// The stored override; empty when there is none or it is not text. Never creates it.
std::string ReadLanguageOverride(RegistryApi& registry);
bool WriteLanguageOverride(RegistryApi& registry, std::string_view tag);

}  // namespace pravelo::settings
