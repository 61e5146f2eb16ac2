#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "base/numeric.h"

namespace pravelo {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(NumericValue, ReadsTheLeadingNumber) {
  struct Case {
    const char* text;
    double expected;
  };
  const Case cases[] = {
      {"", 0},
      {"   ", 0},
      {"50", 50},
      {"7.5", 7.5},
      {" \t7.5 s", 7.5},
      {"-3", -3},
      {"+3", 3},
      {".5", 0.5},
      {"5.", 5},
      {"1.2.3", 1.2},
      {"12abc", 12},
      {"abc12", 0},
      {"1,5", 1},
      {"1 000", 1000},
      {"- 4", -4},
      {"1e3", 1000},
      {"1E-2", 0.01},
      {"2.5e1x", 25},
      {"1e", 1},
      {"1e+", 1},
      {"e5", 0},
      {".", 0},
      {"-", 0},
      {"+-1", 0},
      {"0x10", 0},
      {"inf", 0},
      {"nan", 0},
      {"1.42", 1.42},
      {"4.10", 4.1},
      {"00012.50", 12.5},
      {"1e400", kInf},
      {"-1e400", -kInf},
      {"1e-400", 0},
      {"0e99999", 0},
      {"1e308", 1e308},
      {"4.9e-324", 4.9e-324},
      {"0.1000000000000000055511151231257827021181583404541015625", 0.1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NumericValue(c.text), c.expected) << '"' << c.text << '"';
  }
}

TEST(NumericValue, ZeroIsNeverNegative) {
  for (const char* text : {"-0", "-0.000", "-1e-400", "-"}) {
    EXPECT_FALSE(std::signbit(NumericValue(text))) << text;
  }
}

// 1 MB texts: each finishes quickly and gives the nearest double or the saturated value.
TEST(NumericValue, VeryLongTexts) {
  constexpr std::size_t kLength = 1 << 20;
  EXPECT_EQ(NumericValue(std::string(kLength, '9')), kInf);
  EXPECT_EQ(NumericValue("-" + std::string(kLength, '9')), -kInf);
  EXPECT_EQ(NumericValue(std::string(kLength, '0') + "5"), 5);
  EXPECT_EQ(NumericValue("0." + std::string(kLength, '0') + "1"), 0);
  EXPECT_EQ(NumericValue("1" + std::string(kLength, '0') + "e-1048576"), 1);
  EXPECT_EQ(NumericValue("1e" + std::string(kLength, '9')), kInf);
  EXPECT_EQ(NumericValue("1e-" + std::string(kLength, '9')), 0);
  EXPECT_EQ(NumericValue(std::string(kLength, ' ') + "3"), 3);
  EXPECT_EQ(NumericValue(std::string(kLength, 'x')), 0);
}

// Digits far past what a double holds still decide a tie between two neighbours.
TEST(NumericValue, DigitsBeyondPrecisionBreakTies) {
  // Exactly halfway between 1 and the next double: ties go to the even one, 1.
  const std::string half = "1.00000000000000011102230246251565404236316680908203125";
  const double next = std::nextafter(1.0, 2.0);
  EXPECT_EQ(NumericValue(half), 1.0);
  EXPECT_EQ(NumericValue(half + std::string(2000, '0')), 1.0);
  EXPECT_EQ(NumericValue(half + std::string(2000, '0') + "1"), next);
  EXPECT_EQ(NumericValue(half.substr(0, half.size() - 1) + "49" + std::string(2000, '9')), 1.0);
}

TEST(RoundHalfEven, HalvesGoToEvenAndLimitsSaturate) {
  struct Case {
    double value;
    int32_t expected;
  };
  const Case cases[] = {
      {0.5, 0},
      {1.5, 2},
      {2.5, 2},
      {-0.5, 0},
      {-1.5, -2},
      {-2.5, -2},
      {2.4999, 2},
      {2.5000001, 3},
      {0.49999999999999994, 0},
      {7.5, 8},
      {kNaN, 0},
      {kInf, INT32_MAX},
      {-kInf, INT32_MIN},
      {3e9, INT32_MAX},
      {-3e9, INT32_MIN},
      {2147483647.4, INT32_MAX},
      {2147483647.5, INT32_MAX},
      {-2147483648.5, INT32_MIN},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RoundHalfEven32(c.value), c.expected) << c.value;
  }
  const double twoTo63 = 9223372036854775808.0;
  EXPECT_EQ(RoundHalfEven64(twoTo63), INT64_MAX);
  EXPECT_EQ(RoundHalfEven64(-twoTo63), INT64_MIN);
  EXPECT_EQ(RoundHalfEven64(1e19), INT64_MAX);
  EXPECT_EQ(RoundHalfEven64(kNaN), 0);
  EXPECT_EQ(RoundHalfEven64(4503599627370497.0), 4503599627370497);
  EXPECT_EQ(RoundHalfEven64(-10485762.5), -10485762);
}

TEST(RoundHalfAway, RoundsTheShownDigits) {
  struct Case {
    double value;
    int decimals;
    double expected;
  };
  const Case cases[] = {
      {1.005, 2, 1.01},      {2.675, 2, 2.68},    {-1.005, 2, -1.01},
      {0.125, 2, 0.13},      {0.005, 2, 0.01},    {0.004, 2, 0},
      {0.0049999, 2, 0},     {9.995, 2, 10},      {1048.576, 2, 1048.58},
      {12.5, 0, 13},         {-12.5, 0, -13},     {0.4, 0, 0},
      {0.6, 0, 1},           {1e300, 2, 1e300},   {123.456, 4, 123.456},
      {1500.25, 2, 1500.25}, {23.4375, 2, 23.44}, {99999.995, 2, 100000},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RoundHalfAway(c.value, c.decimals), c.expected) << c.value << " to " << c.decimals;
  }
  EXPECT_FALSE(std::signbit(RoundHalfAway(-0.004, 2)));
  EXPECT_EQ(RoundHalfAway(kInf, 2), kInf);
  EXPECT_TRUE(std::isnan(RoundHalfAway(kNaN, 2)));
}

TEST(ConvertsToTrue, WordTrueOrAnyNonZeroNumber) {
  struct Case {
    const char* text;
    bool expected;
  };
  const Case cases[] = {
      {"1", true},      {"0", false},     {"", false},    {"true", true}, {"TRUE", true},
      {" True ", true}, {"false", false}, {"-1", true},   {"0.0", false}, {"0.1", true},
      {"abc", false},   {"truex", false}, {"tru", false}, {"2", true},    {"1e400", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ConvertsToTrue(c.text), c.expected) << '"' << c.text << '"';
  }
}

}  // namespace
}  // namespace pravelo
