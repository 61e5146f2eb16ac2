// Items of a text read the way sequential file input reads them: items end at a comma or a
// line end, blanks around an item are skipped, and a double-quoted item may hold commas and
// line ends. Blank lines before an item are skipped too, so they never count as items.
#pragma once

#include <optional>
#include <string_view>

namespace pravelo::update {

class ItemReader {
 public:
  explicit ItemReader(std::string_view text) : rest_(text) {}

  // The next item, a view into the text; nothing once only blanks and line ends are left.
  std::optional<std::string_view> Next();

 private:
  std::string_view rest_;
};

}  // namespace pravelo::update
