#include "memory/exclusions.h"

#include <algorithm>

namespace pravelo::memory {
namespace {

constexpr char kSeparator = ';';
// The longest file name the file systems the program runs on allow.
constexpr std::size_t kLongestName = 255;
constexpr std::string_view kForbidden = "\\/:*?\"<>|";

// ASCII letters only: image names are compared as the system lists them, and folding
// other scripts needs tables the portable code does not carry.
std::string Folded(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

std::string_view Trimmed(std::string_view text) {
  constexpr std::string_view kBlanks = " \t";
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) + 1 - first);
}

bool IsFileName(std::string_view name) {
  if (name.empty() || name.size() > kLongestName) return false;
  if (name.find_first_not_of('.') == std::string_view::npos) return false;
  return std::none_of(name.begin(), name.end(), [](char c) {
    return static_cast<unsigned char>(c) < 0x20 || kForbidden.find(c) != std::string_view::npos;
  });
}

}  // namespace

std::optional<Exclusions> Exclusions::Parse(std::string_view text) {
  Exclusions exclusions;
  if (Trimmed(text).empty()) return exclusions;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find(kSeparator, start);
    const std::string_view name =
        Trimmed(text.substr(start, end == std::string_view::npos ? end : end - start));
    if (!IsFileName(name)) return std::nullopt;
    exclusions.names_.push_back(Folded(name));
    if (end == std::string_view::npos) return exclusions;
    start = end + 1;
  }
}

bool Exclusions::Excludes(std::string_view imageName) const {
  if (names_.empty()) return false;
  const std::size_t slash = imageName.find_last_of("\\/");
  const std::string name = Folded(slash == std::string_view::npos ? imageName : imageName.substr(slash + 1));
  return std::find(names_.begin(), names_.end(), name) != names_.end();
}

}  // namespace pravelo::memory
