#include "taskbar/taskbar_records.h"

#include <span>

#include "taskbar/code_bytes.h"

namespace pravelo::taskbar {

std::vector<uint8_t> ThumbButtonRecords(const std::vector<NativeHandle>& icons, CallWidth width) {
  const ThumbButtonLayout& layout = ThumbButtonLayoutOf(width);
  std::vector<uint8_t> records(icons.size() * layout.size, 0);
  for (std::size_t i = 0; i < icons.size(); ++i) {
    const std::span<uint8_t> record(records.data() + i * layout.size, layout.size);
    StoreLittleEndian(record, layout.maskOffset, kThumbButtonIconOnly);
    StoreLittleEndian(record, layout.idOffset, static_cast<uint32_t>(i));
    if (layout.iconSize == 8) {
      StoreLittleEndian(record, layout.iconOffset, static_cast<uint64_t>(icons[i]));
    } else {
      StoreLittleEndian(record, layout.iconOffset, static_cast<uint32_t>(icons[i]));
    }
    StoreLittleEndian(record, layout.flagsOffset, kThumbButtonEnabled);
  }
  return records;
}

std::array<uint8_t, kRectSize> RectRecord(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  std::array<uint8_t, kRectSize> record{};
  StoreLittleEndian(record, 0, static_cast<uint32_t>(left));
  StoreLittleEndian(record, 4, static_cast<uint32_t>(top));
  StoreLittleEndian(record, 8, static_cast<uint32_t>(right));
  StoreLittleEndian(record, 12, static_cast<uint32_t>(bottom));
  return record;
}

}  // namespace pravelo::taskbar
