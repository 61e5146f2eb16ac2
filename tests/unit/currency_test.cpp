#include <gtest/gtest.h>

#include <limits>

#include "base/currency.h"

namespace pravelo {
namespace {

TEST(Currency, FromDoubleKeepsFourPlacesHalvesToEven) {
  struct Case {
    double value;
    int64_t scaled;
  };
  const Case cases[] = {
      {0, 0},
      {0.00005, 0},
      {0.00025, 2},
      {0.00035, 4},
      {-0.00025, -2},
      {1048.576, 10485760},
      {0.0049990234375, 50},
      {-1440.25, -14402500},
      {1e300, INT64_MAX},
      {-1e300, INT64_MIN},
      {std::numeric_limits<double>::quiet_NaN(), 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Currency::FromDouble(c.value).Scaled(), c.scaled) << c.value;
  }
}

TEST(Currency, RoundedToCentsTakesHalvesAwayFromZero) {
  struct Case {
    int64_t scaled;
    int64_t expected;
  };
  const Case cases[] = {
      {10485760, 10485800},
      {50, 100},
      {-50, -100},
      {49, 0},
      {-49, 0},
      {12349, 12300},
      {-12350, -12400},
      {12300, 12300},
      {0, 0},
      {INT64_MAX, INT64_MAX / 100 * 100},
      {INT64_MIN, -(INT64_MAX / 100 * 100)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Currency::FromScaled(c.scaled).RoundedToCents().Scaled(), c.expected) << c.scaled;
  }
}

TEST(Currency, ToInt32HalvesToEvenAndSaturates) {
  struct Case {
    int64_t scaled;
    int32_t expected;
  };
  const Case cases[] = {
      {5000, 0},    {15000, 2},       {25000, 2}, {-25000, -2},           {-15000, -2},           {25001, 3},
      {-24999, -2}, {10485800, 1049}, {0, 0},     {INT64_MAX, INT32_MAX}, {INT64_MIN, INT32_MIN},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Currency::FromScaled(c.scaled).ToInt32(), c.expected) << c.scaled;
  }
}

TEST(Currency, TextIsTheShortestFormWithTheUsersSeparator) {
  struct Case {
    int64_t scaled;
    const char* separator;
    const char* expected;
  };
  const Case cases[] = {
      {10485800, ".", "1048.58"},   {10485000, ".", "1048.5"},
      {10480000, ".", "1048"},      {0, ".", "0"},
      {-14402500, ".", "-1440.25"}, {-2500, ".", "-0.25"},
      {1, ".", "0.0001"},           {12345678000, ".", "1234567.8"},
      {10485800, ",", "1048,58"},   {10485800, "<>", "1048<>58"},
      {10480000, ",", "1048"},      {INT64_MIN, ".", "-922337203685477.5808"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Currency::FromScaled(c.scaled).ToText(c.separator), c.expected) << c.scaled;
  }
}

}  // namespace
}  // namespace pravelo
