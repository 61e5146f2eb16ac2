#include "base/numeric.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "base/exact_decimal.h"

namespace pravelo {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Enough significant digits to round any decimal text to the nearest double; the rest
// only matter through whether any of them is non-zero.
constexpr std::size_t kSignificantDigits = 800;
// Decimal exponents beyond this are infinity or zero for a double whatever the digits.
constexpr int64_t kExponentCap = 1'000'000'000;
constexpr int kFarOverflow = 400;
constexpr int kFarUnderflow = -400;

// The digits of a number as read: value = digits x 10^exponent.
struct DecimalText {
  std::string digits;  // without leading zeros; empty for zero
  int64_t exponent = 0;
  bool negative = false;
  bool found = false;  // at least one digit was read
};

DecimalText ReadLeadingNumber(std::string_view text) {
  DecimalText number;
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n && IsBlank(text[i])) ++i;
  if (i < n && (text[i] == '+' || text[i] == '-')) {
    number.negative = text[i] == '-';
    ++i;
  }
  bool afterPoint = false;
  bool droppedNonZero = false;
  for (; i < n; ++i) {
    const char c = text[i];
    if (IsBlank(c)) continue;
    if (c == '.' && !afterPoint) {
      afterPoint = true;
      continue;
    }
    if (!IsDigit(c)) break;
    number.found = true;
    if (number.digits.empty() && c == '0') {
      if (afterPoint) --number.exponent;
    } else if (number.digits.size() < kSignificantDigits) {
      number.digits += c;
      if (afterPoint) --number.exponent;
    } else {
      droppedNonZero = droppedNonZero || c != '0';
      if (!afterPoint) ++number.exponent;
    }
  }
  if (droppedNonZero) {
    // A trailing 1 keeps the value strictly above the truncation, so ties round right.
    number.digits += '1';
    --number.exponent;
  }
  if (!number.found) return number;

  if (i < n && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    while (i < n && IsBlank(text[i])) ++i;
    bool negativeExponent = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
      negativeExponent = text[i] == '-';
      ++i;
    }
    int64_t exponent = 0;
    for (; i < n; ++i) {
      const char c = text[i];
      if (IsBlank(c)) continue;
      if (!IsDigit(c)) break;
      exponent = std::min(exponent * 10 + (c - '0'), kExponentCap);
    }
    number.exponent += negativeExponent ? -exponent : exponent;
  }
  return number;
}

double ToDouble(const DecimalText& number) {
  if (number.digits.empty()) return 0.0;
  const int64_t leadingExponent = number.exponent + static_cast<int64_t>(number.digits.size()) - 1;
  const double infinity = std::numeric_limits<double>::infinity();
  double magnitude = 0.0;
  if (leadingExponent > kFarOverflow) {
    magnitude = infinity;
  } else if (leadingExponent >= kFarUnderflow) {
    magnitude = NearestDouble(number.digits, number.exponent);
  }
  return number.negative && magnitude != 0.0 ? -magnitude : magnitude;
}

template <typename Int>
Int RoundHalfEven(double value) {
  if (std::isnan(value)) return 0;
  double whole = std::floor(value);
  const double fraction = value - whole;  // exact for every finite double
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0)) whole += 1.0;
  // The limits of Int as doubles: the minimum is exact, the maximum rounds up to 2^(bits-1).
  constexpr double kMin = static_cast<double>(std::numeric_limits<Int>::min());
  constexpr double kAboveMax = -kMin;
  if (whole >= kAboveMax) return std::numeric_limits<Int>::max();
  if (whole <= kMin) return std::numeric_limits<Int>::min();
  return static_cast<Int>(whole);
}

}  // namespace

double NumericValue(std::string_view text) { return ToDouble(ReadLeadingNumber(text)); }

int32_t RoundHalfEven32(double value) { return RoundHalfEven<int32_t>(value); }
int64_t RoundHalfEven64(double value) { return RoundHalfEven<int64_t>(value); }

double RoundHalfAway(double value, int decimals) {
  if (!std::isfinite(value) || value == 0.0) return value == 0.0 ? 0.0 : value;
  // Round the decimal digits the format would show, not the binary value: 1.005 is
  // shown as 1.01 although its double lies just below.
  int leadingExponent = 0;
  std::string digits = SignificantDigits(std::fabs(value), kShownDigits, leadingExponent);

  // Digits that stay: those down to the last decimal place.
  const int kept = leadingExponent + 1 + decimals;
  if (kept < 0) return 0.0;
  if (kept < kShownDigits) {
    const bool up = digits[static_cast<std::size_t>(kept)] >= '5';
    digits.resize(static_cast<std::size_t>(kept));
    if (up) AddOneInLastPlace(digits, leadingExponent);
  }
  DecimalText rounded;
  rounded.negative = value < 0;
  rounded.exponent = leadingExponent + 1 - static_cast<int64_t>(digits.size());
  rounded.digits = digits.substr(0, digits.find_last_not_of('0') + 1);
  rounded.exponent += static_cast<int64_t>(digits.size() - rounded.digits.size());
  if (rounded.digits.empty()) return 0.0;
  return ToDouble(rounded);
}

bool ConvertsToTrue(std::string_view text) {
  constexpr std::string_view kBlanks = " \t\r\n";
  constexpr std::string_view kTrue = "true";
  const std::size_t first = text.find_first_not_of(kBlanks);
  const std::string_view word = first == std::string_view::npos
                                    ? std::string_view()
                                    : text.substr(first, text.find_last_not_of(kBlanks) + 1 - first);
  const auto sameLetter = [](char a, char b) { return (a | 0x20) == b; };
  if (std::equal(word.begin(), word.end(), kTrue.begin(), kTrue.end(), sameLetter)) return true;
  return NumericValue(text) != 0.0;
}

std::optional<int32_t> WholeNumberIn(std::string_view text, int32_t minimum, int32_t maximum) {
  constexpr std::string_view kBlanks = " \t";
  const std::size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return std::nullopt;
  const std::string_view digits = text.substr(first, text.find_last_not_of(kBlanks) + 1 - first);
  // Ten digits already pass any 32-bit bound; leading zeros are not worth a special case.
  constexpr std::size_t kMostDigits = 10;
  if (digits.size() > kMostDigits) return std::nullopt;
  int64_t value = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value < minimum || value > maximum) return std::nullopt;
  return static_cast<int32_t>(value);
}

}  // namespace pravelo
