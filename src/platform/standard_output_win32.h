// The standard output a GUI program was given, or its starter's console.
#pragma once

#include "platform/standard_output.h"

namespace pravelo {

class StandardOutputWin32 final : public StandardOutput {
 public:
  void Write(std::string_view text) override;
};

}  // namespace pravelo
