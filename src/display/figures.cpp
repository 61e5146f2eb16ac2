#include "display/figures.h"

#include <charconv>
#include <cmath>

#include "base/numeric.h"

namespace pravelo::display {
namespace {

constexpr int kWindowBorderAllowance = 5;

// The shortest text that reads back as the same number.
std::string ShortestText(double value) {
  if (std::isnan(value)) return "0";
  char buffer[32];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, result.ptr);
}

}  // namespace

std::string LoadText(int load) { return std::to_string(load) + "%"; }

std::string TitleText(int load) { return "Pravelo 1.4.2 - " + LoadText(load); }

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

bool IsHighLoad(int load, std::optional<double> z17) { return load > kHighLoad && z17.value_or(0.0) <= kHighLoad; }

std::string TimerTagText(double intervalSeconds, bool high) {
  return ShortestText(intervalSeconds * 1000.0 - (high ? kTagHighLoadLeadMs : 0));
}

}  // namespace pravelo::display
