// The scrolling load graph: where each refresh draws its segment.
#pragma once

namespace pravelo::display {

inline constexpr int kGraphStep = 2;  // pixels per refresh, and the scroll

struct GraphSegment {
  bool scrollFirst = false;  // the whole canvas moves kGraphStep pixels left before the line
  int x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

class GraphState {
 public:
  // The first line starts at (0, H), the point start-up plots.
  void Start(int canvasHeight) {
    x_ = 0;
    y_ = canvasHeight;
  }
  // One refresh: the newest point moves kGraphStep right; once it passes the viewport's
  // right edge the canvas scrolls and the newest point stays at that edge.
  GraphSegment Advance(int load, int viewportWidth, int canvasHeight);
  int GraphX() const { return graphX_; }

 private:
  int graphX_ = 0;
  int x_ = 0;  // the canvas's current drawing position
  int y_ = 0;
};

// y of a load on a canvas of height H: 0 percent at the bottom, 100 at the top.
int GraphY(int load, int canvasHeight);

}  // namespace pravelo::display
