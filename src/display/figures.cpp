#include "display/figures.h"

#include <cmath>
#include <cstdlib>

#include "base/exact_decimal.h"
#include "base/numeric.h"
#include "pravelo_version.h"

namespace pravelo::display {
namespace {

constexpr int kWindowBorderAllowance = 5;

// The number in at most 15 significant digits, as "%.15g" writes it (7500, 49750, 0.1,
// 1e+300).
std::string NumberText(double value) {
  if (std::isnan(value)) return "0";
  const std::string sign = std::signbit(value) ? "-" : "";
  if (std::isinf(value)) return sign + "inf";
  if (value == 0) return sign + "0";
  int exponent = 0;
  std::string digits = SignificantDigits(std::fabs(value), kShownDigits, exponent);
  digits.erase(digits.find_last_not_of('0') + 1);
  if (exponent < -4 || exponent >= kShownDigits) {
    const std::string mantissa = digits.size() > 1 ? digits.substr(0, 1) + '.' + digits.substr(1) : digits;
    const std::string power = std::to_string(std::abs(exponent));
    return sign + mantissa + (exponent < 0 ? "e-" : "e+") + (power.size() < 2 ? "0" : "") + power;
  }
  if (exponent < 0) return sign + "0." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
  const auto whole = static_cast<std::size_t>(exponent + 1);
  if (digits.size() <= whole) return sign + digits + std::string(whole - digits.size(), '0');
  return sign + digits.substr(0, whole) + '.' + digits.substr(whole);
}

}  // namespace

std::string LoadText(int load) { return std::to_string(load) + "%"; }

std::string TitleText(int load) {
  return PRAVELO_PRODUCT_NAME " " PRAVELO_VERSION_TEXT " - " + LoadText(load);
}

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
