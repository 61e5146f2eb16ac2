// Which memory areas a manual and an automatic optimization free, kept in their own key.
#pragma once

#include <string_view>

#include "memory/memory_areas.h"
#include "settings/settings_store.h"

namespace pravelo::settings {

inline constexpr std::string_view kAreasSection = "Areas";
// What Optimize always freed: nothing changes until the user chooses more.
inline constexpr std::string_view kDefaultAreas = "WorkingSets,SystemFileCache";
// The button, the tray menu, the simple window, the thumbnail button and "/a".
inline constexpr Setting kManualAreas{"Manual", kDefaultAreas, kAreasSection};
// The automatic timer.
inline constexpr Setting kAutomaticAreas{"Automatic", kDefaultAreas, kAreasSection};

// The areas of the setting; names that are no area are ignored.
memory::AreaSet ReadAreas(SettingsStore& store, const Setting& setting);
bool WriteAreas(SettingsStore& store, const Setting& setting, memory::AreaSet areas);

}  // namespace pravelo::settings
