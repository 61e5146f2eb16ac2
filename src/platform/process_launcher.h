// Starting another program.
#pragma once

#include <string_view>

namespace pravelo {

// A normal window with the focus, as every program this one starts is shown.
inline constexpr int kShowNormal = 1;

class ProcessLauncher {
 public:
  virtual ~ProcessLauncher() = default;
  // Starts the command line with the given window show style; false when it did not start.
  virtual bool Start(std::string_view commandLine, int showStyle) = 0;
};

}  // namespace pravelo
