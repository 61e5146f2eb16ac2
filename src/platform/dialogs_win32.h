// Standard message boxes through MessageBoxW.
#pragma once

#include "platform/dialogs.h"

namespace pravelo {

class DialogsWin32 final : public Dialogs {
 public:
  WindowId DesktopWindow() override;
  void MessageBox(WindowId owner, std::string_view text, std::string_view caption, uint32_t style) override;
};

}  // namespace pravelo
