// The running program's own version number, from its version resource.
#pragma once

namespace pravelo::update {

// On the scale of the version file (major + minor / 10 + revision / 100); 0 when the record cannot be read, so
// that any published version counts as newer.
double ReadOwnVersion();

}  // namespace pravelo::update
