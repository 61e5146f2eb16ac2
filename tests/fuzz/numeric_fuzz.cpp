// libFuzzer target: the numeric readings and roundings on arbitrary texts and doubles.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

#include "base/exact_decimal.h"
#include "base/numeric.h"

namespace {

// A broken property names itself before libFuzzer keeps the input.
#define REQUIRE(condition) \
  ((condition) ? void() : (std::fprintf(stderr, "%s:%d: %s\n", __FILE__, __LINE__, #condition), std::abort()))

template <typename Int>
void CheckHalfEven(double value, Int rounded) {
  constexpr double kMax = static_cast<double>(std::numeric_limits<Int>::max());
  constexpr double kMin = static_cast<double>(std::numeric_limits<Int>::min());
  if (std::isnan(value)) return REQUIRE(rounded == 0);
  if (value >= kMax) return REQUIRE(rounded == std::numeric_limits<Int>::max());
  if (value <= kMin) return REQUIRE(rounded == std::numeric_limits<Int>::min());
  const double distance = std::fabs(static_cast<double>(rounded) - value);
  REQUIRE(distance <= 0.5);
  if (distance == 0.5) REQUIRE(rounded % 2 == 0);
}

void CheckRoundings(double value, int decimals) {
  CheckHalfEven<int32_t>(value, pravelo::RoundHalfEven32(value));
  CheckHalfEven<int64_t>(value, pravelo::RoundHalfEven64(value));

  if (!std::isfinite(value) || std::fabs(value) > 1e9) return;
  const double rounded = pravelo::RoundHalfAway(value, decimals);
  REQUIRE(pravelo::RoundHalfAway(-value, decimals) == -rounded);  // halves go away from zero both ways
  const double step = std::pow(10.0, -decimals);
  REQUIRE(std::fabs(rounded - value) <= step / 2 + std::fabs(value) * 1e-12 + 1e-300);
}

// The host's C library rounds correctly both ways; the program's own conversions must agree.
void CheckAgainstHostLibrary(double value, std::string_view bytes) {
  if (std::isfinite(value) && value != 0) {
    const int count = 1 + static_cast<int>(bytes.size() % 20);
    int leading = 0;
    const std::string digits = pravelo::SignificantDigits(std::fabs(value), count, leading);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*e", count - 1, std::fabs(value));
    std::string host(buffer, std::strchr(buffer, 'e'));
    host.erase(std::remove(host.begin(), host.end(), '.'), host.end());
    REQUIRE(digits == host && leading == std::atoi(std::strchr(buffer, 'e') + 1));
  }
  std::string digits;
  for (const char c : bytes.substr(0, 60)) digits += static_cast<char>('0' + static_cast<unsigned char>(c) % 10);
  const int64_t exponent = bytes.empty() ? 0 : static_cast<int64_t>(static_cast<unsigned char>(bytes[0]) * 3) - 400;
  const std::string text = (digits.empty() ? "0" : digits) + 'e' + std::to_string(exponent);
  REQUIRE(pravelo::NearestDouble(digits, exponent) == std::strtod(text.c_str(), nullptr));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);

  const double value = pravelo::NumericValue(text);
  REQUIRE(!std::isnan(value));
  REQUIRE(pravelo::NumericValue(" " + std::string(text)) == value);
  if (value != 0) REQUIRE(pravelo::ConvertsToTrue(text));
  CheckRoundings(value, static_cast<int>(size % 7));

  // The same bytes as a raw double reach the values no text reads as (NaN, subnormals).
  if (size >= sizeof(double) + 1) {
    double raw = 0;
    std::memcpy(&raw, data + 1, sizeof(raw));
    CheckRoundings(raw, data[0] % 7);
    CheckAgainstHostLibrary(raw, text);
  }
  return 0;
}
