#include "display/held_graph.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace pravelo::display {
namespace {

// Hours behind a minimized window hold no more than what is still on the canvas.
TEST(HeldGraph, HoldsAtMostACanvasOfScrollsAndTheLinesStillOnIt) {
  HeldGraph held(500);
  held.Line(0, 153, 1, 140);  // before the graph began to scroll
  for (int i = 0; i < 100000; ++i) {
    held.Scroll();
    held.Line(215, i % 153, 217, (i + 7) % 153);
  }
  const GraphCatchUp catchUp = held.Take();
  EXPECT_TRUE(held.Empty());
  EXPECT_EQ(catchUp.scrolls, 250);
  ASSERT_EQ(catchUp.lines.size(), 109u);
  for (std::size_t i = 0; i < catchUp.lines.size(); ++i) {
    const GraphLine& line = catchUp.lines[i];
    const int shift = static_cast<int>(catchUp.lines.size() - 1 - i) * kGraphStep;
    EXPECT_EQ(line.x0, 215 - shift);
    EXPECT_EQ(line.x1, 217 - shift);
    EXPECT_GE(std::max(line.x0, line.x1), 0);
  }
}

}  // namespace
}  // namespace pravelo::display
