// Exact conversions between decimal digits and doubles. The C library's reading and
// formatting of floating-point numbers would bring some 40 KB of tables and state into the
// program for these two uses.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace pravelo {

// The double nearest to digits x 10^exponent, ties to even; infinity past the largest.
// `digits` are decimal digits only. Exact for any digits, but the work grows with the
// number of digits and |exponent|, so callers bound both.
double NearestDouble(std::string_view digits, int64_t exponent);

// The first `count` (>= 1) significant digits of a finite `magnitude` > 0, rounded to
// nearest with ties to even, as "%.*e" gives them; `leadingExponent` receives the decimal
// exponent of the first digit.
std::string SignificantDigits(double magnitude, int count, int& leadingExponent);

// Adds one in the last place of `digits`. A carry out of the first digit makes them a 1
// followed by zeros, one digit longer, and raises `leadingExponent`.
void AddOneInLastPlace(std::string& digits, int& leadingExponent);

}  // namespace pravelo
