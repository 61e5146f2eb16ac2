// The update server's version file and the version numbers compared with it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pravelo::update {

struct VersionFile {
  std::optional<std::string> version;        // item 1: the newest version, "major.minor.revision"
  std::optional<std::string> executableUrl;  // item 2: where the new executable is
  std::optional<std::string> sha256;         // item 3: the executable's SHA-256 in hex
  std::optional<std::string> expires;        // item 4: when the file stops being believed, UTC
};

// Items after the fourth are ignored; an empty item counts as none, so a trailing comma does
// not ask for a checksum or an expiry.
VersionFile ReadVersionFile(std::string_view text);

// major, minor, revision; compared component by component as numbers, so 1.4.12 < 1.5.0.
using Version = std::array<uint16_t, 3>;

// One to three components of decimal digits separated by dots, each at most 65535; missing
// ones are 0. Nothing for any other text.
std::optional<Version> ParseVersion(std::string_view text);
std::string VersionText(const Version& version);

// "YYYY-MM-DDTHH:MM:SSZ" as seconds since 1970-01-01 00:00 UTC; nothing for any other text.
std::optional<int64_t> ParseUtcTime(std::string_view text);

}  // namespace pravelo::update
