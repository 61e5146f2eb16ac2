#include "base/exact_decimal.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <compare>
#include <cstddef>
#include <vector>

namespace pravelo {
namespace {

// A natural number of any size: base 2^32 limbs, least significant first, no zero limb at
// the top, so zero has none.
class BigNatural {
 public:
  explicit BigNatural(uint64_t value) {
    for (; value != 0; value >>= 32) limbs_.push_back(static_cast<uint32_t>(value));
  }

  // *this = *this x factor + addend, for factor > 0.
  void MultiplyAdd(uint32_t factor, uint32_t addend) {
    uint64_t carry = addend;
    for (uint32_t& limb : limbs_) {
      carry += static_cast<uint64_t>(limb) * factor;
      limb = static_cast<uint32_t>(carry);
      carry >>= 32;
    }
    if (carry != 0) limbs_.push_back(static_cast<uint32_t>(carry));
  }

  void MultiplyByPowerOf5(int64_t power) {
    constexpr uint32_t kLargestInALimb = 1'220'703'125;  // 5^13
    for (; power >= 13; power -= 13) MultiplyAdd(kLargestInALimb, 0);
    uint32_t rest = 1;
    for (; power > 0; --power) rest *= 5;
    MultiplyAdd(rest, 0);
  }

  void ShiftLeft(int64_t bits) {
    if (limbs_.empty()) return;
    const int part = static_cast<int>(bits % 32);
    if (part != 0) {
      uint32_t carry = 0;
      for (uint32_t& limb : limbs_) {
        const uint32_t out = limb >> (32 - part);
        limb = limb << part | carry;
        carry = out;
      }
      if (carry != 0) limbs_.push_back(carry);
    }
    limbs_.insert(limbs_.begin(), static_cast<std::size_t>(bits / 32), 0);
  }

  void HalveDown() {
    uint32_t carry = 0;
    for (auto limb = limbs_.rbegin(); limb != limbs_.rend(); ++limb) {
      const uint32_t out = *limb & 1;
      *limb = *limb >> 1 | carry << 31;
      carry = out;
    }
    DropZeroTop();
  }

  // *this = *this / divisor, giving the remainder.
  uint32_t DivideBy(uint32_t divisor) {
    uint64_t remainder = 0;
    for (auto limb = limbs_.rbegin(); limb != limbs_.rend(); ++limb) {
      const uint64_t current = remainder << 32 | *limb;
      *limb = static_cast<uint32_t>(current / divisor);
      remainder = current % divisor;
    }
    DropZeroTop();
    return static_cast<uint32_t>(remainder);
  }

  // *this -= smaller, for smaller <= *this.
  void Subtract(const BigNatural& smaller) {
    uint64_t borrow = 0;
    for (std::size_t i = 0; i < limbs_.size(); ++i) {
      const uint64_t taken = (i < smaller.limbs_.size() ? smaller.limbs_[i] : 0) + borrow;
      borrow = limbs_[i] < taken ? 1 : 0;
      limbs_[i] = static_cast<uint32_t>(limbs_[i] - taken);
    }
    DropZeroTop();
  }

  int64_t BitLength() const {
    if (limbs_.empty()) return 0;
    return static_cast<int64_t>(limbs_.size() - 1) * 32 + std::bit_width(limbs_.back());
  }

  bool IsZero() const { return limbs_.empty(); }

  // Decimal digits, most significant first; empty for zero.
  std::string Digits() const {
    constexpr uint32_t kChunk = 1'000'000'000;
    constexpr int kChunkDigits = 9;
    BigNatural rest = *this;
    std::string reversed;
    while (!rest.IsZero()) {
      uint32_t chunk = rest.DivideBy(kChunk);
      for (int i = 0; i < kChunkDigits; ++i, chunk /= 10) reversed += static_cast<char>('0' + chunk % 10);
    }
    reversed.erase(reversed.find_last_not_of('0') + 1);
    return {reversed.rbegin(), reversed.rend()};
  }

  friend std::strong_ordering operator<=>(const BigNatural& a, const BigNatural& b) {
    if (a.limbs_.size() != b.limbs_.size()) return a.limbs_.size() <=> b.limbs_.size();
    return std::lexicographical_compare_three_way(a.limbs_.rbegin(), a.limbs_.rend(), b.limbs_.rbegin(),
                                                  b.limbs_.rend());
  }

 private:
  void DropZeroTop() {
    while (!limbs_.empty() && limbs_.back() == 0) limbs_.pop_back();
  }

  std::vector<uint32_t> limbs_;
};

// The double nearest to (quotient + a fraction) x 2^scale, where `inexact` says whether
// the fraction is above zero; quotient >= 2^62.
double RoundToDouble(uint64_t quotient, bool inexact, int64_t scale) {
  constexpr int64_t kSignificantBits = 53;
  constexpr int64_t kLowestBit = -1074;  // of the smallest subnormal
  constexpr int64_t kQuotientBits = 64;
  const int64_t dropped = std::max<int64_t>(std::bit_width(quotient) - kSignificantBits, kLowestBit - scale);
  if (dropped > kQuotientBits) return 0.0;  // below half the smallest subnormal
  uint64_t kept = dropped == kQuotientBits ? 0 : quotient >> dropped;
  const uint64_t half = uint64_t{1} << (dropped - 1);
  const uint64_t rest = quotient & ((half << 1) - 1);
  if (rest > half || (rest == half && (inexact || (kept & 1) != 0))) ++kept;
  // kept <= 2^53 is exact as a double, and so is the product unless it overflows.
  return std::ldexp(static_cast<double>(kept), static_cast<int>(scale + dropped));
}

}  // namespace

double NearestDouble(std::string_view digits, int64_t exponent) {
  // digits x 10^e = digits x 5^e / 1 x 2^e, or digits / 5^-e x 2^e.
  BigNatural numerator(0);
  for (const char digit : digits) numerator.MultiplyAdd(10, static_cast<uint32_t>(digit - '0'));
  if (numerator.IsZero()) return 0.0;
  BigNatural denominator(1);
  if (exponent >= 0) {
    numerator.MultiplyByPowerOf5(exponent);
  } else {
    denominator.MultiplyByPowerOf5(-exponent);
  }
  // Brought to a quotient in (2^62, 2^64): its 64 bits and whether anything remains
  // decide the rounding.
  const int64_t shift = 63 - (numerator.BitLength() - denominator.BitLength());
  if (shift > 0) {
    numerator.ShiftLeft(shift);
  } else {
    denominator.ShiftLeft(-shift);
  }
  constexpr int kTopBit = 63;
  denominator.ShiftLeft(kTopBit);
  uint64_t quotient = 0;
  for (int bit = kTopBit; bit >= 0; --bit) {
    quotient <<= 1;
    if (numerator >= denominator) {
      numerator.Subtract(denominator);
      quotient |= 1;
    }
    denominator.HalveDown();
  }
  return RoundToDouble(quotient, !numerator.IsZero(), exponent - shift);
}

void AddOneInLastPlace(std::string& digits, int& leadingExponent) {
  auto at = digits.rbegin();
  for (; at != digits.rend() && *at == '9'; ++at) *at = '0';
  if (at != digits.rend()) {
    ++*at;
  } else {
    digits.insert(digits.begin(), '1');
    ++leadingExponent;
  }
}

std::string SignificantDigits(double magnitude, int count, int& leadingExponent) {
  // magnitude = m x 2^e exactly, and for e < 0 that is m x 5^-e x 10^e, so the decimal
  // digits of a whole number are its exact digits.
  constexpr int kFractionBits = 52;
  constexpr int64_t kExponentBias = 1075;  // of the significand read as a whole number
  const auto bits = std::bit_cast<uint64_t>(magnitude);
  const auto biased = static_cast<int64_t>(bits >> kFractionBits & 0x7ff);
  const uint64_t fraction = bits & ((uint64_t{1} << kFractionBits) - 1);
  BigNatural whole(biased == 0 ? fraction : fraction | uint64_t{1} << kFractionBits);
  const int64_t binaryExponent = std::max<int64_t>(biased, 1) - kExponentBias;
  int64_t decimalExponent = 0;
  if (binaryExponent >= 0) {
    whole.ShiftLeft(binaryExponent);
  } else {
    whole.MultiplyByPowerOf5(-binaryExponent);
    decimalExponent = binaryExponent;
  }
  std::string digits = whole.Digits();
  leadingExponent = static_cast<int>(decimalExponent + static_cast<int64_t>(digits.size()) - 1);

  const auto shown = static_cast<std::size_t>(count);
  if (digits.size() > shown) {
    const char next = digits[shown];
    const bool aboveHalf =
        next > '5' || (next == '5' && digits.find_first_not_of('0', shown + 1) != std::string::npos);
    const bool tie = next == '5' && !aboveHalf;
    digits.resize(shown);
    if (aboveHalf || (tie && (digits.back() - '0') % 2 != 0)) {
      AddOneInLastPlace(digits, leadingExponent);
      digits.resize(shown);  // a carry out of the first digit gave one more zero
    }
  }
  digits.resize(shown, '0');
  return digits;
}

}  // namespace pravelo
