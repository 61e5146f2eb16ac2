#include "app/quick_update_argument.h"

#include <cctype>

namespace pravelo::app {
namespace {

constexpr size_t kDigestDigits = 64;

bool IsDigest(std::string_view word) {
  if (word.size() != kDigestDigits) return false;
  for (char c : word) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) return false;
  }
  return true;
}

}  // namespace

QuickUpdateArgument SplitQuickUpdateArgument(std::string_view argument) {
  const size_t blank = argument.find_last_of(' ');
  if (blank == std::string_view::npos || !IsDigest(argument.substr(blank + 1))) {
    return {std::string(argument), {}};
  }
  const std::string_view target = argument.substr(0, argument.find_last_not_of(' ', blank) + 1);
  return {std::string(target), std::string(argument.substr(blank + 1))};
}

}  // namespace pravelo::app
