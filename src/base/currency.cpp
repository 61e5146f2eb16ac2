#include "base/currency.h"

#include <algorithm>
#include <limits>

#include "base/numeric.h"

namespace pravelo {
namespace {

constexpr int64_t kScaledPerCent = Currency::kScale / 100;
constexpr int kFractionDigits = 4;

}  // namespace

Currency Currency::FromDouble(double value) { return Currency(RoundHalfEven64(value * kScale)); }

Currency Currency::RoundedToCents() const {
  int64_t cents = scaled_ / kScaledPerCent;
  const int64_t rest = scaled_ % kScaledPerCent;
  if (rest >= kScaledPerCent / 2) ++cents;
  if (rest <= -kScaledPerCent / 2) --cents;
  constexpr int64_t kMaxCents = std::numeric_limits<int64_t>::max() / kScaledPerCent;
  return Currency(std::clamp(cents, -kMaxCents, kMaxCents) * kScaledPerCent);
}

int32_t Currency::ToInt32() const {
  int64_t whole = scaled_ / kScale;
  const int64_t rest = scaled_ % kScale;
  const bool odd = whole % 2 != 0;
  if (rest > kScale / 2 || (rest == kScale / 2 && odd)) ++whole;
  if (rest < -kScale / 2 || (rest == -kScale / 2 && odd)) --whole;
  return static_cast<int32_t>(
      std::clamp<int64_t>(whole, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

std::string Currency::ToText(std::string_view decimalSeparator) const {
  // Unsigned, so that the most negative amount has a magnitude too.
  const uint64_t magnitude =
      scaled_ < 0 ? 0 - static_cast<uint64_t>(scaled_) : static_cast<uint64_t>(scaled_);
  const uint64_t scale = static_cast<uint64_t>(kScale);
  std::string text = scaled_ < 0 ? "-" : "";
  text += std::to_string(magnitude / scale);
  uint64_t fraction = magnitude % scale;
  if (fraction == 0) return text;
  std::string digits(kFractionDigits, '0');
  for (int at = kFractionDigits - 1; at >= 0; --at, fraction /= 10) {
    digits[static_cast<std::size_t>(at)] = static_cast<char>('0' + fraction % 10);
  }
  digits.erase(digits.find_last_not_of('0') + 1);
  text += decimalSeparator;
  text += digits;
  return text;
}

}  // namespace pravelo
