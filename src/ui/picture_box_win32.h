// Picture boxes: a small window class that paints the model's picture, or hands its
// painting to a hook of the display code (the graph canvas).
#pragma once

#include <windows.h>

#include <functional>
#include <optional>

#include "platform/gdi_win32.h"
#include "pravelo_version.h"
#include "ui/child_binding_win32.h"
#include "ui/picture_library_win32.h"
#include "ui/window_base_win32.h"

namespace pravelo::ui {

inline constexpr wchar_t kPictureClass[] = L"" PRAVELO_PRODUCT_NAME ".Picture";

// Paints the whole box; `client` is its client rectangle in device pixels.
using PaintHook = std::function<void(HDC dc, const RECT& client)>;

struct PictureStyle {
  std::optional<COLORREF> background;  // none: the window's face colour
  bool stretch = false;                // the picture fills the box instead of keeping its size
  // The x of a mouse move as the window receives it: the shell's tray callbacks arrive so.
  std::function<void(int x)> onMouseMove;
};

class PictureBinding final : public ChildBinding, public WindowBase<PictureBinding> {
 public:
  PictureBinding(PictureBox& model, ChildHost& host, ChildStyle style, int id, PictureStyle picture,
                 PictureLibrary& library);
  // The window goes first: its messages still reach this object until it is gone.
  ~PictureBinding() override { DestroyControl(); }

  PictureBinding* AsPictureBinding() override { return this; }
  void SetPaintHook(PaintHook hook);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 protected:
  HWND CreateControl(HWND parent, DWORD style, const RECT& bounds) override;
  void ApplyValue() override;

 private:
  void Paint(HDC dc, const RECT& client);
  void DrawPicture(HDC dc, const RECT& client);

  PictureStyle picture_;
  PictureLibrary& library_;
  UniqueBrush background_;
  PaintHook hook_;
};

// Gives a bound picture box's painting to `hook`; false when the model is not bound to a
// picture window. The hook stays across the window's re-creation.
bool SetPaintHook(PictureBox& model, PaintHook hook);
// Asks the control's window to paint again.
void Invalidate(const Control& model);

}  // namespace pravelo::ui
