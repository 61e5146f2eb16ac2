// The drawing the refresh does, reduced to the calls it makes: the portable routine
// decides coordinates, texts and what to draw; the Windows side does the GDI work.
#pragma once

#include <cstdint>
#include <string_view>

#include "display/tray_icon_data.h"
#include "platform/handles.h"

namespace pravelo::display {

// The graph canvas: a picture that keeps what is drawn on it.
class GraphCanvas {
 public:
  virtual ~GraphCanvas() = default;
  // One pixel in the foreground colour.
  virtual void PlotPoint(int x, int y) = 0;
  // The whole canvas copied onto itself, `pixels` to the left.
  virtual void ScrollLeft(int pixels) = 0;
  // A line in the foreground colour.
  virtual void DrawLine(int x0, int y0, int x1, int y1) = 0;
};

// The tray icon canvas: a picture that keeps what is drawn on it.
class IconCanvas {
 public:
  virtual ~IconCanvas() = default;
  // Back to the white background and its strip picture.
  virtual void Clear() = 0;
  // Text in the canvas font and colour on a transparent background; x may be negative.
  virtual void PrintText(int x, int y, std::string_view text) = 0;
  // The fill picture stretched onto the canvas at (0, 0).
  virtual void PaintFillBar(int width, int height) = 0;
  // An icon of the canvas's top-left 32 x 32 pixels; 0 on failure.
  virtual NativeHandle MakeIcon() = 0;
  virtual void DestroyIcon(NativeHandle icon) = 0;
};

class TrayApi {
 public:
  virtual ~TrayApi() = default;
  virtual bool NotifyIcon(TrayOperation operation, const TrayIconData& data) = 0;
};

class WindowRegion {
 public:
  virtual ~WindowRegion() = default;
  // A rounded-rectangle region (0, 0, width, height, 1, 1) handed to the window.
  virtual void SetRoundRectRegion(WindowId window, int width, int height) = 0;
};

struct Surfaces {
  GraphCanvas& graph;
  IconCanvas& icon;
  TrayApi& tray;
  WindowRegion& region;
};

}  // namespace pravelo::display
