// What the refresh keeps between its runs.
#pragma once

#include <cstdint>

#include "display/graph.h"
#include "ui/controls.h"

namespace pravelo::display {

inline constexpr int kRefreshIntervalMs = 170;
inline constexpr int kTrayRefreshIntervalMs = 590;  // from the first move to the tray on

struct RefreshState {
  ui::Picture normalBar = ui::Picture::None;  // the bar's pictures as start-up found them
  ui::Picture highBar = ui::Picture::None;
  GraphState graph;
  int16_t count = 0;  // the figures are read on every sixth run
  // The bar's region is set again only when its size changed.
  int regionWidth = -1;
  int regionHeight = -1;
};

}  // namespace pravelo::display
