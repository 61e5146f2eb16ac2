// The graph drawing held back while nobody can see the canvas, kept as the fewest calls
// that give the same pixels: all the scrolls at once, then the lines still on the canvas,
// each moved left by the scrolls that came after it.
#pragma once

#include <cstdint>
#include <vector>

#include "display/graph.h"

namespace pravelo::display {

struct GraphLine {
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

struct GraphCatchUp {
  int scrolls = 0;  // of kGraphStep each; no more than a canvas's width of them
  std::vector<GraphLine> lines;  // in the order drawn, after the scrolls
};

class HeldGraph {
 public:
  explicit HeldGraph(int canvasWidth) : canvasWidth_(canvasWidth) {}

  // A scroll of kGraphStep; lines it takes wholly off the left edge are forgotten.
  void Scroll();
  void Line(int x0, int y0, int x1, int y1);
  bool Empty() const { return scrolls_ == 0 && lines_.empty(); }
  // What is held, which is then forgotten.
  GraphCatchUp Take();

 private:
  struct HeldLine {
    GraphLine line;
    int64_t scrollsBefore;
  };
  int64_t Shift(const HeldLine& held) const { return (scrolls_ - held.scrollsBefore) * kGraphStep; }

  int canvasWidth_;
  int64_t scrolls_ = 0;
  std::vector<HeldLine> lines_;
};

}  // namespace pravelo::display
