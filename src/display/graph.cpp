#include "display/graph.h"

#include "base/numeric.h"

namespace pravelo::display {

int GraphY(int load, int canvasHeight) {
  return RoundHalfEven32(canvasHeight - static_cast<double>(load) * canvasHeight / 100.0);
}

GraphSegment GraphState::Advance(int load, int viewportWidth, int canvasHeight) {
  graphX_ += kGraphStep;
  GraphSegment segment;
  segment.y0 = y_;
  segment.y1 = GraphY(load, canvasHeight);
  if (viewportWidth < graphX_) {
    segment.scrollFirst = true;
    segment.x0 = x_ - kGraphStep;
    segment.x1 = viewportWidth;
  } else {
    segment.x0 = x_ - 1;
    segment.x1 = graphX_;
  }
  x_ = segment.x1;
  y_ = segment.y1;
  return segment;
}

}  // namespace pravelo::display
