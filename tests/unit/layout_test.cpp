#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "declared_windows.h"
#include "ui/dpi_scale.h"
#include "ui/layout.h"

namespace pravelo::ui {
namespace {

struct Placed {
  std::string name;
  Rect rect;
  bool stacked;  // may lie over or under the window's other stacked controls
};

struct Window {
  std::string name;
  layout::Size client;
  std::vector<Placed> controls;  // the ones directly on the window, shown
};

// A row's name, with its place for an element of an array of controls.
template <class F>
std::string NameOf(const ControlRow<F>& row) {
  const auto place = [](const auto& member) -> std::string {
    if constexpr (requires { member.index; }) return std::to_string(member.index);
    return {};
  };
  return row.name + std::visit(place, row.member);
}

std::vector<Window> Windows() {
  std::vector<Window> windows;
  testing::ForEachDeclaredWindow([&](const char* name, layout::Size client, auto rows, auto) {
    Window& w = windows.emplace_back(Window{name, client, {}});
    for (const auto& row : rows) {
      if (row.placement == Placement::Inside || row.placement == Placement::Hidden) continue;
      w.controls.push_back({NameOf(row), row.rect, row.placement == Placement::Stacked});
    }
    // The notifications are made while the program runs, over the graph.
    if (w.name == "Form1") w.controls.push_back({"Status", layout::form1::Status, true});
  });
  return windows;
}

bool Overlap(const Rect& a, const Rect& b) {
  return a.left < b.left + b.width && b.left < a.left + a.width && a.top < b.top + b.height &&
         b.top < a.top + a.height;
}

bool Inside(const Rect& r, layout::Size client) {
  return r.left >= 0 && r.top >= 0 && r.width > 0 && r.height > 0 && r.left + r.width <= client.width &&
         r.top + r.height <= client.height;
}

TEST(Layout, EveryControlFitsItsWindowAndNoneCoversAnotherAtAnyDpi) {
  for (int dpi : {96, 120, 144, 168, 192}) {
    for (const Window& w : Windows()) {
      const layout::Size client{ScaleToDpi(w.client.width, dpi), ScaleToDpi(w.client.height, dpi)};
      for (std::size_t i = 0; i < w.controls.size(); ++i) {
        const Rect a = ScaleToDpi(w.controls[i].rect, dpi);
        EXPECT_TRUE(Inside(a, client)) << w.name << "." << w.controls[i].name << " at " << dpi;
        for (std::size_t j = i + 1; j < w.controls.size(); ++j) {
          if (w.controls[i].stacked && w.controls[j].stacked) continue;
          EXPECT_FALSE(Overlap(a, ScaleToDpi(w.controls[j].rect, dpi)))
              << w.name << ": " << w.controls[i].name << " and " << w.controls[j].name << " at " << dpi;
        }
      }
    }
  }
}

TEST(Layout, MainWindowMatchesTheRefreshArithmetic) {
  namespace f1 = layout::form1;
  // The refresh sizes the bar from the outer width minus the bar's left and 5 pixels.
  EXPECT_NEAR(f1::kWindow.width, 407, 2);
  // The track reaches the right edge, and the canvas is as tall as its viewport.
  EXPECT_EQ(f1::Picture6.left + f1::Picture6.width, f1::kClient.width);
  EXPECT_EQ(f1::Picture4.height, f1::Picture1.height);
  EXPECT_GE(f1::Picture4.width, f1::Picture1.width);
}

}  // namespace
}  // namespace pravelo::ui
