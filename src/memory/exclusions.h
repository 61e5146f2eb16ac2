// Programs whose working sets the pass leaves alone, named by their file names
// ("game.exe"), matched on the image name without regard to case.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pravelo::memory {

class Exclusions {
 public:
  Exclusions() = default;

  // File names separated by semicolons, blanks around each ignored; an empty text is an
  // empty list. Nothing when an entry is empty or not a plain file name.
  static std::optional<Exclusions> Parse(std::string_view text);

  // `imageName` is a file name or a full path; only its last component counts.
  bool Excludes(std::string_view imageName) const;

 private:
  std::vector<std::string> names_;  // folded to one case
};

}  // namespace pravelo::memory
