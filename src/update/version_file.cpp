#include "update/version_file.h"

#include <charconv>

#include "update/sequential_items.h"

namespace pravelo::update {
namespace {

// The whole text as a decimal number of at most `maxValue`; no sign, no blanks.
template <class Number>
std::optional<Number> WholeNumber(std::string_view text, Number maxValue) {
  Number value{};
  if (text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size() || value > maxValue) return std::nullopt;
  return value;
}

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
int64_t DaysFromCivil(int64_t year, int64_t month, int64_t day) {
  year -= month <= 2 ? 1 : 0;
  const int64_t era = (year >= 0 ? year : year - 399) / 400;
  const int64_t yearOfEra = year - era * 400;
  const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

bool IsLeapYear(int64_t year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int64_t year, int month) {
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

}  // namespace

VersionFile ReadVersionFile(std::string_view text) {
  ItemReader reader(text);
  VersionFile file;
  auto next = [&]() -> std::optional<std::string> {
    if (auto item = reader.Next()) return std::string(*item);
    return std::nullopt;
  };
  auto nextNonEmpty = [&]() -> std::optional<std::string> {
    std::optional<std::string> item = next();
    if (item && item->empty()) item.reset();
    return item;
  };
  file.version = next();
  file.executableUrl = next();
  file.sha256 = nextNonEmpty();
  file.expires = nextNonEmpty();
  return file;
}

std::optional<Version> ParseVersion(std::string_view text) {
  Version version{};
  for (size_t index = 0; index < version.size(); ++index) {
    const size_t dot = text.find('.');
    const std::optional<uint16_t> component = WholeNumber<uint16_t>(text.substr(0, dot), UINT16_MAX);
    if (!component) return std::nullopt;
    version[index] = *component;
    if (dot == std::string_view::npos) return version;
    text.remove_prefix(dot + 1);
  }
  return std::nullopt;  // a fourth component
}

std::string VersionText(const Version& version) {
  return std::to_string(version[0]) + "." + std::to_string(version[1]) + "." + std::to_string(version[2]);
}

std::optional<int64_t> ParseUtcTime(std::string_view text) {
  constexpr std::string_view kShape = "0000-00-00T00:00:00Z";
  if (text.size() != kShape.size()) return std::nullopt;
  for (size_t i = 0; i < text.size(); ++i) {
    const bool digitWanted = kShape[i] == '0';
    const bool digit = text[i] >= '0' && text[i] <= '9';
    if (digitWanted != digit || (!digitWanted && text[i] != kShape[i])) return std::nullopt;
  }
  auto field = [&](size_t at, size_t length) {
    return static_cast<int>(*WholeNumber<uint32_t>(text.substr(at, length), 9999));
  };
  const int year = field(0, 4), month = field(5, 2), day = field(8, 2);
  const int hour = field(11, 2), minute = field(14, 2), second = field(17, 2);
  if (month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month) || hour > 23 || minute > 59 ||
      second > 59) {
    return std::nullopt;
  }
  return DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
}

}  // namespace pravelo::update
