// Removing a section from an INI-style text file (the file-cache section of the legacy
// system.ini, after every standard optimization).
#pragma once

#include <string>

#include "platform/file_api.h"

namespace pravelo::memory {

// Rewrites the file without every section named `section` (its header and the lines up to
// the next header). Header lines are exactly "[name]", names compared case-sensitively;
// leading empty lines are dropped and every line ends in CR LF. The file is replaced only
// when fully written; false, with the file as it was, when any step fails.
bool RemoveIniSection(FileApi& files, const std::string& path, const std::string& section);

}  // namespace pravelo::memory
