#include <gtest/gtest.h>

#include <bit>
#include <cstdio>
#include <random>

#include "display/figures.h"
#include "display/graph.h"
#include "fakes/app_fixture.h"
#include "pravelo_version.h"

namespace pravelo {
namespace {

using fakes::AppFixture;
using Call = fakes::FakeTaskbar::Call;

// The title and tooltip before the load.
const std::string kTitle = "Pravelo " PRAVELO_VERSION_TEXT " - ";

TEST(RefreshFigures, TextsAndWidths) {
  EXPECT_EQ(display::LoadText(45), "45%");
  EXPECT_EQ(display::TitleText(45), kTitle + "45%");
  EXPECT_EQ(display::FiguresText(4096, 1834), "4096MB / 1834MB");
  const std::tuple<int, int, int> bars[] = {{0, 0, 0}, {50, 165, 36}, {51, 168, 37}, {100, 330, 72}};
  for (const auto& [load, main, simple] : bars) {
    EXPECT_EQ(display::MainBarWidth(407, 72, load), main) << load;
    EXPECT_EQ(display::SimpleBarWidth(load), simple) << load;
  }
  EXPECT_EQ(display::IconBarWidth(51), 24);
  EXPECT_EQ(display::TimerTagText(50, true), "49750");
  EXPECT_EQ(display::TimerTagText(50, false), "50000");
  EXPECT_EQ(display::TimerTagText(7.5, false), "7500");
  EXPECT_FALSE(display::TimerTagText(std::numeric_limits<double>::infinity(), false).empty());
}

// The tag is written as "%.15g" writes the number, for every number a setting can give.
TEST(RefreshFigures, TimerTagIsWrittenAsTheFormatWritesIt) {
  auto formatted = [](double milliseconds) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.15g", milliseconds);
    return std::string(buffer);
  };
  std::vector<double> seconds = {0.0, -0.0, 1e-3, 1.005, 99999.9999999999, 1e12, 1e300, -7.5,
                                 std::numeric_limits<double>::infinity(), std::numeric_limits<double>::denorm_min()};
  std::mt19937_64 random(170);
  for (int i = 0; i < 5000; ++i) seconds.push_back(std::bit_cast<double>(random()));
  for (const double value : seconds) {
    if (std::isnan(value)) continue;
    ASSERT_EQ(display::TimerTagText(value, false), formatted(value * 1000.0)) << value;
  }
}

TEST(RefreshFigures, HighLoadNeedsTheLastPassFigureAtMostFifty) {
  EXPECT_FALSE(display::IsHighLoad(50, std::nullopt));
  EXPECT_TRUE(display::IsHighLoad(51, std::nullopt));
  EXPECT_TRUE(display::IsHighLoad(60, -1440.25));
  EXPECT_TRUE(display::IsHighLoad(60, 50));
  EXPECT_FALSE(display::IsHighLoad(60, 50.5));
}

TEST(Graph, FirstRunThenScrollAtTheViewportEdge) {
  display::GraphState graph;
  graph.Start(153);
  display::GraphSegment first = graph.Advance(0, 217, 153);
  EXPECT_FALSE(first.scrollFirst);
  EXPECT_EQ(std::make_tuple(first.x0, first.y0, first.x1, first.y1), std::make_tuple(-1, 153, 2, 153));
  display::GraphSegment second = graph.Advance(100, 217, 153);
  EXPECT_EQ(std::make_tuple(second.x0, second.y0, second.x1, second.y1), std::make_tuple(1, 153, 4, 0));
  for (int run = 3; run <= 108; ++run) EXPECT_FALSE(graph.Advance(50, 217, 153).scrollFirst) << run;
  EXPECT_EQ(graph.GraphX(), 216);
  display::GraphSegment scrolled = graph.Advance(50, 217, 153);
  EXPECT_TRUE(scrolled.scrollFirst);
  EXPECT_EQ(std::make_tuple(scrolled.x0, scrolled.x1), std::make_tuple(214, 217));
  display::GraphSegment next = graph.Advance(50, 217, 153);
  EXPECT_TRUE(next.scrollFirst);
  EXPECT_EQ(std::make_tuple(next.x0, next.x1), std::make_tuple(215, 217));
  EXPECT_EQ(graph.GraphX(), 220);
}

TEST(Refresh, FiguresLabelOnEverySixthRun) {
  AppFixture f;
  f.memory.availableBytes = 1834ull * 1024000 + 500000;  // 1834.49 MB
  f.Start();                                              // run 1
  app::Form1& form = f.form1();
  for (int run = 2; run <= 5; ++run) form.UpdateDisplay();
  EXPECT_EQ(form.Label2.Text(), "");
  EXPECT_EQ(f.PeerOf(form.Label2).Count(ui::Change::Text), 0);
  form.Optimization().Figures().z18 = 1;
  form.UpdateDisplay();  // run 6
  EXPECT_EQ(form.Label2.Text(), "4096MB / 1834MB");
  EXPECT_DOUBLE_EQ(form.Optimization().Figures().z18, 2252.8);
  for (int run = 7; run <= 11; ++run) form.UpdateDisplay();
  EXPECT_EQ(f.PeerOf(form.Label2).Count(ui::Change::Text), 1);
  form.UpdateDisplay();  // run 12
  EXPECT_EQ(f.PeerOf(form.Label2).Count(ui::Change::Text), 2);
}

TEST(Refresh, LabelsAreTouchedOnlyWhenTheTextChanges) {
  AppFixture f;
  f.Start();
  app::Form1& form = f.form1();
  std::vector<ui::Control*> labels{&form.Label1, &form.Label5, &f.form3().Label1, &f.form3().Label2};
  for (ui::Control* label : labels) EXPECT_EQ(f.PeerOf(*label).Count(ui::Change::Text), 1);
  form.UpdateDisplay();  // 45% again
  for (ui::Control* label : labels) EXPECT_EQ(f.PeerOf(*label).Count(ui::Change::Text), 1);
  f.memory.load = 46;
  form.UpdateDisplay();
  for (ui::Control* label : labels) {
    EXPECT_EQ(f.PeerOf(*label).Count(ui::Change::Text), 2);
    EXPECT_EQ(label->Text(), "46%");
  }
}

TEST(Refresh, BarsColoursAndIconBarByLoad) {
  struct Case {
    uint32_t load;
    ui::Picture picture;
    std::optional<int> iconBar;
    int mainWidth;
  };
  const Case cases[] = {{0, ui::Picture::BarGreen, std::nullopt, 0},
                        {50, ui::Picture::BarGreen, std::nullopt, 165},
                        {51, ui::Picture::BarRed, 24, 168},
                        {100, ui::Picture::BarRed, 48, 330}};
  for (const Case& c : cases) {
    AppFixture f;
    f.memory.load = c.load;
    f.Start();
    const app::Form1& form = f.form1();
    EXPECT_EQ(form.Picture3.CurrentPicture(), c.picture) << c.load;
    EXPECT_EQ(f.form3().Picture3.CurrentPicture(), c.picture) << c.load;
    EXPECT_EQ(form.Picture3.Width(), c.mainWidth) << c.load;
    if (c.iconBar) {
      ASSERT_EQ(f.icon.bars.size(), 1u) << c.load;
      EXPECT_EQ(f.icon.bars[0], std::make_pair(*c.iconBar, 48));
    } else {
      EXPECT_TRUE(f.icon.bars.empty()) << c.load;
    }
    ASSERT_FALSE(f.icon.printed.empty());
    EXPECT_EQ(f.icon.printed.back().x, -10);
    EXPECT_EQ(f.icon.printed.back().y, 0);
    EXPECT_EQ(f.icon.printed.back().text, " " + std::to_string(c.load) + " ");
    ASSERT_FALSE(f.region.regions.empty());
    EXPECT_EQ(f.region.regions.back().window, fakes::kBarWindow);
    EXPECT_EQ(f.region.regions.back().width, c.mainWidth);
    EXPECT_EQ(f.region.regions.back().height, 27);
  }
}

TEST(Refresh, TaskbarCallsByLoadAndDuringTheDeepPass) {
  struct Case {
    uint32_t load;
    std::vector<Call> calls;
  };
  const WindowId w = fakes::kForm1Window;
  const Case cases[] = {
      {50, {{"value", w, {50, 100}}, {"state", w, {2}}, {"tooltip", w, {}, kTitle + "50%"}}},
      {51, {{"value", w, {51, 100}}, {"state", w, {8}}, {"tooltip", w, {}, kTitle + "51%"}}},
      {70, {{"value", w, {70, 100}}, {"state", w, {8}}, {"tooltip", w, {}, kTitle + "70%"}}},
      {71, {{"value", w, {71, 100}}, {"state", w, {8}}, {"state", w, {12}}, {"tooltip", w, {}, kTitle + "71%"}}},
  };
  for (const Case& c : cases) {
    AppFixture f;
    f.memory.load = c.load;
    f.Start();
    f.taskbar->calls.clear();
    f.form1().UpdateDisplay();
    EXPECT_EQ(f.taskbar->calls, c.calls) << c.load;
  }
  AppFixture f;
  f.Start();
  f.taskbar->calls.clear();
  // The deep pass holds its memory while the window works; Form2's timer ends the hold.
  std::vector<Call> duringHold;
  f.form2().Timer1.onTimer = [&] {
    f.taskbar->calls.clear();
    f.form1().UpdateDisplay();
    duringHold = f.taskbar->calls;
    f.form2().Timer1.SetEnabled(false);
  };
  EXPECT_TRUE(f.form1().DeepOptimize());
  EXPECT_EQ(duringHold, (std::vector<Call>{{"state", w, {1}}, {"tooltip", w, {}, kTitle + "45%"}}));
  f.form1().SimpleMode = true;
  f.taskbar->calls.clear();
  f.form1().UpdateDisplay();
  EXPECT_EQ(f.taskbar->calls.front(), (Call{"value", fakes::kForm3Window, {45, 100}}));
}

TEST(Refresh, TitleCarriesTheLoadWhereThereIsNoTaskbarProgress) {
  AppFixture f;
  f.memory.version = fakes::FakeMemoryApi::VersionOf(10, 0);
  f.Start();
  EXPECT_EQ(f.form1().Text(), kTitle + "45%");
  EXPECT_TRUE(f.taskbar->calls.empty());
  AppFixture seven;
  seven.Start();
  EXPECT_EQ(seven.form1().Text(), "Pravelo");
}

TEST(Refresh, TimerTagIsNeverEmptyAfterTheFirstRun) {
  AppFixture f;
  f.memory.load = 60;
  f.Start();
  EXPECT_EQ(f.form1().Timer1.Tag(), "49750");
  f.memory.load = 40;
  f.form1().UpdateDisplay();
  EXPECT_EQ(f.form1().Timer1.Tag(), "50000");
}

TEST(Refresh, GraphCallsOnTheCanvas) {
  AppFixture f;
  f.memory.load = 0;
  f.Start();
  ASSERT_EQ(f.graph.calls.size(), 2u);
  EXPECT_EQ(f.graph.calls[1], (fakes::FakeGraphCanvas::Call{"line", -1, 153, 2, 153}));
  f.graph.calls.clear();
  for (int run = 2; run <= 108; ++run) f.form1().UpdateDisplay();
  EXPECT_EQ(std::count(f.graph.calls.begin(), f.graph.calls.end(), fakes::FakeGraphCanvas::Call{"scroll", 2}), 0);
  f.form1().UpdateDisplay();
  EXPECT_EQ(f.graph.calls[f.graph.calls.size() - 2], (fakes::FakeGraphCanvas::Call{"scroll", 2}));
}

}  // namespace
}  // namespace pravelo
