#include "update/version_file.h"

#include "base/numeric.h"
#include "update/sequential_items.h"

namespace pravelo::update {

VersionFile ReadVersionFile(std::string_view text) {
  ItemReader reader(text);
  VersionFile file;
  auto next = [&]() -> std::optional<std::string> {
    if (auto item = reader.Next()) return std::string(*item);
    return std::nullopt;
  };
  file.version = next();
  file.executableUrl = next();
  file.sha256 = next();
  if (file.sha256 && file.sha256->empty()) file.sha256.reset();
  return file;
}

double VersionNumber(uint16_t major, uint16_t minor, uint16_t revision) {
  // One division of a whole number rounds once, so 2.3.1 gives exactly the double that the
  // text "2.31" reads as; adding minor * 0.1 and revision * 0.01 rounds three times and
  // lands below it for many versions, which would offer the running version as newer.
  const uint32_t hundredths = uint32_t{major} * 100 + uint32_t{minor} * 10 + uint32_t{revision};
  return hundredths / 100.0;
}

bool IsUpdateDue(double ownVersion, std::string_view remoteVersionText) {
  return ownVersion < NumericValue(remoteVersionText);
}

}  // namespace pravelo::update
