// Until the numeric module joins this branch the tests link this reading of a leading
// number; it compiles to nothing once src/base/numeric.cpp exists.
#if !__has_include("base/numeric.cpp")

#include <cctype>
#include <charconv>
#include <string_view>

#include "base/numeric.h"

namespace pravelo {

double NumericValue(std::string_view text) {
  size_t i = text.find_first_not_of(" \t");
  if (i == std::string_view::npos) return 0;
  bool negative = false;
  if (text[i] == '+' || text[i] == '-') negative = text[i++] == '-';
  const size_t digitsStart = i;
  auto digits = [&] {
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
  };
  digits();
  if (i < text.size() && text[i] == '.') {
    ++i;
    digits();
  }
  if (i == digitsStart || (i == digitsStart + 1 && text[digitsStart] == '.')) return 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t j = i + 1;
    if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
    if (j < text.size() && std::isdigit(static_cast<unsigned char>(text[j]))) {
      i = j;
      digits();
    }
  }
  double value = 0;
  std::from_chars(text.data() + digitsStart, text.data() + i, value);
  return negative ? -value : value;
}

}  // namespace pravelo

#endif
