#include "settings/area_settings.h"

namespace pravelo::settings {

memory::AreaSet ReadAreas(SettingsStore& store, const Setting& setting) {
  return memory::ParseAreaList(store.Read(setting)).areas;
}

bool WriteAreas(SettingsStore& store, const Setting& setting, memory::AreaSet areas) {
  return store.Write(setting, memory::FormatAreaList(areas));
}

}  // namespace pravelo::settings
