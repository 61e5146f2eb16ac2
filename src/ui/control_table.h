// A window's controls declared once, a row each: the constructor places them, the binding
// creates them, the window's captions and the layout test read the same rows.
#pragma once

#include <cstddef>
#include <span>
#include <variant>

#include "ui/controls.h"

namespace pravelo::ui {

// How the binding sets out a control's text.
enum class TextStyle { Plain, Centred, RightAligned, Figure };

// Where a control lies on its window.
enum class Placement {
  Alone,    // over no other control
  Stacked,  // over or under the window's other stacked controls, by design
  Inside,   // within another control, which is its window
  Hidden,   // a helper the user never sees
};

// One element of an array of controls: the array's accessor and the element's place in it.
template <class F, class C>
struct Element {
  C& (*at)(F& form, std::size_t index);
  std::size_t index;
};

template <class F>
using ControlMember = std::variant<Label F::*, TextBox F::*, Button F::*, CheckBox F::*, ListBox F::*,
                                   PictureBox F::*, Element<F, Label>, Element<F, CheckBox>>;

template <class F>
struct ControlRow {
  const char* name;
  ControlMember<F> member;
  Rect rect;
  int captionId = 0;  // 0: the window's code sets the text
  TextStyle style = TextStyle::Plain;
  Placement placement = Placement::Alone;
};

template <class F, class C>
C& Resolve(F& form, C F::*member) {
  return form.*member;
}

template <class F, class C>
C& Resolve(F& form, const Element<F, C>& element) {
  return element.at(form, element.index);
}

template <class F>
Control& ControlOf(F& form, const ControlRow<F>& row) {
  return std::visit([&form](const auto& member) -> Control& { return Resolve(form, member); }, row.member);
}

template <class F>
void PlaceControls(F& form, std::span<const ControlRow<F>> rows) {
  for (const ControlRow<F>& row : rows) {
    Control& control = ControlOf(form, row);
    control.Move(row.rect);
    if (row.placement == Placement::Hidden) control.SetVisible(false);
  }
}

// Each captioned control's text, by its number in the string table.
template <class F, class Strings>
void ApplyCaptions(F& form, std::span<const ControlRow<F>> rows, Strings& strings) {
  for (const ControlRow<F>& row : rows) {
    if (row.captionId != 0) ControlOf(form, row).SetText(strings.Text(row.captionId));
  }
}

}  // namespace pravelo::ui
