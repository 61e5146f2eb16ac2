// The load bar's rounded outline.
#pragma once

#include "display/surfaces.h"

namespace pravelo::display {

class WindowRegionWin32 final : public WindowRegion {
 public:
  void SetRoundRectRegion(WindowId window, int width, int height) override;
};

}  // namespace pravelo::display
