// Numeric readings of texts, as every setting and the version file are read: one place
// for the leading-number rule, the Boolean rule and the roundings.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace pravelo {

// The leading decimal number of a text: blanks skipped, optional sign, digits with "."
// as the decimal point whatever the locale, optional exponent; 0 when there is none.
// A number too large for a double gives +/- infinity, one too small gives 0.
double NumericValue(std::string_view text);

// Nearest whole number, halves to even. Saturates at the type's limits; NaN gives 0.
int32_t RoundHalfEven32(double value);
int64_t RoundHalfEven64(double value);

// Significant digits a number shows when formatted as text.
inline constexpr int kShownDigits = 15;

// Rounds to `decimals` places of the number as shown, with halves away from zero, as a
// "0.00" format does.
double RoundHalfAway(double value, int decimals);

// Whether a setting's text "converts to true": the word true (any case) or a number
// other than 0.
bool ConvertsToTrue(std::string_view text);

// A text that is a whole number and nothing else (blanks around it allowed) within
// [minimum, maximum]; nothing otherwise. For what a user types where a count is asked.
std::optional<int32_t> WholeNumberIn(std::string_view text, int32_t minimum, int32_t maximum);

}  // namespace pravelo
