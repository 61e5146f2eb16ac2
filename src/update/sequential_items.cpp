#include "update/sequential_items.h"

namespace pravelo::update {
namespace {

constexpr std::string_view kBlanks = " \t";
constexpr std::string_view kBlanksAndLineEnds = " \t\r\n";
constexpr std::string_view kSeparators = ",\r\n";

std::string_view TrimTrailingBlanks(std::string_view text) {
  const size_t last = text.find_last_not_of(kBlanks);
  return text.substr(0, last == std::string_view::npos ? 0 : last + 1);
}

}  // namespace

std::optional<std::string_view> ItemReader::Next() {
  const size_t start = rest_.find_first_not_of(kBlanksAndLineEnds);
  if (start == std::string_view::npos) {
    rest_ = {};
    return std::nullopt;
  }
  rest_.remove_prefix(start);

  std::string_view item;
  size_t separator = 0;
  if (rest_.front() == '"') {
    const size_t close = rest_.find('"', 1);
    if (close == std::string_view::npos) {  // an unclosed quote runs to the end
      item = rest_.substr(1);
      rest_ = {};
      return item;
    }
    item = rest_.substr(1, close - 1);
    // Whatever stands between the closing quote and the separator is not part of any item.
    separator = rest_.find_first_of(kSeparators, close + 1);
  } else {
    separator = rest_.find_first_of(kSeparators);
    item = TrimTrailingBlanks(rest_.substr(0, separator));
  }

  if (separator == std::string_view::npos) {
    rest_ = {};
  } else {
    // A CR LF pair is one line end; a lone CR or LF is one too.
    const bool crlf =
        rest_[separator] == '\r' && separator + 1 < rest_.size() && rest_[separator + 1] == '\n';
    rest_.remove_prefix(separator + (crlf ? 2 : 1));
  }
  return item;
}

}  // namespace pravelo::update
