// Buttons, check boxes, labels and text boxes as the system's own controls.
#pragma once

#include "ui/child_binding_win32.h"

namespace pravelo::ui {

class ButtonBinding final : public ChildBinding {
 public:
  ButtonBinding(Button& model, ChildHost& host, ChildStyle style, int id)
      : ChildBinding(model, host, style, id) {}
  void OnCommand(WORD notification) override;

 protected:
  HWND CreateControl(HWND parent, DWORD style, const RECT& bounds) override;
};

// Not an automatic check box: a click goes to the model, which toggles and sets the mark.
class CheckBoxBinding final : public ChildBinding {
 public:
  CheckBoxBinding(CheckBox& model, ChildHost& host, ChildStyle style, int id)
      : ChildBinding(model, host, style, id) {}
  void OnCommand(WORD notification) override;

 protected:
  HWND CreateControl(HWND parent, DWORD style, const RECT& bounds) override;
  void ApplyValue() override;
};

class LabelBinding final : public ChildBinding {
 public:
  LabelBinding(Label& model, ChildHost& host, ChildStyle style, int id)
      : ChildBinding(model, host, style, id) {}

 protected:
  HWND CreateControl(HWND parent, DWORD style, const RECT& bounds) override;
  void ApplyText() override;
};

class TextBoxBinding final : public ChildBinding {
 public:
  TextBoxBinding(TextBox& model, ChildHost& host, ChildStyle style, int id)
      : ChildBinding(model, host, style, id) {}
  void OnCommand(WORD notification) override;

 protected:
  HWND CreateControl(HWND parent, DWORD style, const RECT& bounds) override;
  void ApplyText() override;

 private:
  bool settingText_ = false;  // the control's change notice for our own text is no user's typing
};

// Refilled from the model whenever its items or its pick change.
class ListBoxBinding final : public ChildBinding {
 public:
  ListBoxBinding(ListBox& model, ChildHost& host, ChildStyle style, int id)
      : ChildBinding(model, host, style, id) {}
  void OnCommand(WORD notification) override;

 protected:
  HWND CreateControl(HWND parent, DWORD style, const RECT& bounds) override;
  void ApplyValue() override;
};

}  // namespace pravelo::ui
