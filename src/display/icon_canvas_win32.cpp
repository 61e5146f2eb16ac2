#include "display/icon_canvas_win32.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include "display/canvas_sizes.h"
#include "display/tray_icon_win32.h"
#include "platform/text_win32.h"
#include "resource_ids.h"

namespace pravelo::display {
namespace {

// The canvas's font sizes are given for a 96-DPI screen.
constexpr int kDesignDpi = 96;
constexpr int kPointsPerInch = 72;

UniqueFont CreateIconFont() {
  LOGFONTW font{};
  font.lfHeight = -static_cast<LONG>(kIconFontPoints * kDesignDpi / kPointsPerInch + 0.5);
  font.lfWeight = FW_NORMAL;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfQuality = NONANTIALIASED_QUALITY;
  static_assert(sizeof kIconFontFace <= sizeof font.lfFaceName);
  std::copy(std::begin(kIconFontFace), std::end(kIconFontFace), font.lfFaceName);
  return UniqueFont(::CreateFontIndirectW(&font));
}

}  // namespace

IconCanvasWin32::IconCanvasWin32() : IconCanvasWin32(LoadPicture(IDB_ICON_STRIP)) {}

IconCanvasWin32::IconCanvasWin32(UniqueBitmap strip)
    : MemoryCanvas(kIconCanvasSize, kIconCanvasSize, kIconBackground, strip.Get()),
      strip_(std::move(strip)),
      font_(CreateIconFont()),
      fontSelection_(Dc(), font_.Get()),
      fill_(LoadPicture(IDB_ICON_FILL)) {
  ::SetTextColor(Dc(), kIconTextColour);
  ::SetBkMode(Dc(), TRANSPARENT);
  ::SetStretchBltMode(Dc(), COLORONCOLOR);
}

void IconCanvasWin32::Clear() {
  PaintBackground(strip_.Get());
  Present();
}

void IconCanvasWin32::PrintText(int x, int y, std::string_view text) {
  const std::wstring wide = Widen(text);
  ::TextOutW(Dc(), x, y, wide.data(), static_cast<int>(wide.size()));
  Present();
}

void IconCanvasWin32::PaintFillBar(int width, int height) {
  const SIZE fill = fill_.Size();
  ::StretchBlt(Dc(), 0, 0, width, height, fill_.Get(), 0, 0, fill.cx, fill.cy, SRCCOPY);
  Present();
}

NativeHandle IconCanvasWin32::MakeIcon() {
  UniqueBitmap copy(::CreateCompatibleBitmap(Dc(), Width(), Height()));
  {
    UniqueDc copyDc(::CreateCompatibleDC(Dc()));
    ScopedSelect selection(copyDc.Get(), copy.Get());
    if (!selection || !::BitBlt(copyDc.Get(), 0, 0, Width(), Height(), Dc(), 0, 0, SRCCOPY)) return 0;
  }
  return ToNative(MakeTrayIcon(std::move(copy)).Release());
}

void IconCanvasWin32::DestroyIcon(NativeHandle icon) {
  if (icon) ::DestroyIcon(FromNative<HICON>(icon));
}

}  // namespace pravelo::display
