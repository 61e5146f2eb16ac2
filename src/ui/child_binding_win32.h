// The peer of one control model: the child window that shows it. The window is created
// from the model's state whenever its form window is created, and follows every change
// the model reports.
#pragma once

#include <windows.h>

#include "ui/controls.h"
#include "ui/fonts_win32.h"

namespace pravelo::ui {

enum class TextAlign { Left, Center, Right };

struct ChildStyle {
  FontRole font = FontRole::Message;
  TextAlign align = TextAlign::Left;
  bool multiline = false;  // line breaks in the text start new lines
  bool onTop = false;      // above the siblings it overlaps
};

// What a child needs from the window it lives in.
class ChildHost {
 public:
  virtual int Dpi() const = 0;
  virtual HFONT Font(FontRole role) const = 0;
  virtual HINSTANCE Instance() const = 0;
  // Whether the top-level window is on screen; focus only moves into a shown window.
  virtual bool Showing() const = 0;

 protected:
  ~ChildHost() = default;
};

class ChildBinding : public ControlPeer {
 public:
  ChildBinding(Control& model, ChildHost& host, ChildStyle style, int id);
  ChildBinding(const ChildBinding&) = delete;
  ChildBinding& operator=(const ChildBinding&) = delete;
  // Destroys the control if it still exists and detaches the model, which must still live.
  ~ChildBinding() override;

  void Create(HWND parent);
  void DestroyControl();
  // The control went with its parent window.
  void Forget();
  // Position and font again, after the DPI changed.
  void Relayout();
  void Apply(Change change) override;
  ChildBinding* AsChildBinding() override { return this; }
  // A WM_COMMAND notification from the control.
  virtual void OnCommand(WORD /*notification*/) {}

  Control& Model() const { return model_; }
  HWND Hwnd() const { return hwnd_; }
  int Id() const { return id_; }
  const ChildStyle& Style() const { return style_; }

 protected:
  // Creates the window with the common style bits and the scaled bounds.
  virtual HWND CreateControl(HWND parent, DWORD style, const RECT& bounds) = 0;
  virtual void ApplyText();
  // The kind's own state: a check mark, a picture.
  virtual void ApplyValue() {}

  HWND CreateNamed(const wchar_t* className, DWORD exStyle, DWORD style, HWND parent, const RECT& bounds,
                   void* param = nullptr);
  ChildHost& Host() const { return host_; }

 private:
  void Place();

  Control& model_;
  ChildHost& host_;
  ChildStyle style_;
  int id_;
  HWND hwnd_ = nullptr;
};

}  // namespace pravelo::ui
