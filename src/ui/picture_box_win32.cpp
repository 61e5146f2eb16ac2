#include "ui/picture_box_win32.h"

#include <utility>

#include "ui/dpi_scale.h"

namespace pravelo::ui {
namespace {

void RegisterPictureClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (GetClassInfoExW(instance, kPictureClass, &existing)) return;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kPictureClass;
  RegisterClassExW(&windowClass);
}

}  // namespace

PictureBinding::PictureBinding(PictureBox& model, ChildHost& host, ChildStyle style, int id,
                               PictureStyle picture, PictureLibrary& library)
    : ChildBinding(model, host, style, id), picture_(std::move(picture)), library_(library) {
  if (picture_.background) background_.Reset(CreateSolidBrush(*picture_.background));
}

HWND PictureBinding::CreateControl(HWND parent, DWORD style, const RECT& bounds) {
  RegisterPictureClass(Host().Instance(), &WindowProc);
  return CreateNamed(kPictureClass, 0, style | WS_CLIPCHILDREN, parent, bounds, this);
}

void PictureBinding::ApplyValue() { InvalidateRect(Hwnd(), nullptr, FALSE); }

void PictureBinding::SetPaintHook(PaintHook hook) {
  hook_ = std::move(hook);
  if (Hwnd()) InvalidateRect(Hwnd(), nullptr, FALSE);
}

LRESULT PictureBinding::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // the paint covers the whole box
    case WM_PAINT: {
      // The paint covers the whole box, which has no frame to paint: a plain device context
      // and the whole box validated do all BeginPaint would, without its caret and erase
      // steps, which cost a round trip each on every refresh of the graph.
      RECT client;
      GetClientRect(Window(), &client);
      if (const WindowDc dc(Window()); dc.Get()) Paint(dc.Get(), client);
      ValidateRect(Window(), nullptr);
      return 0;
    }
    case WM_PRINTCLIENT: {
      // Drawing into a given device context: thumbnails and screenshots of the window.
      RECT client;
      GetClientRect(Window(), &client);
      Paint(reinterpret_cast<HDC>(wParam), client);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (picture_.onMouseMove) {
        picture_.onMouseMove(LOWORD(lParam));
        return 0;
      }
      break;
  }
  return DefWindowProcW(Window(), message, wParam, lParam);
}

void PictureBinding::Paint(HDC dc, const RECT& client) {
  if (hook_) {
    hook_(dc, client);
    return;
  }
  FillRect(dc, &client, background_ ? background_.Get() : GetSysColorBrush(COLOR_BTNFACE));
  DrawPicture(dc, client);
}

void PictureBinding::DrawPicture(HDC dc, const RECT& client) {
  HBITMAP bitmap = library_.Bitmap(static_cast<PictureBox&>(Model()).CurrentPicture());
  BITMAP info;
  if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) return;
  UniqueDc source(CreateCompatibleDC(dc));
  if (!source) return;
  ScopedSelect selected(source.Get(), bitmap);
  const int dpi = Host().Dpi();
  const int width = picture_.stretch ? client.right : ScaleToDpi(info.bmWidth, dpi);
  const int height = picture_.stretch ? client.bottom : ScaleToDpi(info.bmHeight, dpi);
  if (width == info.bmWidth && height == info.bmHeight) {
    BitBlt(dc, 0, 0, width, height, source.Get(), 0, 0, SRCCOPY);
    return;
  }
  SetStretchBltMode(dc, HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  StretchBlt(dc, 0, 0, width, height, source.Get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
}

bool SetPaintHook(PictureBox& model, PaintHook hook) {
  PictureBinding* binding = model.Peer() ? model.Peer()->AsPictureBinding() : nullptr;
  if (!binding) return false;
  binding->SetPaintHook(std::move(hook));
  return true;
}

void Invalidate(const Control& model) {
  if (HWND window = reinterpret_cast<HWND>(model.Handle())) InvalidateRect(window, nullptr, FALSE);
}

}  // namespace pravelo::ui
