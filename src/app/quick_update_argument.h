// The argument of "/q" as the update passes it: the installed program, then the SHA-256 that
// the new program's own file must have.
#pragma once

#include <string>
#include <string_view>

namespace pravelo::app {

struct QuickUpdateArgument {
  std::string target;  // as QuickUpdateTarget reads it
  std::string sha256;  // 64 hexadecimal digits; empty when the argument ends in none
};

// The digest is the last word when it is 64 hexadecimal digits; the target is what stands
// before it, without the blanks between.
QuickUpdateArgument SplitQuickUpdateArgument(std::string_view argument);

}  // namespace pravelo::app
