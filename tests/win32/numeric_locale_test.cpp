#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "base/currency.h"
#include "base/numeric.h"

namespace pravelo {
namespace {

// Under a locale whose decimal point is a comma, texts still read with "." and the
// rounding of shown digits is unchanged.
TEST(NumericOnWindows, IgnoresTheCLibraryLocale) {
  const std::string previous = std::setlocale(LC_ALL, nullptr);
  if (!std::setlocale(LC_ALL, "German_Germany.1252")) GTEST_SKIP() << "no German locale";
  EXPECT_EQ(NumericValue("1.5"), 1.5);
  EXPECT_EQ(NumericValue("1,5"), 1.0);
  EXPECT_EQ(NumericValue("6.1"), 6.1);
  EXPECT_EQ(RoundHalfAway(1.005, 2), 1.01);
  EXPECT_EQ(Currency::FromDouble(1048.576).RoundedToCents().ToText(","), "1048,58");
  std::setlocale(LC_ALL, previous.c_str());
}

}  // namespace
}  // namespace pravelo
