#include "display/held_graph.h"

#include <algorithm>

namespace pravelo::display {

void HeldGraph::Scroll() {
  ++scrolls_;
  std::erase_if(lines_, [this](const HeldLine& held) { return std::max(held.line.x0, held.line.x1) < Shift(held); });
}

void HeldGraph::Line(int x0, int y0, int x1, int y1) { lines_.push_back({{x0, y0, x1, y1}, scrolls_}); }

GraphCatchUp HeldGraph::Take() {
  GraphCatchUp catchUp;
  // Past the canvas's width every count of scrolls leaves the same pixels.
  catchUp.scrolls = static_cast<int>(std::min<int64_t>(scrolls_, canvasWidth_ / kGraphStep));
  for (const HeldLine& held : lines_) {
    const int shift = static_cast<int>(Shift(held));  // less than the line's x, as it is kept
    catchUp.lines.push_back({held.line.x0 - shift, held.line.y0, held.line.x1 - shift, held.line.y1});
  }
  scrolls_ = 0;
  lines_.clear();
  return catchUp;
}

}  // namespace pravelo::display
