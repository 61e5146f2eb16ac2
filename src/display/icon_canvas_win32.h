// The tray icon's canvas: the load printed over the fill bar.
#pragma once

#include <windows.h>

#include <string_view>

#include "display/canvas_win32.h"
#include "display/surfaces.h"

namespace pravelo::display {

inline constexpr COLORREF kIconBackground = RGB(255, 255, 255);
inline constexpr COLORREF kIconTextColour = RGB(0, 0, 0);
inline constexpr wchar_t kIconFontFace[] = L"Verdana";
inline constexpr double kIconFontPoints = 20.25;

class IconCanvasWin32 final : public IconCanvas, public MemoryCanvas {
 public:
  IconCanvasWin32();

  // Drawn without antialiasing, so the same text at the same place gives the same pixels.
  void Clear() override;
  void PrintText(int x, int y, std::string_view text) override;
  void PaintFillBar(int width, int height) override;
  NativeHandle MakeIcon() override;
  void DestroyIcon(NativeHandle icon) override;

 private:
  explicit IconCanvasWin32(UniqueBitmap strip);

  UniqueBitmap strip_;  // the background picture, painted again by every Clear
  UniqueFont font_;
  ScopedSelect fontSelection_;
  BitmapDc fill_;
};

}  // namespace pravelo::display
