// What the tray icon shows and when it must be rebuilt.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pravelo::display {

inline constexpr int kTrayLeftButtonUp = 0x202;
inline constexpr int kTrayRightButtonUp = 0x205;
inline constexpr int kIconTextX = -10;  // the leading blank falls off the canvas

// The 128-character tip field: the text, one NUL, then blanks.
std::string TipField(std::string_view text);
// "Pravelo - 45%".
std::string TrayTip(int load);
// A number as text output prints it: one blank, the digits, one blank.
std::string PrintedNumber(int value);

// The canvas shows exactly the digits and the bar last drawn, so a refresh that would draw
// what the last one drew can skip the drawing, and the icon is rebuilt only when the
// canvas or the tip changed since it was last handed to the shell.
class TrayIconCache {
 public:
  // Whether the canvas must be drawn for these digits and this bar (none when low load).
  bool CanvasChanges(std::string_view printed, std::optional<int> barWidth);
  // Whether the icon in the tray is out of date with the canvas or with this tip.
  bool IconStale(std::string_view tip) const { return canvasVersion_ != sentVersion_ || tip != sentTip_; }
  void IconSent(std::string_view tip);
  // The shell's copy is gone or replaced (the icon was added, deleted or lost).
  void ForgetSent() { sentVersion_ = -1; }

 private:
  bool drawnOnce_ = false;
  std::string printed_;
  std::optional<int> barWidth_;
  long canvasVersion_ = 0;
  long sentVersion_ = -1;
  std::string sentTip_;
};

}  // namespace pravelo::display
