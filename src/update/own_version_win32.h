// The running program's own version, from its version resource.
#pragma once

#include <optional>

#include "update/version_file.h"

namespace pravelo::update {

// Nothing when the record cannot be read; such a program offers no update.
std::optional<Version> ReadOwnVersion();

}  // namespace pravelo::update
