#include "memory/memory_areas.h"

#include <algorithm>
#include <cctype>

namespace pravelo::memory {
namespace {

constexpr std::array<std::string_view, kAreaCount> kNames{
    "WorkingSets",  "SystemFileCache", "ModifiedList", "StandbyList", "LowPriorityStandbyList",
    "CombinedList", "RegistryCache",
};

bool SameLetters(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}

std::string_view Trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

}  // namespace

std::string_view AreaName(MemoryArea area) { return kNames[static_cast<std::size_t>(area)]; }

std::optional<MemoryArea> AreaFromName(std::string_view name) {
  for (MemoryArea area : kAreaOrder) {
    if (SameLetters(name, AreaName(area))) return area;
  }
  return std::nullopt;
}

AreaSet AreaSet::All() {
  AreaSet all;
  for (MemoryArea area : kAreaOrder) all.Add(area);
  return all;
}

std::vector<MemoryArea> AreaSet::InOrder() const {
  std::vector<MemoryArea> areas;
  for (MemoryArea area : kAreaOrder) {
    if (Has(area)) areas.push_back(area);
  }
  return areas;
}

ParsedAreaList ParseAreaList(std::string_view text) {
  ParsedAreaList parsed;
  while (true) {
    const std::size_t comma = text.find(',');
    const std::string_view item = Trimmed(text.substr(0, comma));
    if (!item.empty()) {
      if (std::optional<MemoryArea> area = AreaFromName(item)) {
        parsed.areas.Add(*area);
      } else {
        parsed.unknown.emplace_back(item);
      }
    }
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  return parsed;
}

std::string FormatAreaList(AreaSet areas) {
  std::string text;
  for (MemoryArea area : areas.InOrder()) {
    if (!text.empty()) text += ',';
    text += AreaName(area);
  }
  return text;
}

}  // namespace pravelo::memory
