// The standard output of a program with no console of its own: a file or a pipe it was
// given, or the console of whoever started it.
#pragma once

#include <string_view>

namespace pravelo {

class StandardOutput {
 public:
  virtual ~StandardOutput() = default;
  // Writes the UTF-8 text; nothing happens where there is no output at all.
  virtual void Write(std::string_view text) = 0;
};

}  // namespace pravelo
