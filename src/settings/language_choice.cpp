#include "settings/language_choice.h"

#include <algorithm>

#include "settings/settings_store.h"
#include "settings/string_table.h"

namespace pravelo::settings {
namespace {

constexpr Language kLanguages[] = {
#include "languages.inc"
};

// The longest locale name Windows has (LOCALE_NAME_MAX_LENGTH less its NUL).
constexpr std::size_t kLongestTag = 84;
constexpr uint16_t kPrimaryMask = 0x3FF;

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameTag(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) { return Lower(x) == Lower(y); });
}

// A table without a region in its tag serves every region of its language.
bool ServesEveryRegion(const Language& language) {
  return std::string_view(language.tag).find('-') == std::string_view::npos;
}

bool WellFormed(std::string_view tag) {
  return !tag.empty() && tag.size() <= kLongestTag && std::ranges::all_of(tag, [](char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-';
  });
}

const Language* LanguageOfId(uint16_t id) {
  for (const Language& language : kLanguages) {
    if (language.id == id) return &language;
  }
  for (const Language& language : kLanguages) {
    if (ServesEveryRegion(language) && (language.id & kPrimaryMask) == (id & kPrimaryMask)) return &language;
  }
  return nullptr;
}

}  // namespace

std::span<const Language> Languages() { return kLanguages; }

const Language* LanguageOfTag(std::string_view tag) {
  if (!WellFormed(tag)) return nullptr;
  for (const Language& language : kLanguages) {
    if (SameTag(language.tag, tag)) return &language;
  }
  const std::string_view primary = tag.substr(0, tag.find('-'));
  for (const Language& language : kLanguages) {
    if (ServesEveryRegion(language) && SameTag(language.tag, primary)) return &language;
  }
  return nullptr;
}

uint16_t ChooseTextLanguage(uint16_t userInterfaceLanguage, std::string_view overrideTag) {
  if (const Language* chosen = LanguageOfTag(overrideTag)) return chosen->id;
  if (const Language* system = LanguageOfId(userInterfaceLanguage)) return system->id;
  return kLanguageEnglish;
}

std::string ReadLanguageOverride(RegistryApi& registry) {
  // Anyone may have written the value: a number, or nonsense, is judged by the tag rule.
  return registry.Read(RegistryRoot::CurrentUser, SettingsKeyPath(kDisplaySection), kLanguageValue)
      .value_or(std::string());
}

bool WriteLanguageOverride(RegistryApi& registry, std::string_view tag) {
  return registry.WriteString(RegistryRoot::CurrentUser, SettingsKeyPath(kDisplaySection), kLanguageValue,
                              tag);
}

}  // namespace pravelo::settings
