// The update server's version file and the version numbers compared with it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pravelo::update {

struct VersionFile {
  std::optional<std::string> version;        // item 1: the newest version number as text
  std::optional<std::string> executableUrl;  // item 2: where the new executable is
  std::optional<std::string> sha256;         // item 3, optional: the executable's SHA-256 in hex
};

// Items after the third are ignored; an empty third item counts as none, so a trailing
// comma does not ask for a checksum.
VersionFile ReadVersionFile(std::string_view text);

// major + minor / 10 + revision / 100, the scale of the version file's first item.
double VersionNumber(uint16_t major, uint16_t minor, uint16_t revision);

// Whether the version file's number is strictly greater than the own one.
bool IsUpdateDue(double ownVersion, std::string_view remoteVersionText);

}  // namespace pravelo::update
