// Standard message boxes; the call returns when the user has closed the box.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/handles.h"

namespace pravelo {

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual WindowId DesktopWindow() = 0;
  virtual void MessageBox(WindowId owner, std::string_view text, std::string_view caption, uint32_t style) = 0;
};

}  // namespace pravelo
