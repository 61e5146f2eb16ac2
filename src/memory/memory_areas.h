// The parts of memory a pass can free, their setting names and the fixed order they run in.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pravelo::memory {

// In the order a pass runs them.
enum class MemoryArea : uint8_t {
  WorkingSets,
  SystemFileCache,
  ModifiedList,
  StandbyList,
  LowPriorityStandbyList,
  CombinedList,
  RegistryCache,
};

inline constexpr std::size_t kAreaCount = 7;
inline constexpr std::array<MemoryArea, kAreaCount> kAreaOrder{
    MemoryArea::WorkingSets,   MemoryArea::SystemFileCache,        MemoryArea::ModifiedList,
    MemoryArea::StandbyList,   MemoryArea::LowPriorityStandbyList, MemoryArea::CombinedList,
    MemoryArea::RegistryCache,
};

// The name settings and the command line use for the area.
std::string_view AreaName(MemoryArea area);
// The area of a setting name, in any letter case.
std::optional<MemoryArea> AreaFromName(std::string_view name);

// A choice of areas; iterating gives them in the order a pass runs them.
class AreaSet {
 public:
  constexpr AreaSet() = default;
  static AreaSet All();

  void Add(MemoryArea area) { bits_ |= Bit(area); }
  void Remove(MemoryArea area) { bits_ &= static_cast<uint8_t>(~Bit(area)); }
  bool Has(MemoryArea area) const { return (bits_ & Bit(area)) != 0; }
  bool Empty() const { return bits_ == 0; }
  std::vector<MemoryArea> InOrder() const;

  friend bool operator==(AreaSet, AreaSet) = default;

 private:
  static constexpr uint8_t Bit(MemoryArea area) {
    return static_cast<uint8_t>(1u << static_cast<unsigned>(area));
  }
  uint8_t bits_ = 0;
};

// What a comma-separated list of names holds: the areas named and the names that are none.
struct ParsedAreaList {
  AreaSet areas;
  std::vector<std::string> unknown;
};

// Blanks around a name and empty items are ignored; names in any letter case.
ParsedAreaList ParseAreaList(std::string_view text);
// The setting names joined by commas, in the order a pass runs them.
std::string FormatAreaList(AreaSet areas);

}  // namespace pravelo::memory
