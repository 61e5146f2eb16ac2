#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "taskbar/taskbar_calls.h"
#include "taskbar/taskbar_records.h"
#include "taskbar/thumb_toolbar.h"

namespace pravelo::taskbar {
namespace {

using Words = std::vector<uint64_t>;

uint32_t WordAt(const std::vector<uint8_t>& bytes, std::size_t offset) {
  return bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16 |
         static_cast<uint32_t>(bytes[offset + 3]) << 24;
}

TEST(TaskbarCalls, EachOperationHasItsSlotAndArguments) {
  struct Case {
    const char* name;
    InterfaceCall call;
    int32_t slot;
    Words arguments;
  };
  const Case cases[] = {
      {"Release", ReleaseCall(), 2, {}},
      {"HrInit", HrInitCall(), 3, {}},
      {"x86 progress value, 64-bit counts in halves",
       ProgressValueCall(0x1234, 30, 100, CallWidth::X86),
       9,
       {0x1234, 30, 0, 100, 0}},
      {"x86 progress value, full range",
       ProgressValueCall(7, 0xFFFFFFFF, 0xFFFFFFFF, CallWidth::X86),
       9,
       {7, 0xFFFFFFFF, 0, 0xFFFFFFFF, 0}},
      {"x64 progress value, one word each",
       ProgressValueCall(0x1234, 30, 100, CallWidth::X64),
       9,
       {0x1234, 30, 100}},
      {"x64 handles keep their high half",
       AddButtonsCall(0x0000123400005678, 3, 0x00007FF012345678),
       15,
       {0x0000123400005678, 3, 0x00007FF012345678}},
      {"progress state", ProgressStateCall(0x1234, 12), 10, {0x1234, 12}},
      {"add buttons", AddButtonsCall(0x1234, 3, 0x00C01000), 15, {0x1234, 3, 0x00C01000}},
      {"overlay with description",
       OverlayIconCall(0x1234, 0x5678, "busy", 0x00D00000),
       18,
       {0x1234, 0x5678, 0x00D00000}},
      {"overlay without description",
       OverlayIconCall(0x1234, 0x5678, "", 0x00D00000),
       18,
       {0x1234, 0x5678, 0}},
      {"removing the overlay", OverlayIconCall(0x1234, 0, "", 0x00D00000), 18, {0x1234, 0, 0}},
      {"tooltip", ThumbnailTooltipCall(0x1234, 0x00E00000), 19, {0x1234, 0x00E00000}},
      {"clip", ThumbnailClipCall(0x1234, 0x00F00000), 20, {0x1234, 0x00F00000}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.call.slot, c.slot);
    EXPECT_EQ(c.call.arguments, c.arguments);
  }
}

TEST(TaskbarRecords, ThumbButtonsCarryIndexAndIconOnlyInBothLayouts) {
  struct Case {
    CallWidth width;
    std::size_t size, iconOffset, iconSize, tipOffset, flagsOffset;
  };
  const Case cases[] = {{CallWidth::X86, 540, 12, 4, 16, 536}, {CallWidth::X64, 552, 16, 8, 24, 544}};
  const std::vector<NativeHandle> icons = {0x100, 0, static_cast<NativeHandle>(0x00007FF000000300)};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    const std::vector<uint8_t> records = ThumbButtonRecords(icons, c.width);
    ASSERT_EQ(records.size(), 3 * c.size);
    for (std::size_t i = 0; i < 3; ++i) {
      SCOPED_TRACE(i);
      const std::vector<uint8_t> record(records.begin() + c.size * i, records.begin() + c.size * (i + 1));
      EXPECT_EQ(WordAt(record, 0), 2u);  // dwMask: icon only
      EXPECT_EQ(WordAt(record, 4), i);   // iId
      EXPECT_EQ(WordAt(record, 8), 0u);  // iBitmap
      uint64_t icon = WordAt(record, c.iconOffset);
      if (c.iconSize == 8) icon |= static_cast<uint64_t>(WordAt(record, c.iconOffset + 4)) << 32;
      EXPECT_EQ(icon, c.iconSize == 8 ? icons[i] : static_cast<uint32_t>(icons[i]));
      for (std::size_t b = 0; b < c.size; ++b) {
        const bool field = b < 12 || (b >= c.iconOffset && b < c.iconOffset + c.iconSize);
        if (!field) {
          ASSERT_EQ(record[b], 0) << "byte " << b;  // tip, flags (enabled) and padding
        }
      }
    }
  }
}

TEST(TaskbarRecords, RectIsLeftTopRightBottom) {
  const auto rect = RectRecord(-1, 2, 300, -400);
  const std::vector<uint8_t> bytes(rect.begin(), rect.end());
  const std::vector<uint8_t> expected = {0xFF, 0xFF, 0xFF, 0xFF, 0x02, 0x00, 0x00, 0x00,
                                         0x2C, 0x01, 0x00, 0x00, 0x70, 0xFE, 0xFF, 0xFF};
  EXPECT_EQ(bytes, expected);
}

TEST(ThumbToolbar, AddRequestsWithinTheRulesGetPaddedIcons) {
  using Icons = std::vector<NativeHandle>;
  struct Case {
    const char* name;
    int32_t count;
    Icons icons;
    bool added;
    std::optional<Icons> expected;
  };
  const Icons seven = {1, 2, 3, 4, 5, 6, 7};
  const Case cases[] = {
      {"seven buttons", 7, seven, false, seven},
      {"one button", 1, {9}, false, Icons{9}},
      {"fewer icons than buttons", 5, {11, 12, 13}, false, Icons{11, 12, 13, 0, 0}},
      {"more icons than buttons", 2, {11, 12, 13}, false, Icons{11, 12}},
      {"eight buttons", 8, seven, false, std::nullopt},
      {"no buttons", 0, seven, false, std::nullopt},
      {"negative count", -1, seven, false, std::nullopt},
      {"toolbar already added", 3, {1, 2, 3}, true, std::nullopt},
      {"no icons", 3, {}, false, std::nullopt},
      {"eight icons", 3, {1, 2, 3, 4, 5, 6, 7, 8}, false, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(ThumbButtonIcons(c.count, c.icons, c.added), c.expected);
  }
}

TEST(ThumbToolbar, OnlyButtonClickCommandsArePresses) {
  struct Case {
    uint32_t message;
    uint32_t wParam;
    std::optional<int16_t> pressed;
  };
  const Case cases[] = {
      {0x111, 0x18000001, 1},             // the second button
      {0x111, 0x18000000, 0},             // the first button
      {0x111, 0x1800FFFF, -1},            // the low word is a signed 16-bit index
      {0x111, 0x18008000, -32768},        //
      {0x111, 0x00000001, std::nullopt},  // a menu item
      {0x111, 0x00010001, std::nullopt},  // an accelerator
      {0x111, 0x03000005, std::nullopt},  // an edit control's change notification
      {0x111, 0x18010001, std::nullopt},  // a neighbouring code
      {0x111, 0x98000001, std::nullopt},  // negative as a signed word: not the click code
      {0x112, 0x18000001, std::nullopt},  // another message with the same word
      {0x110, 0x18000001, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.message << " " << c.wParam);
    EXPECT_EQ(PressedThumbButton(c.message, c.wParam), c.pressed);
  }
}

}  // namespace
}  // namespace pravelo::taskbar
