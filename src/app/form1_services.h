// What the main window is made with: the ports, the string table, the drawing surfaces and
// the facts about this copy of the program.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "display/surfaces.h"
#include "platform/platform.h"
#include "settings/string_table.h"
#include "taskbar/taskbar_list.h"
#include "update/version_file.h"

namespace pravelo::app {

struct Form1Services {
  Platform& platform;
  settings::StringTable& strings;
  display::Surfaces& surfaces;
  std::function<std::unique_ptr<taskbar::TaskbarList>()> makeTaskbarList;
  std::optional<update::Version> ownVersion;  // from the version record; nothing when unreadable
  // Makes the deep pass's blocks; empty for real allocations.
  std::function<std::u16string()> makeDeepPassBlock;
  // The release key the update trusts, X then Y in hexadecimal; empty trusts nothing.
  std::string updateKey;
};

}  // namespace pravelo::app
