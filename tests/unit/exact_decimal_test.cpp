#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <utility>

#include "base/exact_decimal.h"

namespace pravelo {
namespace {

// The host's C library rounds both ways correctly; the program's own conversions must agree
// with it everywhere, not only on the texts settings usually hold.
double HostNearest(const std::string& digits, int64_t exponent) {
  return std::strtod((digits + 'e' + std::to_string(exponent)).c_str(), nullptr);
}

std::string HostDigits(double magnitude, int count, int& leadingExponent) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*e", count - 1, magnitude);
  std::string digits;
  const char* cursor = buffer;
  for (; *cursor != 'e'; ++cursor) {
    if (*cursor != '.') digits += *cursor;
  }
  leadingExponent = std::atoi(cursor + 1);
  return digits;
}

TEST(NearestDouble, AgreesWithCorrectRoundingAtTheEdgesAndAtRandom) {
  // Ties, and the ends of the range, where a wrong rounding step shows first.
  const std::pair<std::string, int64_t> edges[] = {
      {"9007199254740993", 0},                    // 2^53 + 1: a tie, down to even
      {"9007199254740995", 0},                    // a tie, up to even
      {"17976931348623158079", 289},              // just below halfway past the largest double
      {"24703282292062327208828439", -349},       // just below half the smallest subnormal
      {"24703282292062327208828440", -349},       // just above it
      {"22250738585072011", -324},                // the largest subnormal's edge
  };
  for (const auto& [digits, exponent] : edges) {
    EXPECT_EQ(NearestDouble(digits, exponent), HostNearest(digits, exponent)) << digits << "e" << exponent;
  }
  EXPECT_EQ(NearestDouble("17976931348623159", 292), std::numeric_limits<double>::infinity());
  EXPECT_EQ(NearestDouble("000", 5), 0.0);

  std::mt19937_64 random(20261208);
  for (int i = 0; i < 10000; ++i) {
    std::string digits(1 + random() % 40, '0');
    for (char& digit : digits) digit = static_cast<char>('0' + random() % 10);
    const int64_t exponent = static_cast<int64_t>(random() % 720) - 360 - static_cast<int64_t>(digits.size());
    ASSERT_EQ(NearestDouble(digits, exponent), HostNearest(digits, exponent)) << digits << "e" << exponent;
  }
}

TEST(SignificantDigits, AgreeWithCorrectRoundingForEveryKindOfDouble) {
  const double values[] = {
      1.0, 0.1, 1.005, 2.5, 1234567890123455.0, 9.999999999999999, 1e23, 5e-324,
      std::numeric_limits<double>::max(), std::numeric_limits<double>::min(),
  };
  std::mt19937_64 random(8122026);
  auto check = [](double value, int count) {
    int leading = 0;
    int hostLeading = 0;
    const std::string digits = SignificantDigits(value, count, leading);
    ASSERT_EQ(digits, HostDigits(value, count, hostLeading)) << value << " to " << count;
    ASSERT_EQ(leading, hostLeading) << value << " to " << count;
  };
  for (const double value : values) {
    for (const int count : {1, 2, 15, 17, 25}) check(value, count);
  }
  for (int i = 0; i < 10000; ++i) {
    const double value = std::bit_cast<double>(random() >> 1);  // positive, any exponent
    if (std::isfinite(value) && value != 0) check(value, 1 + static_cast<int>(random() % 20));
  }
}

}  // namespace
}  // namespace pravelo
