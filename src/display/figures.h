// The arithmetic and texts of a refresh.
#pragma once

#include <optional>
#include <string>

namespace pravelo::display {

inline constexpr int kHighLoad = 50;   // above it the bars turn red
inline constexpr int kAlarmLoad = 70;  // above it the taskbar shows the error state
inline constexpr int kTagHighLoadLeadMs = 250;

// "45%".
std::string LoadText(int load);
// "Pravelo <version> - 45%".
std::string TitleText(int load);
// "4096MB / 1834MB".
std::string FiguresText(int totalMb, int availableMb);
// Available MB estimated from the load and the installed KB, to two decimals.
double EstimateAvailableMb(int load, double totalKb);
// The main bar: its share of the room between its left edge and the window's right border.
int MainBarWidth(int windowWidth, int barLeft, int load);
// The simple-mode bar: 72 pixels at 100 percent.
int SimpleBarWidth(int load);
// The icon's bar: load x 48 / 100 pixels.
int IconBarWidth(int load);
// Red bars: a load above 50, unless the last pass's load-minus-figure exceeds 50.
bool IsHighLoad(int load, std::optional<double> z17);
// The refresh's tag text for the automatic timer: the interval in ms, 250 less when high.
std::string TimerTagText(double intervalSeconds, bool high);

}  // namespace pravelo::display
