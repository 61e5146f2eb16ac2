#include "display/figures.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "base/numeric.h"
#include "pravelo_version.h"

namespace pravelo::display {
namespace {

constexpr int kWindowBorderAllowance = 5;

// The number in at most 15 significant digits (7500, 49750, 0.1). printf rather than
// to_chars, whose floating tables would add some 180 KB to the program.
std::string NumberText(double value) {
  if (std::isnan(value)) return "0";
  char buffer[32];
  const int length = std::snprintf(buffer, sizeof buffer, "%.15g", value);
  return std::string(buffer, static_cast<std::size_t>(std::max(0, length)));
}

}  // namespace

std::string LoadText(int load) { return std::to_string(load) + "%"; }

std::string TitleText(int load) { return "Pravelo " PRAVELO_VERSION_TEXT " - " + LoadText(load); }

std::string FiguresText(int totalMb, int availableMb) {
  return std::to_string(totalMb) + "MB / " + std::to_string(availableMb) + "MB";
}

double EstimateAvailableMb(int load, double totalKb) {
  return RoundHalfAway((100.0 - load) * totalKb / 100.0 / 1024.0, 2);
}

int MainBarWidth(int windowWidth, int barLeft, int load) {
  double width = static_cast<double>(windowWidth - barLeft - kWindowBorderAllowance) * load / 100.0;
  return width > 0 ? RoundHalfEven32(width) : 0;
}

int SimpleBarWidth(int load) { return RoundHalfEven32(load * 72 / 100.0); }

int IconBarWidth(int load) { return RoundHalfEven32(load * 48 / 100.0); }

bool IsHighLoad(int load, std::optional<double> z17) {
  return load > kHighLoad && z17.value_or(0.0) <= kHighLoad;
}

std::string TimerTagText(double intervalSeconds, bool high) {
  return NumberText(intervalSeconds * 1000.0 - (high ? kTagHighLoadLeadMs : 0));
}

}  // namespace pravelo::display
