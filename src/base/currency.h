// A fixed-point amount with four decimals, held as a scaled 64-bit integer, as the
// memory figures are computed and shown.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pravelo {

class Currency {
 public:
  static constexpr int64_t kScale = 10000;

  constexpr Currency() = default;
  static constexpr Currency FromScaled(int64_t scaled) { return Currency(scaled); }
  // Rounds to four decimals, halves to even; saturates outside the 64-bit range.
  static Currency FromDouble(double value);

  constexpr int64_t Scaled() const { return scaled_; }
  double ToDouble() const { return static_cast<double>(scaled_) / kScale; }
  // Rounds to two decimals, halves away from zero.
  Currency RoundedToCents() const;
  // Nearest 32-bit whole number, halves to even.
  int32_t ToInt32() const;
  // Shortest decimal form: no thousands separator, no trailing zeros (1048.5, 1048, -0.25).
  std::string ToText(std::string_view decimalSeparator) const;

  friend constexpr Currency operator-(Currency a, Currency b) { return Currency(a.scaled_ - b.scaled_); }
  friend constexpr bool operator==(Currency, Currency) = default;

 private:
  constexpr explicit Currency(int64_t scaled) : scaled_(scaled) {}
  int64_t scaled_ = 0;
};

}  // namespace pravelo
