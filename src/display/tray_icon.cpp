#include "display/tray_icon.h"

#include "display/tray_icon_data.h"
#include "pravelo_version.h"

namespace pravelo::display {

std::string TipField(std::string_view text) {
  std::string field(text.substr(0, kTrayTipLength - 1));
  field += '\0';
  field.resize(kTrayTipLength, ' ');
  return field;
}

std::string TrayTip(int load) { return PRAVELO_PRODUCT_NAME " - " + std::to_string(load) + "%"; }

std::string PrintedNumber(int value) { return " " + std::to_string(value) + " "; }

bool TrayIconCache::CanvasChanges(std::string_view printed, std::optional<int> barWidth) {
  if (drawnOnce_ && printed == printed_ && barWidth == barWidth_) return false;
  drawnOnce_ = true;
  printed_ = printed;
  barWidth_ = barWidth;
  ++canvasVersion_;
  return true;
}

void TrayIconCache::IconSent(std::string_view tip) {
  sentVersion_ = canvasVersion_;
  sentTip_ = tip;
}

}  // namespace pravelo::display
